#include "common/AppContext.h"
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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("luxlog"));

    SharedState state;
    RealClock clock;
    QtDialogs dialogs;
    QtPrinter printer(dialogs);
    AppContext context{state, clock, dialogs, printer};

    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();

    std::unique_ptr<PanelWindow> panel;
    PortWindow port(state, devices, stablePorts());
    QObject::connect(&port, &PortWindow::portChosen, [&] {
        panel = std::make_unique<PanelWindow>(
            context, [](const AppContext& c) { return openerForChoice(c.state, c.clock); });
        QObject::connect(panel.get(), &PanelWindow::programEnded, [&] {
            clock.requestStop();
            QApplication::closeAllWindows();
            QApplication::quit();
        });
        panel->show();
        panel->Form_Load();
    });
    port.show();
    const int code = QApplication::exec();
    return code;
}
