#include "panel/ui/PanelWindow.h"
#include "support/SimulatedMeter.h"
#include "tools/ui/AlarmWindow.h"
#include "tools/ui/LightWindow.h"
#include "tools/ui/SetupWindow.h"
#include "tools/ui/StatisticsWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The main window on the simulated meter, its toolbar opening the tools.
struct PanelTools : ::testing::Test, SimulatedMeter {
    PanelWindow::PortFactory factory() {
        return [this](const AppContext&) { return std::make_unique<ForwardingPort>(demo); };
    }
    QLabel* label(const char* name) { return panel.findChild<QLabel*>(QString::fromLatin1(name)); }

    PanelWindow panel{context, factory()};
};

} // namespace

TEST_F(PanelTools, EnabledAlarmBlinksOverOnTheMainWindow) {
    ASSERT_TRUE(panel.Form_Load());
    panel.Timer1_Timer();
    ASSERT_EQ(state.Unit, "LUX");
    EXPECT_TRUE(label("LblOver")->isHidden());

    panel.Toolbar1_ButtonClick("Alarm");
    auto* alarm = panel.windows().open<AlarmWindow>("Alarm");
    ASSERT_TRUE(alarm);
    alarm->findChild<QLineEdit*>("TTH")->setText("200");
    alarm->findChild<QPushButton*>("CmdOK")->click();
    EXPECT_TRUE(state.AlarmOn);
    EXPECT_TRUE(panel.timer1().isActive());

    QStringList over;
    for (int i = 0; i < 3; ++i) {
        panel.Timer1_Timer();
        over << (label("LblOver")->isHidden() ? "hidden" : "shown");
    }
    EXPECT_EQ(over, QStringList({"shown", "hidden", "shown"}));
}

TEST_F(PanelTools, TimeSetStopsThePollUntilTheClockWindowCloses) {
    ASSERT_TRUE(panel.Form_Load());
    EXPECT_TRUE(panel.timer1().isActive());
    panel.Toolbar1_ButtonClick("TimeSet");
    auto* setup = panel.windows().open<SetupWindow>("Setup");
    ASSERT_TRUE(setup);
    EXPECT_FALSE(panel.timer1().isActive());
    setup->findChild<QPushButton*>("CmdExit")->click();
    EXPECT_TRUE(panel.timer1().isActive());
}

TEST_F(PanelTools, LightFollowsThePollAndClosesWithThePanel) {
    ASSERT_TRUE(panel.Form_Load());
    panel.Toolbar1_ButtonClick("Light");
    QPointer<LightWindow> light = panel.windows().open<LightWindow>("Light");
    ASSERT_TRUE(light);
    EXPECT_TRUE(state.LightOn);
    EXPECT_EQ(light->timer1().interval(), panel.timer1().interval());
    panel.Toolbar1_ButtonClick("Light");
    EXPECT_EQ(panel.windows().open<LightWindow>("Light"), light.data());
    panel.close();
    EXPECT_FALSE(state.LightOn);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(light);
}

TEST_F(PanelTools, StatisticsFollowThePollAndRestartOnARangeChange) {
    ASSERT_TRUE(panel.Form_Load());
    engine.setRange(2000);
    engine.setIlluminance(300);
    panel.Toolbar1_ButtonClick("AVG");
    QPointer<StatisticsWindow> stats = panel.windows().open<StatisticsWindow>("Statistics");
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->timer1().interval(), panel.timer1().interval());
    auto text = [&](const char* name) {
        return stats->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    auto pollAndRefresh = [&] {
        panel.Timer1_Timer();
        stats->Timer1_Timer();
        // A refresh without a new frame counts nothing.
        stats->Timer1_Timer();
    };

    pollAndRefresh();
    engine.setOverload(true);
    pollAndRefresh();
    engine.setOverload(false);
    engine.setIlluminance(310);
    pollAndRefresh();
    EXPECT_EQ(text("LblMax"), "310 LUX");
    EXPECT_EQ(text("LblMin"), "300 LUX");
    EXPECT_EQ(text("LblAvg"), "305.0 LUX");
    EXPECT_EQ(text("LblCount"), "2");
    EXPECT_EQ(text("LblOL"), "1");
    EXPECT_EQ(text("LblNote"), "");

    engine.setRange(200);
    engine.setIlluminance(150);
    pollAndRefresh();
    EXPECT_EQ(text("LblNote"), "Range changed to 200: started again");
    EXPECT_EQ(text("LblCount"), "1");
    EXPECT_EQ(text("LblMax"), "150.0 LUX");

    // A second click brings the open window forward with its statistics.
    panel.Toolbar1_ButtonClick("AVG");
    EXPECT_EQ(panel.windows().open<StatisticsWindow>("Statistics"), stats.data());
    EXPECT_EQ(text("LblCount"), "1");

    stats->findChild<QPushButton*>("CmdReset")->click();
    EXPECT_EQ(text("LblCount"), "0");
    EXPECT_EQ(text("LblMax"), "");
    EXPECT_EQ(text("LblNote"), "");
    EXPECT_EQ(text("LblTime"), "0:00:00");

    {
        ScopedPause plotting(context.timers);
        EXPECT_FALSE(stats->timer1().isActive());
    }
    EXPECT_TRUE(stats->timer1().isActive());
    panel.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(stats);
}
