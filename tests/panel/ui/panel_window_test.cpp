#include "common/AppContext.h"
#include "common/SharedState.h"
#include "panel/ui/PanelWindow.h"
#include "panel/ui/PortWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPort.h"
#include "support/ScriptedPrinter.h"
#include "support/TestContext.h"
#include "support/VirtualClock.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

struct PanelFixture : ::testing::Test, TestContext {
    PanelWindow::PortFactory scripted() {
        return [this](const AppContext&) {
            auto p = std::make_unique<ScriptedPort>(clock);
            port = p.get();
            port->failOpen = failOpen;
            port->openError = openError;
            port->defaultReply = fromHexText("02 20 01 23 03");
            return p;
        };
    }
    QLabel* label(PanelWindow& w, const char* name) {
        return w.findChild<QLabel*>(QString::fromLatin1(name));
    }

    ScriptedPort* port = nullptr;
    bool failOpen = false;
    QString openError;
};

} // namespace

TEST(PortWindow, ChoicesSetTheComPort) {
    const struct {
        const char* text;
        qint16 com;
        const char* device;
    } cases[] = {{"COM4", 4, ""}, {"Auto", 1, ""}, {"com4", 0, ""}, {"Demo", 0, "Demo"}};
    for (const auto& c : cases) {
        SharedState s;
        PortWindow w(s, {});
        int chosen = 0;
        QObject::connect(&w, &PortWindow::portChosen, [&] { ++chosen; });
        auto* combo = w.findChild<QComboBox*>("TxtCOM");
        ASSERT_TRUE(combo);
        EXPECT_EQ(combo->currentText(), "COM1");
        EXPECT_EQ(combo->count(), 9);
        combo->setEditText(QString::fromLatin1(c.text));
        w.findChild<QPushButton*>("CmdOK")->click();
        EXPECT_EQ(chosen, 1);
        EXPECT_EQ(s.ComPort, c.com) << c.text;
        EXPECT_EQ(s.ComDevice, QString::fromLatin1(c.device));
    }
    SharedState s;
    PortWindow w(s, {});
    w.findChild<QPushButton*>("Port2")->click();
    EXPECT_EQ(s.ComPort, 2);
}

// The port that opened last time is offered first and filled in; OK opens it again, and the
// window says what was chosen so that the next run offers it.
TEST(PortWindow, LastPortIsOfferedFirstAndFilledIn) {
    const struct {
        const char* last;
        int count;
        qint16 com;
        const char* device;
    } cases[] = {
        {"/dev/pts/5", 11, 0, "/dev/pts/5"},
        {"COM3", 10, 3, ""},
        {"Maker_Cable_A1", 10, 0, "/dev/serial/by-id/usb-Maker_Cable_A1-if00-port0"},
        {"", 10, 1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.last);
        SharedState s;
        PortWindow w(s, {}, {{"Maker_Cable_A1", "/dev/serial/by-id/usb-Maker_Cable_A1-if00-port0"}},
                     QString::fromLatin1(c.last));
        auto* combo = w.findChild<QComboBox*>("TxtCOM");
        EXPECT_EQ(combo->count(), c.count);
        const QString offered = *c.last ? QString::fromLatin1(c.last) : QStringLiteral("COM1");
        EXPECT_EQ(combo->itemText(0), offered);
        EXPECT_EQ(combo->currentText(), offered);
        w.findChild<QPushButton*>("CmdOK")->click();
        EXPECT_EQ(s.ComPort, c.com);
        EXPECT_EQ(s.ComDevice, QString::fromLatin1(c.device));
        EXPECT_EQ(w.chosenText(), offered);
    }
}

TEST(PortWindow, StableNamesShowShortAndOpenTheirPath) {
    SharedState s;
    const QString path = QStringLiteral("/dev/serial/by-id/usb-Maker_Cable_A1-if00-port0");
    PortWindow w(s, {"/dev/ttyUSB0"}, {{"Maker_Cable_A1", path}});
    auto* combo = w.findChild<QComboBox*>("TxtCOM");
    ASSERT_EQ(combo->count(), 11);
    EXPECT_EQ(combo->itemText(8), "Maker_Cable_A1");
    combo->setCurrentIndex(8);
    w.findChild<QPushButton*>("CmdOK")->click();
    EXPECT_EQ(s.ComPort, 0);
    EXPECT_EQ(s.ComDevice, path);
}

TEST_F(PanelFixture, LongAdapterNameIsShortenedOnThePortLabel) {
    state.ComDevice =
        QStringLiteral("/dev/serial/by-id/usb-Serial_Bridge_USB_to_UART_Bridge_Controller_"
                       "0001-if00-port0");
    PanelWindow w(context, scripted());
    ASSERT_TRUE(w.Form_Load());
    QLabel* com = label(w, "LblCOM");
    EXPECT_TRUE(com->text().endsWith("0001"));
    EXPECT_LE(com->width(), 200);
    EXPECT_GE(com->x(), 0);
    EXPECT_EQ(com->toolTip(), "Serial_Bridge_USB_to_UART_Bridge_Controller_0001");
}

TEST_F(PanelFixture, LoadFailureShowsTheMessageAndEndsTheProgram) {
    failOpen = true;
    openError = "Permission denied on /dev/ttyS0";
    PanelWindow w(context, scripted());
    int ended = 0;
    QObject::connect(&w, &PanelWindow::programEnded, [&] { ++ended; });
    EXPECT_FALSE(w.Form_Load());
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "No device found, try again!");
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(dialogs.shown[0].detail.contains(openError))
        << dialogs.shown[0].detail.toStdString();
    EXPECT_EQ(ended, 1);
}

TEST_F(PanelFixture, UnmatchedPortNameFailsToLoad) {
    PanelWindow w(context, [](const AppContext&) { return std::unique_ptr<SerialPort>(); });
    EXPECT_FALSE(w.Form_Load());
    EXPECT_EQ(dialogs.messages(), QStringList({"No device found, try again!"}));
}

TEST_F(PanelFixture, PollTickShowsTheReading) {
    state.ComPort = 3;
    PanelWindow w(context, scripted());
    ASSERT_TRUE(w.Form_Load());
    EXPECT_TRUE(w.timer1().isActive());
    EXPECT_TRUE(w.timer2().isActive());
    EXPECT_EQ(w.pos(), QPoint(0, 0));
    EXPECT_EQ(label(w, "LblCOM")->text(), "COM3");
    EXPECT_EQ(state.SamplingTime, 2.0f);
    w.Timer1_Timer();
    EXPECT_EQ(label(w, "LblValue")->text(), "123");
    EXPECT_EQ(label(w, "LblRange")->text(), "2000");
    EXPECT_FALSE(label(w, "LblLUX")->isHidden());
    EXPECT_TRUE(label(w, "LblFc")->isHidden());
    EXPECT_EQ(port->writtenHex(), QStringList({"20"}));
}

TEST_F(PanelFixture, SilentMeterShowsNoComAndComesBack) {
    state.ComPort = 2;
    PanelWindow w(context, scripted());
    ASSERT_TRUE(w.Form_Load());
    port->defaultReply.clear();
    QStringList seen;
    int requests = 0;
    const auto colour = [&] { return label(w, "LblValue")->palette().color(QPalette::WindowText); };
    QList<QColor> colours;
    port->onOutput = [&](const QByteArray&) {
        seen << label(w, "LblCOM")->text();
        colours << colour();
        if (++requests == 12)
            port->deliver(fromHexText("02 20 01 23 03"));
    };
    w.Timer1_Timer();
    EXPECT_TRUE(seen.contains("No COM"));
    EXPECT_EQ(label(w, "LblCOM")->text(), "COM2");
    // The reading shown while the meter is gone is grey, its text unchanged; the next frame
    // makes it blue again.
    ASSERT_FALSE(colours.isEmpty());
    EXPECT_EQ(colours.first(), QColor(0, 0, 255));
    EXPECT_EQ(colours.last(), QColor(128, 128, 128));
    EXPECT_EQ(colour(), QColor(128, 128, 128)); // the meter answers, but no frame yet
    port->defaultReply = fromHexText("02 20 01 23 03");
    port->onOutput = nullptr;
    w.Timer1_Timer();
    EXPECT_EQ(colour(), QColor(0, 0, 255));
    EXPECT_EQ(label(w, "LblValue")->text(), "123");
}

TEST_F(PanelFixture, TickThatComesDueDuringItsOwnWaitIsDropped) {
    PanelWindow w(context, scripted());
    ASSERT_TRUE(w.Form_Load());
    clock.duringWait = [&] { w.Timer1_Timer(); };
    w.Timer1_Timer();
    EXPECT_EQ(port->writes.size(), 1u);
}

TEST_F(PanelFixture, PortLabelClickTogglesTheVersionCaption) {
    PanelWindow w(context, scripted());
    EXPECT_EQ(w.windowTitle(), "Panel     V7.1");
    w.LblCOM_Click();
    EXPECT_EQ(w.windowTitle(), "Panel     V7.1  100622");
    w.LblCOM_Click();
    EXPECT_EQ(w.windowTitle(), "Panel     V7.1");
}

TEST_F(PanelFixture, ToolbarHasTwelveButtonsInOrder) {
    PanelWindow w(context, scripted());
    auto* bar = w.findChild<QToolBar*>("Toolbar1");
    ASSERT_TRUE(bar);
    QStringList keys, tips;
    for (QAction* a : bar->actions()) {
        keys << a->objectName();
        tips << a->toolTip();
    }
    ASSERT_EQ(keys, QStringList({"Save", "Open", "List", "Graph", "AVG", "PC", "Memory", "Stop",
                                 "Save1", "Light", "TimeSet", "Alarm"}));
    EXPECT_EQ(tips[0], "Save As (Ctrl+S)");
    EXPECT_EQ(tips[6], "Datalogger (Ctrl+M)");
    EXPECT_EQ(tips[10], "Set Meter Time to System Time");
    // The text, which screen readers read as the button's name, goes without the key.
    EXPECT_EQ(bar->actions()[6]->text(), "Datalogger");
}

// The window's width is fixed: a button that does not fit goes into the toolbar's overflow menu,
// out of sight.
TEST_F(PanelFixture, EveryToolbarButtonShowsWithinTheWindowWidth) {
    PanelWindow w(context, scripted());
    w.show();
    auto* bar = w.findChild<QToolBar*>("Toolbar1");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->width(), w.width());
    for (QAction* a : bar->actions()) {
        QWidget* button = bar->widgetForAction(a);
        ASSERT_TRUE(button) << a->objectName().toStdString();
        EXPECT_TRUE(button->isVisible()) << a->objectName().toStdString();
        EXPECT_LE(button->geometry().right(), bar->width() - 1) << a->objectName().toStdString();
    }
    auto* overflow = bar->findChild<QToolButton*>("qt_toolbar_ext_button");
    EXPECT_TRUE(!overflow || !overflow->isVisible());
}

TEST_F(PanelFixture, ClosingDuringAPollEndsItCleanly) {
    PanelWindow w(context, scripted());
    ASSERT_TRUE(w.Form_Load());
    int ended = 0;
    QObject::connect(&w, &PanelWindow::programEnded, [&] {
        ++ended;
        clock.requestStop();
    });
    clock.duringWait = [&] { w.close(); };
    w.Timer1_Timer();
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(port->isOpen());
    EXPECT_FALSE(w.timer1().isActive());
    EXPECT_FALSE(w.timer2().isActive());
}

TEST_F(PanelFixture, PollsFollowEachOtherUntilAnExchangeSwitchesThePollOff) {
    PanelWindow w(context, scripted());
    ASSERT_TRUE(w.Form_Load());
    w.Timer1_Timer();
    QCoreApplication::processEvents(); // the tick that came due meanwhile runs at once
    EXPECT_EQ(port->writes.size(), 2u);
    {
        const ScopedPause pause(context.poll);
        QCoreApplication::processEvents();
        EXPECT_EQ(port->writes.size(), 2u);
        EXPECT_FALSE(w.timer1().isActive());
    }
    EXPECT_TRUE(w.timer1().isActive());
}
