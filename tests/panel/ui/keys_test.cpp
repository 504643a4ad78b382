#include "charts/ui/RealTimeGraph.h"
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "panel/ui/HelpWindow.h"
#include "panel/ui/PanelWindow.h"
#include "records/ui/RealTimeList.h"
#include "support/SimulatedMeter.h"
#include "support/WindowLookup.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Presses a key in a window as a user does: shortcuts answer only in the active window, so the
// window is made the active one first.
void pressIn(QWidget* window, QKeyCombination key) {
    window->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), window) << window->objectName().toStdString();
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, key.key(), key.keyboardModifiers());
    QKeyEvent release(QEvent::KeyRelease, key.key(), key.keyboardModifiers());
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

int shownHelpWindows() {
    int shown = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<HelpWindow*>(window) && window->isVisible())
            ++shown;
    }
    return shown;
}

// The main window, shown, on the simulated meter.
struct KeyPanel : ::testing::Test, SimulatedMeter {
    KeyPanel() {
        EXPECT_TRUE(panel.Form_Load());
        panel.Timer1_Timer();
        panel.show();
    }
    ~KeyPanel() override {
        panel.windows().closeAll();
        settleDeletes();
    }
    QAction* button(const char* key) { return panel.findChild<QAction*>(QString::fromLatin1(key)); }
    QWidget* shown(const char* name) { return panel.windows().open(QString::fromLatin1(name)); }
    PanelWindow panel{context,
                      [this](const AppContext&) { return std::make_unique<ForwardingPort>(demo); }};
    QTemporaryDir dir;
};

} // namespace

TEST_F(KeyPanel, MainWindowKeysRunTheirButtons) {
    const struct {
        QKeyCombination key;
        std::function<bool()> ran;
    } cases[] = {
        {Qt::CTRL | Qt::Key_S,
         [&] { return !dialogs.shown.empty() && dialogs.shown.back().kind == "save"; }},
        {Qt::CTRL | Qt::Key_O,
         [&] { return !dialogs.shown.empty() && dialogs.shown.back().kind == "open"; }},
        {Qt::CTRL | Qt::Key_L, [&] { return shown("RealTimeList") != nullptr; }},
        {Qt::CTRL | Qt::Key_G, [&] { return shown("RealTimeGraph") != nullptr; }},
        {Qt::CTRL | Qt::Key_M, [&] { return shown("Memory") != nullptr; }},
    };
    for (const auto& c : cases) {
        const QString name = QKeySequence(c.key).toString();
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(c.ran());
        pressIn(&panel, c.key);
        EXPECT_TRUE(c.ran());
        panel.windows().closeAll();
        settleDeletes();
        dialogs.shown.clear();
    }
    // The dialogs were cancelled: nothing records, nothing opened.
    EXPECT_FALSE(state.Recording);
    EXPECT_EQ(shown("FileList"), nullptr);
}

TEST_F(KeyPanel, CtrlSStartsAndStopsRecordingAndTheTooltipKeepsTheKey) {
    const QString path = dir.filePath(QStringLiteral("rec.txt"));
    dialogs.saveAnswers = {path};
    QAction* save = button("Save");
    pressIn(&panel, Qt::CTRL | Qt::Key_S);
    ASSERT_TRUE(state.Recording);
    EXPECT_EQ(save->toolTip(), "Stop Recording (Ctrl+S)");
    EXPECT_EQ(save->text(), "Stop Recording");
    pressIn(&panel, Qt::CTRL | Qt::Key_S);
    EXPECT_FALSE(state.Recording);
    EXPECT_EQ(save->toolTip(), "Save As (Ctrl+S)");
    EXPECT_EQ(save->text(), "Save As");
    EXPECT_TRUE(QFile::exists(path));
}

// The lists share one toolbar, and the charts another.
TEST_F(KeyPanel, CtrlPPrintsFromTheListAndChartWindows) {
    const struct {
        const char* name;
        std::function<QWidget*()> open;
        bool picture;
    } cases[] = {
        {"RealTimeList",
         [&] {
             panel.Toolbar1_ButtonClick(QStringLiteral("List"));
             auto* list = panel.windows().open<RealTimeList>(QStringLiteral("RealTimeList"));
             if (list)
                 list->addLiveRow(QStringLiteral("1\t22/06/2010 14:05:09\t300\t"));
             return list;
         },
         false},
        {"RealTimeGraph",
         [&] {
             panel.Toolbar1_ButtonClick(QStringLiteral("Graph"));
             return shown("RealTimeGraph");
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget* window = c.open();
        ASSERT_NE(window, nullptr);
        QAction* print = window->findChild<QAction*>(QStringLiteral("Print"));
        ASSERT_NE(print, nullptr);
        EXPECT_EQ(print->toolTip(), "Print (Ctrl+P)");
        const size_t jobs = printer.jobs.size();
        const size_t images = printer.images.size();
        pressIn(window, Qt::CTRL | Qt::Key_P);
        EXPECT_EQ(printer.jobs.size(), jobs + (c.picture ? 0 : 1));
        EXPECT_EQ(printer.images.size(), images + (c.picture ? 1 : 0));
    }
}

// Esc goes through the window's own close, so what its close resets is reset.
TEST_F(KeyPanel, EscClosesEachSecondaryWindowThroughItsClose) {
    const struct {
        const char* button; // null: F1
        const char* name;
        std::function<bool()> unloaded;
    } cases[] = {
        {"List", "RealTimeList", [&] { return !state.ListOn; }},
        {"Graph", "RealTimeGraph", nullptr},
        {"AVG", "Statistics", nullptr},
        {"Memory", "Memory", [&] { return !state.MemoryOn; }},
        {"Light", "Light", [&] { return !state.LightOn; }},
        {"Alarm", "Alarm", nullptr},
        // The clock window holds the poll paused while it is open.
        {"TimeSet", "Setup", [&] { return panel.timer1().isActive(); }},
        {nullptr, "Help", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.button)
            panel.Toolbar1_ButtonClick(QString::fromLatin1(c.button));
        else
            panel.commands().help();
        QPointer<QWidget> window = shown(c.name);
        ASSERT_FALSE(window.isNull());
        if (c.unloaded) {
            EXPECT_FALSE(c.unloaded());
        }
        pressIn(window, Qt::Key_Escape);
        EXPECT_EQ(shown(c.name), nullptr);
        if (c.unloaded) {
            EXPECT_TRUE(c.unloaded());
        }
        settleDeletes();
        EXPECT_TRUE(window.isNull());
    }
}

TEST_F(KeyPanel, EscLeavesTheMainWindowOpen) {
    int ended = 0;
    QObject::connect(&panel, &PanelWindow::programEnded, [&] { ++ended; });
    pressIn(&panel, Qt::Key_Escape);
    EXPECT_EQ(ended, 0);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_TRUE(panel.timer1().isActive());
}

TEST_F(KeyPanel, F1OpensOneHelpWindowFromAnyWindowAndBringsItToTheFront) {
    pressIn(&panel, Qt::Key_F1);
    auto* help = panel.windows().open<HelpWindow>(QStringLiteral("Help"));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "luxlog Help");
    EXPECT_EQ(shownHelpWindows(), 1);

    // From another window, and from the help itself: the same window, in front.
    panel.Toolbar1_ButtonClick(QStringLiteral("Graph"));
    for (QWidget* from : {shown("RealTimeGraph"), static_cast<QWidget*>(help)}) {
        ASSERT_NE(from, nullptr);
        pressIn(from, Qt::Key_F1);
        QApplication::processEvents();
        EXPECT_EQ(panel.windows().open<HelpWindow>(QStringLiteral("Help")), help);
        EXPECT_EQ(shownHelpWindows(), 1);
        EXPECT_EQ(QApplication::activeWindow(), help) << from->objectName().toStdString();
    }
}
