#include "common/ui/WindowOwner.h"
#include "support/SimulatedMeter.h"
#include "tools/ui/AlarmWindow.h"
#include "tools/ui/LightWindow.h"
#include "tools/ui/OpenTools.h"
#include "tools/ui/SetupWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QRect kPanelFrame(10, 20, 350, 300);

void type(QWidget* box, const QString& keys) {
    for (const QChar c : keys) {
        int key = c.unicode();
        if (c == u'\b')
            key = Qt::Key_Backspace;
        else if (c == u'\r')
            key = Qt::Key_Return;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

void click(QWidget* widget) {
    const QPointF at(widget->rect().center());
    const QPointF global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

struct ToolsWindows : ::testing::Test, SimulatedMeter {
    ToolsWindows() {
        context.panelFrame = [] { return kPanelFrame; };
        context.pollInterval = [] { return 50; };
    }
    ~ToolsWindows() override {
        owner.closeAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    template <typename T = QLabel> T* control(QWidget* window, const char* name) {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    WindowOwner owner;
};

} // namespace

TEST_F(ToolsWindows, LightShowsCandelaFromTheReadingAndTheTypedDistance) {
    context.pollInterval = [] { return 120; }; // it refreshes as often as the poll asks
    QPointer<LightWindow> light = openLight(context, owner);
    ASSERT_TRUE(light);
    EXPECT_TRUE(state.LightOn);
    EXPECT_EQ(light->windowTitle(), "Luminous Intensity - Candela ( cd )");
    EXPECT_EQ(light->frameGeometry().topLeft(), QPoint(10, 320));
    EXPECT_TRUE(light->timer1().isActive());
    EXPECT_EQ(light->timer1().interval(), 120);
    for (const char* name : {"LblMsg1", "LblMsg2", "Lbl", "LblMul", "Lblequ", "cd", "Shape1"})
        EXPECT_TRUE(light->findChild<QWidget*>(name)) << name;
    EXPECT_FALSE(openLight(context, owner)); // a second press while open does nothing

    auto* distance = control<QLineEdit>(light, "TxtDistance");
    type(distance, "2a-x.5.\b\r");
    EXPECT_EQ(distance->text(), "2.5");
    state.Unit = "Fc";
    state.Value = Value::fromText("10.5");
    light->Timer1_Timer();
    EXPECT_EQ(control(light, "Lblcd")->text(), " 65.625");
    EXPECT_EQ(control(light, "LblLight")->text(), "10.5");
    EXPECT_EQ(control(light, "LblUnit")->text(), "Fc");
    EXPECT_EQ(control(light, "LblMF")->text(), "F");

    distance->setText("1e300"); // pasted
    light->Timer1_Timer();
    EXPECT_EQ(distance->text(), "");
    EXPECT_EQ(control(light, "Lblcd")->text(), "0");

    light->close();
    EXPECT_FALSE(state.LightOn);
    EXPECT_FALSE(light->timer1().isActive());
}

TEST_F(ToolsWindows, LightTimerIsHeldOffWithTheOtherTimers) {
    QPointer<LightWindow> light = openLight(context, owner);
    ASSERT_TRUE(light);
    {
        const ScopedPause plot(context.timers);
        EXPECT_FALSE(light->timer1().isActive());
    }
    EXPECT_TRUE(light->timer1().isActive());
    light->close();
    { const ScopedPause plot(context.timers); }
    EXPECT_FALSE(light->timer1().isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(light);
    const ScopedPause plot(context.timers); // the deleted window left no switch behind
}

TEST_F(ToolsWindows, SetupIsRefusedWhileTheMeterLogs) {
    state.MeterRec = true;
    EXPECT_FALSE(openSetup(context, owner));
    ASSERT_EQ(dialogs.messages(), QStringList({"Recording mode, stop record then try again !"}));
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(poll.isEmpty());
}

TEST_F(ToolsWindows, SetupReadsAndSetsTheMeterClockWhileThePollWaits) {
    engine.setClock(QDateTime(QDate(2011, 3, 4), QTime(5, 6, 7)), clock.monotonic());
    QPointer<SetupWindow> setup = openSetup(context, owner);
    ASSERT_TRUE(setup);
    EXPECT_EQ(setup->windowTitle(), "Setup");
    EXPECT_EQ(setup->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(setup->frameGeometry().topLeft(), QPoint(10 + (350 - setup->width()) / 2, 20 + 67));
    EXPECT_TRUE(setup->timer1().isActive());
    EXPECT_TRUE(control<QWidget>(setup, "FrameTime"));
    EXPECT_EQ(poll, QStringList({"off"}));
    auto* meterTime = control(setup, "LblMeterTime");
    auto* pcTime = control(setup, "LblPCTime");

    setup->Timer1_Timer();
    EXPECT_EQ(meterTime->text(), "Meter Time");
    EXPECT_EQ(pcTime->text(), "PC System Time");
    EXPECT_TRUE(port.writes.isEmpty());

    click(meterTime);
    click(pcTime);
    setup->Timer1_Timer();
    EXPECT_EQ(meterTime->text(), "03/04/11 05:06:07");
    EXPECT_EQ(pcTime->text(), "06/22/10 14:05:10");

    click(control<QPushButton>(setup, "CmdSetTime"));
    EXPECT_EQ(port.writes.mid(port.writes.size() - 2), QStringList({"44", "10 06 22 14 05 10"}));

    // Shown, the meter's clock is read about three times a second: three more reads take
    // between two and three of its ticks.
    const auto reads = [&] { return port.writes.count(QStringLiteral("43")); };
    const qsizetype readsBefore = reads();
    QElapsedTimer pace;
    pace.start();
    while (reads() < readsBefore + 3 && pace.elapsed() < 15000) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    EXPECT_GE(reads(), readsBefore + 3);
    EXPECT_GE(pace.elapsed(), 650);
    EXPECT_LE(pace.elapsed(), 4000);

    click(control<QPushButton>(setup, "CmdExit"));
    EXPECT_FALSE(setup->isVisible());
    EXPECT_FALSE(setup->timer1().isActive());
    EXPECT_EQ(poll, QStringList({"off", "on"}));
}

TEST_F(ToolsWindows, SetupClosedDuringAReadEndsItAndStartsThePoll) {
    QPointer<SetupWindow> setup = openSetup(context, owner);
    ASSERT_TRUE(setup);
    setup->LblMeterTime_Click();
    engine.setSilent(true);
    clock.duringWait = [&] { setup->close(); };
    setup->Timer1_Timer();
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    EXPECT_TRUE(dialogs.shown.empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(setup);
}

TEST_F(ToolsWindows, AlarmShowsTheSettingsOfTheLiveUnit) {
    state.AlarmHighLux = 900;
    state.AlarmLowLux = 90;
    state.AlarmUnit = "Fc";
    QPointer<AlarmWindow> alarm = openAlarm(context, owner);
    ASSERT_TRUE(alarm);
    EXPECT_EQ(state.AlarmUnit, "LUX");
    EXPECT_EQ(alarm->windowTitle(), "Alarm");
    EXPECT_EQ(alarm->frameGeometry().topLeft(), QPoint(360, 20));
    for (const char* name : {"FUnit", "PTH", "PTL", "CmdDisable"})
        EXPECT_TRUE(control<QWidget>(alarm, name));
    auto* lux = control<QRadioButton>(alarm, "OptLUX");
    auto* high = control<QLineEdit>(alarm, "TTH");
    EXPECT_TRUE(lux->isChecked());
    EXPECT_EQ(high->text(), "900");
    EXPECT_EQ(control<QLineEdit>(alarm, "TTL")->text(), "90");

    // Pressed again while the window is open (the meter now in Fc): it shows that unit.
    state.Unit = "Fc";
    EXPECT_EQ(openAlarm(context, owner), alarm);
    EXPECT_TRUE(control<QRadioButton>(alarm, "OptFc")->isChecked());
    EXPECT_EQ(high->text(), "20000");

    // An unknown unit (no reading yet) keeps the initial layout.
    alarm->close();
    state.Unit.clear();
    alarm = openAlarm(context, owner);
    EXPECT_TRUE(control<QRadioButton>(alarm, "OptLUX")->isChecked());
    EXPECT_EQ(control<QLineEdit>(alarm, "TTH")->text(), "20000");
    EXPECT_EQ(control<QLineEdit>(alarm, "TTL")->text(), "0");
}

TEST_F(ToolsWindows, AlarmEnableAndDisable) {
    QPointer<AlarmWindow> alarm = openAlarm(context, owner);
    ASSERT_TRUE(alarm);
    auto* high = control<QLineEdit>(alarm, "TTH");
    auto* low = control<QLineEdit>(alarm, "TTL");
    auto* enable = control<QPushButton>(alarm, "CmdOK");
    high->clear();
    type(high, "1a-0e0");
    EXPECT_EQ(high->text(), "100");
    control<QRadioButton>(alarm, "OptFc")->click();
    EXPECT_EQ(state.AlarmUnit, "Fc");

    low->setText(".");
    click(enable);
    EXPECT_EQ(dialogs.messages(), QStringList({"Invalid settings, try again!"}));
    EXPECT_TRUE(alarm->isVisible());
    EXPECT_TRUE(enable->isEnabled());

    // While the meter switches its unit, the unit and "Enable" cannot be clicked.
    bool choicesDuringSwitch = true;
    clock.duringWait = [&] { choicesDuringSwitch = enable->isEnabled(); };
    low->setText("10");
    click(enable);
    EXPECT_FALSE(choicesDuringSwitch);
    EXPECT_TRUE(state.AlarmOn);
    EXPECT_EQ(state.AlarmHighFc, 100);
    ASSERT_FALSE(port.writes.isEmpty());
    EXPECT_EQ(port.writes.last(), "46 08");
    EXPECT_FALSE(alarm->isVisible());

    clock.duringWait = nullptr;
    alarm = openAlarm(context, owner);
    click(control<QPushButton>(alarm, "CmdDisable"));
    EXPECT_FALSE(state.AlarmOn);
    EXPECT_FALSE(alarm->isVisible());
}

// The unit option counts however it was chosen: a click, the keyboard (the checked state
// changes without a click) or a screen reader's toggle action.
TEST_F(ToolsWindows, AlarmUnitFollowsTheOptionHoweverItIsChosen) {
    const struct {
        const char* how;
        std::function<void(QRadioButton*)> choose;
    } ways[] = {
        {"mouse click", [](QRadioButton* option) { option->click(); }},
        {"keyboard", [](QRadioButton* option) { option->setChecked(true); }},
        {"screen reader",
         [](QRadioButton* option) {
             QAccessibleInterface* face = QAccessible::queryAccessibleInterface(option);
             ASSERT_TRUE(face && face->actionInterface());
             const QStringList actions = face->actionInterface()->actionNames();
             const QString action = actions.contains(QAccessibleActionInterface::toggleAction())
                                        ? QAccessibleActionInterface::toggleAction()
                                        : QAccessibleActionInterface::pressAction();
             face->actionInterface()->doAction(action);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        state.AlarmUnit = "LUX";
        QPointer<AlarmWindow> alarm = openAlarm(context, owner);
        ASSERT_TRUE(alarm);
        way.choose(control<QRadioButton>(alarm, "OptFc"));
        EXPECT_TRUE(control<QRadioButton>(alarm, "OptFc")->isChecked());
        EXPECT_EQ(state.AlarmUnit, "Fc");
        way.choose(control<QRadioButton>(alarm, "OptLUX"));
        EXPECT_EQ(state.AlarmUnit, "LUX");
        alarm->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
