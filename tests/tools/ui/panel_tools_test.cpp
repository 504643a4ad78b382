#include "panel/ui/PanelWindow.h"
#include "tools/SimulatedMeter.h"
#include "tools/ui/AlarmWindow.h"
#include "tools/ui/LightWindow.h"
#include "tools/ui/SetupWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// The main window on the simulated meter, its toolbar opening the tools.
struct PanelTools : ::testing::Test, SimulatedMeter {
    PanelWindow::PortFactory factory() {
        return [this](const AppContext&) { return std::make_unique<TracingPort>(demo); };
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
