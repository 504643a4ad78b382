// metersim: the simulated meter on a pseudo-terminal, so that the program, the integration tests
// and the benchmarks can talk to it through a real serial device path.
#include "sim/engine/MeterEngine.h"
#include "sim/engine/SimControl.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

namespace {

// Output waiting for the pseudo-terminal beyond this is dropped, as a real line drops what
// nobody reads.
constexpr qsizetype kMaxBacklog = 1 << 20;

struct Pty {
    int master = -1;
    int slave = -1;
    QString path;
};

bool fail(const char* what) {
    std::fprintf(stderr, "metersim: %s: %s\n", what, std::strerror(errno));
    return false;
}

bool openPty(Pty& pty) {
    pty.master = posix_openpt(O_RDWR | O_NOCTTY);
    if (pty.master < 0)
        return fail("posix_openpt");
    if (grantpt(pty.master) != 0 || unlockpt(pty.master) != 0)
        return fail("grantpt/unlockpt");
    const char* name = ptsname(pty.master);
    if (!name)
        return fail("ptsname");
    pty.path = QString::fromLocal8Bit(name);
    // Held open for the whole run: without it the line hangs up whenever a client closes it,
    // and reads on the master side fail until the next client opens it.
    pty.slave = ::open(name, O_RDWR | O_NOCTTY);
    if (pty.slave < 0)
        return fail("open slave");
    // Raw both ways: no echo, no line editing, no CR/LF translation, no signal characters, so
    // every byte value passes unchanged.
    termios mode{};
    if (tcgetattr(pty.slave, &mode) != 0)
        return fail("tcgetattr");
    cfmakeraw(&mode);
    cfsetispeed(&mode, B9600);
    cfsetospeed(&mode, B9600);
    mode.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(pty.slave, TCSANOW, &mode) != 0)
        return fail("tcsetattr");
    const int flags = fcntl(pty.master, F_GETFL);
    if (flags < 0 || fcntl(pty.master, F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("fcntl");
    return true;
}

// Moves bytes between the master side and the engine: what the client writes goes to the
// engine with the time it was read; the engine's replies are written when they are due.
class PtyServer : public QObject {
public:
    PtyServer(MeterEngine& meter, int master)
        : m_meter(meter)
        , m_master(master)
        , m_readable(master, QSocketNotifier::Read)
        , m_writable(master, QSocketNotifier::Write) {
        m_elapsed.start();
        m_due.setSingleShot(true);
        m_due.setTimerType(Qt::PreciseTimer);
        m_writable.setEnabled(false);
        connect(&m_readable, &QSocketNotifier::activated, this, [this] { readInput(); });
        connect(&m_writable, &QSocketNotifier::activated, this, [this] { pump(); });
        connect(&m_due, &QTimer::timeout, this, [this] { pump(); });
    }

    double now() const { return static_cast<double>(m_elapsed.nsecsElapsed()) / 1e9; }

    // After a control change, so that a changed fault or pacing takes effect on what is due.
    void poke() { pump(); }

private:
    void readInput() {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_master, buffer, sizeof buffer);
            if (n > 0) {
                m_meter.receive(QByteArray(buffer, n), now());
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
        pump();
    }

    void pump() {
        m_backlog += m_meter.take(now());
        if (m_backlog.size() > kMaxBacklog)
            m_backlog = m_backlog.right(kMaxBacklog);
        while (!m_backlog.isEmpty()) {
            const ssize_t n =
                ::write(m_master, m_backlog.constData(), static_cast<size_t>(m_backlog.size()));
            if (n > 0) {
                m_backlog.remove(0, n);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            break;
        }
        m_writable.setEnabled(!m_backlog.isEmpty());
        if (const auto next = m_meter.nextArrival()) {
            const double wait = std::ceil((*next - now()) * 1000.0);
            m_due.start(static_cast<int>(std::clamp(wait, 0.0, 60000.0)));
        } else {
            m_due.stop();
        }
    }

    MeterEngine& m_meter;
    int m_master;
    QElapsedTimer m_elapsed;
    QSocketNotifier m_readable;
    QSocketNotifier m_writable;
    QTimer m_due;
    QByteArray m_backlog;
};

// Control lines from stdin; the run ends when stdin closes or on "quit".
class ControlInput : public QObject {
public:
    ControlInput(MeterEngine& meter, PtyServer& server)
        : m_meter(meter)
        , m_server(server)
        , m_notifier(STDIN_FILENO, QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this] { readLines(); });
    }

private:
    void readLines() {
        char buffer[1024];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            return;
        if (n <= 0) {
            m_notifier.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        m_pending.append(buffer, n);
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromLocal8Bit(m_pending.left(end)).trimmed();
            m_pending.remove(0, end + 1);
            if (line.isEmpty())
                continue;
            if (line == u"quit") {
                QCoreApplication::quit();
                return;
            }
            const QString error = applySimControl(m_meter, line);
            // Answered on stdout so a script can wait for its change to be in effect.
            const QString answer =
                error.isEmpty() ? QStringLiteral("ok") : QStringLiteral("error: ") + error;
            std::printf("%s\n", qPrintable(answer));
            std::fflush(stdout);
            m_server.poke();
        }
        // A line without an end that grows without bound is not a command.
        if (m_pending.size() > 4096)
            m_pending.clear();
    }

    MeterEngine& m_meter;
    PtyServer& m_server;
    QSocketNotifier m_notifier;
    QByteArray m_pending;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("metersim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves a simulated illuminance meter on a pseudo-terminal and prints its "
                       "device path as the first line of output."));
    parser.addHelpOption();
    const QCommandLineOption paced(QStringLiteral("paced"),
                                   QStringLiteral("Send reply bytes at the pace of 9600 baud."));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the drifting reading and logged data."),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption bigSet(QStringLiteral("big-set"),
                                    QStringLiteral("Add a logged set of N samples."),
                                    QStringLiteral("N"));
    const QCommandLineOption silentAfter(
        QStringLiteral("silent-after"), QStringLiteral("Stop answering S seconds after the start."),
        QStringLiteral("S"));
    const QCommandLineOption silentFor(
        QStringLiteral("silent-for"),
        QStringLiteral("Answer again after S seconds of silence (default: never)."),
        QStringLiteral("S"));
    const QCommandLineOption control(
        {QStringLiteral("control"), QStringLiteral("stdin-control")},
        QStringLiteral("Read commands from stdin, one a line (silent on|off, short on|off, "
                       "badframe on|off, trailing N, split N, late N, lux L, "
                       "range 20|200|2000|20000, "
                       "unit lux|fc, battery on|off, hold on|off, logging on|off, quit); "
                       "end when stdin closes."));
    const QCommandLineOption link(
        QStringLiteral("link"),
        QStringLiteral("Also reach the device through this symbolic link (replaced if it "
                       "exists), so a restarted simulator keeps its name."),
        QStringLiteral("PATH"));
    parser.addOptions({paced, seed, bigSet, silentAfter, silentFor, control, link});
    parser.process(app);

    bool ok = true;
    const auto number = [&](const QCommandLineOption& option, double fallback) {
        if (!parser.isSet(option))
            return fallback;
        bool valid = false;
        const double value = parser.value(option).toDouble(&valid);
        if (!valid || value < 0 || !std::isfinite(value)) {
            std::fprintf(stderr, "metersim: --%s takes a number, not \"%s\"\n",
                         qPrintable(option.names().constFirst()), qPrintable(parser.value(option)));
            ok = false;
        }
        return value;
    };
    const double seedValue = number(seed, 1);
    const double bigSetSamples = number(bigSet, 0);
    const double silentAt = number(silentAfter, -1);
    const double silentLength = number(silentFor, -1);
    if (!ok)
        return 2;

    MeterEngine meter = MeterEngine::demo(static_cast<quint32>(seedValue));
    meter.setPaced(parser.isSet(paced));
    if (bigSetSamples > 0)
        meter.addSyntheticSet(static_cast<int>(std::min(bigSetSamples, 65535.0)), 1, 0x04);

    Pty pty;
    if (!openPty(pty))
        return 1;
    if (parser.isSet(link)) {
        const QString linkPath = parser.value(link);
        QFile::remove(linkPath);
        if (!QFile::link(pty.path, linkPath)) {
            std::fprintf(stderr, "metersim: cannot link %s\n", qPrintable(linkPath));
            return 1;
        }
    }
    PtyServer server(meter, pty.master);
    // The meter's clock starts at the PC's time, as after a clock set.
    meter.setClock(QDateTime::currentDateTime(), server.now());

    if (silentAt >= 0) {
        QTimer::singleShot(static_cast<int>(silentAt * 1000), &server, [&] {
            meter.setSilent(true);
            if (silentLength >= 0)
                QTimer::singleShot(static_cast<int>(silentLength * 1000), &server,
                                   [&] { meter.setSilent(false); });
        });
    }
    std::unique_ptr<ControlInput> controlInput;
    if (parser.isSet(control))
        controlInput = std::make_unique<ControlInput>(meter, server);

    std::printf("%s\n", qPrintable(pty.path));
    std::fflush(stdout);
    const int status = app.exec();
    ::close(pty.slave);
    ::close(pty.master);
    return status;
}
