// The alarm marks as the screen shows them, sampled the way a camera would, while only the main
// window is open: the blink must reach the screen, not only the labels' state.
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "integration/MeterSim.h"
#include "link/RealClock.h"
#include "link/SerialPort.h"
#include "panel/PortOpener.h"
#include "panel/ui/PanelWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Red pixels of the mark's area in what the platform shows of the window.
bool markOnScreen(PanelWindow& window, const QLabel& mark) {
    const QImage screen = window.screen()->grabWindow(window.winId()).toImage();
    const QRect area = mark.geometry() & screen.rect();
    int red = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            red += screen.pixelColor(x, y) == QColor(255, 0, 0);
    return red > 100;
}

} // namespace

TEST(AlarmOnScreen, OverAndUnderBlinkAtThePollsPace) {
    for (const bool over : {true, false}) {
        MeterSim metersim({QStringLiteral("--control")});
        metersim.control("lux 1230");
        RealClock clock;
        SharedState state;
        state.ComDevice = metersim.device();
        ScriptedDialogs dialogs;
        ScriptedPrinter printer;
        AppContext context{state, clock, dialogs, printer};
        PanelWindow window(context,
                           [](const AppContext& c) { return openerForChoice(c.state, c.clock); });
        window.show();
        ASSERT_TRUE(window.Form_Load());
        state.AlarmUnit = QStringLiteral("LUX");
        state.AlarmHighLux = over ? 1000 : 20000;
        state.AlarmLowLux = over ? 0 : 2000;
        state.AlarmOn = true;
        const QLabel* mark = window.findChild<QLabel*>(over ? "LblOver" : "LblUnder");
        ASSERT_TRUE(mark);
        runFor(1000);

        // Sampled at 20 Hz for 4 s: each state lasts a poll (about 0.2 s), so about 20 changes.
        int changes = 0;
        bool last = markOnScreen(window, *mark);
        for (int i = 0; i < 80; ++i) {
            runFor(50);
            const bool now = markOnScreen(window, *mark);
            changes += now != last;
            last = now;
        }
        EXPECT_GE(changes, 10) << (over ? "OVER" : "UNDER");
        window.close();
    }
}
