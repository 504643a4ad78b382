#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/WindowOwner.h"
#include "logger/ui/FloodPanel.h"
#include "logger/ui/MemoryWindow.h"
#include "logger/ui/OpenDataLogger.h"
#include "records/ui/DataList.h"
#include "sim/engine/DemoPort.h"
#include "sim/engine/MeterEngine.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/VirtualClock.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

const QRect kPanelFrame(10, 20, 350, 300);

void click(QWidget* widget, QPoint at) {
    const QPointF global = widget->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QApplication::sendEvent(widget, &release);
}

template <typename T> std::vector<T*> windowsOf() {
    std::vector<T*> out;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w))
            out.push_back(t);
    }
    return out;
}

DataList* shownDataList() {
    for (DataList* list : windowsOf<DataList>()) {
        if (list->isVisible())
            return list;
    }
    return nullptr;
}

struct MemoryWindowTest : ::testing::Test {
    MemoryWindowTest() {
        state.ComPort = 2;
        engine.setIdCode(1234);
        engine.setInterval(60);
        engine.setDrift(false);
        engine.addSyntheticSet(40, 5, 0x04);
        engine.addSyntheticSet(300, 1, 0x03);
        port.open(nullptr);
        context.port = &port;
        context.panelFrame = [] { return kPanelFrame; };
        context.poll.addSwitch(this, [this](bool on) { poll << (on ? "on" : "off"); });
        context.setPortLabel = [this](const QString& text) { portLabel = text; };
    }
    ~MemoryWindowTest() override {
        for (MemoryWindow* w : windowsOf<MemoryWindow>())
            delete w;
        for (DataList* w : windowsOf<DataList>())
            delete w;
    }
    void settleDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    template <typename T = QLabel> T* control(const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void clickSet(int row) {
        QTableView* grid = window->gridSet();
        click(grid->viewport(), grid->visualRect(grid->model()->index(row, 0)).center());
    }

    VirtualClock clock;
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    MeterEngine engine;
    DemoPort port{engine, clock};
    AppContext context{state, clock, dialogs, printer};
    WindowOwner owner;
    QStringList poll;
    QString portLabel;
    QPointer<MemoryWindow> window;
};

} // namespace

// The used part is as wide as its share of the panel's inside, to the pixel: 100 pixels inside
// a 1-pixel frame.
TEST(FloodPanel, FillsItsShareOfTheWidth) {
    const struct {
        double percent;
        int filled;
    } cases[] = {{0, 0},   {0.4, 0},    {0.6, 1},   {25, 25},
                 {50, 50}, {99.5, 100}, {100, 100}, {150, 100}};
    for (const auto& c : cases) {
        FloodPanel panel(QString{});
        panel.resize(102, 20);
        panel.setFloodPercent(c.percent);
        const QImage image = panel.grab().toImage();
        int filled = 0;
        for (int x = 0; x < image.width(); ++x)
            filled += image.pixelColor(x, 10) == QColor(0, 0, 160);
        EXPECT_EQ(filled, c.filled) << c.percent;
    }
}

TEST_F(MemoryWindowTest, OpensBesideThePanelWithSettingsAndSets) {
    window = openDataLogger(context, owner);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->objectName(), "Memory");
    EXPECT_EQ(window->windowTitle(), "Data Logger");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(360, 20));
    for (const char* name : {"SSPanel1", "LblID", "SSPanel4", "LblIntv", "LblMemory", "SSPanel3",
                             "SSPanel2", "LblUnused", "LblUsed"})
        EXPECT_TRUE(control(name)) << name;
    EXPECT_EQ(control("LblMemory")->text(), "Capacity : 32 K");
    EXPECT_EQ(control("LblID")->text(), "1234");
    EXPECT_EQ(control("LblIntv")->text(), "60");
    // 717 bytes of 32 K in use.
    EXPECT_NEAR(control<FloodPanel>("MSize")->floodPercent(), 2.1881103515625, 1e-9);
    EXPECT_EQ(control<QProgressBar>("MBar")->value(), 100);

    QTableView* grid = control<QTableView>("GridSet");
    ASSERT_EQ(grid, window->gridSet());
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_TRUE(grid->isRowHidden(0));
    const QFontMetrics metrics(window->font());
    const char* const titles[] = {"Set", " Date", " Time", " Range", "Interval", "Records"};
    const char* const templates[] = {" NoS ",       " MMHH:NN:SS", " HH:NN:SS",
                                     " 20000 LUX ", " Interval ",  " Records "};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(grid->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(grid->columnWidth(c), metrics.horizontalAdvance(templates[c])) << c;
    }
    EXPECT_EQ(grid->model()->index(2, 3).data().toString(), "200 Fc");
    EXPECT_EQ(poll, QStringList({"off", "on"}));
    EXPECT_FALSE(openDataLogger(context, owner)); // open already
}

TEST_F(MemoryWindowTest, ClickingASetDownloadsItIntoTheDataList) {
    window = openDataLogger(context, owner);
    ASSERT_TRUE(window);
    QHeaderView* header = window->gridSet()->horizontalHeader();
    click(header->viewport(), QPoint(5, header->height() / 2));
    EXPECT_EQ(shownDataList(), nullptr);

    clickSet(2);
    DataList* first = shownDataList();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->model().dataRowCount(), 300);
    EXPECT_EQ(first->caption(), "Data List---*ID=1234 Range:200/Fc");
    EXPECT_EQ(portLabel, "COM2");
    ASSERT_FALSE(poll.isEmpty());
    EXPECT_EQ(poll.last(), "on");

    const int waits = clock.waitCount;
    QPointer<DataList> firstList(first);
    clickSet(2);
    EXPECT_EQ(clock.waitCount, waits);
    settleDeletes();
    EXPECT_FALSE(firstList);
    DataList* second = shownDataList();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->model().dataRowCount(), 300);
    EXPECT_EQ(second->caption(), "Data List---*ID=1234 Range:200/Fc");
}

TEST_F(MemoryWindowTest, EachControlAsksItsOwnQuestion) {
    const struct {
        const char* control;
        const char* kind;
        const char* title;
        const char* promptStart;
    } cases[] = {
        {"LblID", "input", "Input ID Code", "Input an id code"},
        {"SSPanel1", "input", "Input ID Code", "Enter the Willing ID"},
        {"LblIntv", "input", "Input Interval", "Input a sample interval"},
        {"SSPanel4", "input", "Input Interval", "Enter the Willing Interval"},
        {"MSize", "confirm", "Warning", "All saved data"},
        {"SSPanel2", "confirm", "Warning", "All saved data"},
        {"SSPanel3", "confirm", "Warning", "All saved data"},
    };
    window = openDataLogger(context, owner);
    ASSERT_TRUE(window);
    for (const auto& c : cases) {
        dialogs.shown.clear();
        const int waits = clock.waitCount;
        QWidget* target = window->findChild<QWidget*>(QString::fromLatin1(c.control));
        ASSERT_TRUE(target) << c.control;
        click(target, QPoint(2, 2));
        ASSERT_EQ(dialogs.shown.size(), 1u) << c.control;
        EXPECT_EQ(dialogs.shown[0].kind, c.kind);
        EXPECT_EQ(dialogs.shown[0].title, c.title);
        EXPECT_TRUE(dialogs.shown[0].text.startsWith(QString::fromLatin1(c.promptStart)))
            << c.control;
        EXPECT_EQ(clock.waitCount, waits) << c.control; // cancelled: nothing sent
    }
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MemoryWindowTest, ClosingDuringADownloadEndsItAndThenFreesTheWindow) {
    engine.setPaced(true);
    window = openDataLogger(context, owner);
    ASSERT_TRUE(window);
    int finished = 0;
    bool survivedTheWait = true;
    QObject::connect(window, &MemoryWindow::finished, [&] { ++finished; });
    auto* bar = control<QProgressBar>("MBar");
    bar->setValue(0);
    clock.duringWait = [&] {
        if (window && window->isVisible() && bar->value() > 20) {
            window->close();
            // A nested event loop may run deferred deletes: the waiting handler's window must
            // not be among them.
            settleDeletes();
            survivedTheWait = !window.isNull();
        }
    };
    clickSet(2);
    EXPECT_TRUE(survivedTheWait);
    EXPECT_FALSE(state.MemoryOn);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(shownDataList(), nullptr);
    EXPECT_TRUE(dialogs.shown.empty());
    ASSERT_FALSE(poll.isEmpty());
    EXPECT_EQ(poll.last(), "on");
    EXPECT_EQ(portLabel, "COM2");
    settleDeletes();
    EXPECT_FALSE(window);
    EXPECT_TRUE(openDataLogger(context, owner)); // the button works again
}

TEST_F(MemoryWindowTest, EraseClosesTheWindow) {
    window = openDataLogger(context, owner);
    ASSERT_TRUE(window);
    dialogs.confirmAnswers = {true};
    window->MSize_Click();
    EXPECT_TRUE(engine.sets().isEmpty());
    EXPECT_FALSE(state.MemoryOn);
    settleDeletes();
    EXPECT_FALSE(window);
}
