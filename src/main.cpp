#include "common/AppContext.h"
#include "common/Settings.h"
#include "common/SharedState.h"
#include "common/ui/QtDialogs.h"
#include "common/ui/QtPrinter.h"
#include "link/PortNames.h"
#include "link/RealClock.h"
#include "link/SerialPort.h"
#include "panel/PortOpener.h"
#include "panel/ui/PanelWindow.h"
#include "panel/ui/PortWindow.h"

#include <QApplication>
#include <QSerialPortInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("luxlog"));

    Settings settings(Settings::defaultPath(), [](const QString& reason) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
    });
    if (QApplication::arguments().contains(QStringLiteral("--reset-settings")))
        settings.clear();

    SharedState state;
    RealClock clock;
    QtDialogs dialogs(&settings);
    QtPrinter printer(dialogs);
    AppContext context{state, clock, dialogs, printer};
    context.settings = &settings;

    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();

    std::unique_ptr<PanelWindow> panel;
    PortWindow port(state, devices, stablePorts(),
                    settings.value(SettingKeys::kLastPort).toString());
    QObject::connect(&port, &PortWindow::portChosen, [&] {
        panel = std::make_unique<PanelWindow>(
            context, [](const AppContext& c) { return openerForChoice(c.state, c.clock); });
        QObject::connect(panel.get(), &PanelWindow::programEnded, [&] {
            clock.requestStop();
            QApplication::closeAllWindows();
            QApplication::quit();
        });
        panel->show();
        // The port offered first next time is the one that opened.
        if (panel->Form_Load())
            settings.setValue(SettingKeys::kLastPort, port.chosenText());
    });
    port.show();
    const int code = QApplication::exec();
    return code;
}
