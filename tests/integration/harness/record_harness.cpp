// Runs the main window on a serial device and records into a file, as a user would after
// pressing "Save", and reports every record count shown. The crash test kills it mid-run. With a
// third argument, files may grow to that many bytes only (a disk that fills up); when recording
// stops the harness prints "stopped:" and the messages shown, and ends.
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/RealClock.h"
#include "link/SystemSerialPort.h"
#include "panel/ui/PanelWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: record_harness DEVICE FILE [MAX-FILE-BYTES]\n");
        return 2;
    }
#ifdef Q_OS_UNIX
    if (argc == 4) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t bytes = std::strtoull(argv[3], nullptr, 10);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
#endif
    SharedState state;
    state.ComDevice = QString::fromLocal8Bit(argv[1]);
    RealClock clock;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer};
    PanelWindow panel(context, [](const AppContext& c) {
        return std::make_unique<SystemSerialPort>(c.state.ComDevice);
    });
    if (!panel.Form_Load())
        return 1;
    // A user presses "Save" once the reading shows.
    while (state.Range == std::nullopt)
        clock.WaitSeconds(0.1);
    dialogs.inputAnswers = {QStringLiteral("1")};
    panel.Toolbar1_ButtonClick(QStringLiteral("PC"));
    dialogs.saveAnswers = {QString::fromLocal8Bit(argv[2])};
    panel.Toolbar1_ButtonClick(QStringLiteral("Save"));
    if (!state.Recording) {
        std::fprintf(stderr, "recording did not start: %s\n",
                     qPrintable(dialogs.messages().join(u'|')));
        return 1;
    }
    QString shown;
    QTimer watch;
    int ticksSinceStop = 0;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!state.Recording) {
            // The window shows why a recording ended once the tick that ended it has returned,
            // so give the message a moment to arrive.
            if (dialogs.messages().isEmpty() && ++ticksSinceStop < 100)
                return;
            std::printf("stopped: %s\n", qPrintable(dialogs.messages().join(u'|')));
            std::fflush(stdout);
            QApplication::exit(0);
            return;
        }
        const QString count = panel.findChild<QLabel*>(QStringLiteral("LblCount"))->text();
        if (count != shown && !count.isEmpty()) {
            shown = count;
            std::printf("%s\n", qPrintable(count));
            std::fflush(stdout);
        }
    });
    watch.start(20);
    return QApplication::exec();
}
