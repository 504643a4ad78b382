#include "charts/ui/ListPlot.h"
#include "charts/ui/RealTimeGraph.h"
#include "common/ui/WindowOwner.h"
#include "panel/ui/PanelWindow.h"
#include "panel/ui/PortWindow.h"
#include "records/RecordFile.h"
#include "records/ui/FileList.h"
#include "support/SimulatedMeter.h"
#include "tools/ui/LightWindow.h"
#include "tools/ui/SetupWindow.h"
#include "tools/ui/StatisticsWindow.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// What a screen reader or an automation tool finds a widget by.
QString accessibleName(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// Parts Qt builds inside a control (a grid's headers, a combo box's list and line): the
// control's own name covers them.
bool insideAControl(const QWidget* widget, const QWidget* window) {
    if (widget->objectName().startsWith(u"qt_"))
        return true;
    for (const QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QAbstractItemView*>(up) || qobject_cast<const QComboBox*>(up))
            return true;
    }
    return false;
}

// What it says the thing is.
QString accessibleDescription(QWidget* widget) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Description) : QString();
}

// The labels of a window whose name is not what they show: a screen reader would never read
// their text. Pictures (no text) are named for what they show.
QStringList labelsNotReadAsShown(QWidget* window) {
    QStringList wrong;
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty() && !insideAControl(label, window) &&
            accessibleName(label) != label->text()) {
            wrong << QStringLiteral("%1/%2 shows \"%3\" but is read as \"%4\"")
                         .arg(window->objectName(), label->objectName(), label->text(),
                              accessibleName(label));
        }
    }
    return wrong;
}

// The buttons, input boxes, lists and grids of a window that have no name.
QStringList namelessControls(QWidget* window) {
    QStringList nameless;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             qobject_cast<QAbstractItemView*>(widget);
        if (control && !insideAControl(widget, window) &&
            accessibleName(widget).trimmed().isEmpty()) {
            nameless << window->objectName() + u'/' + widget->metaObject()->className() + u'/' +
                            widget->objectName();
        }
    }
    return nameless;
}

struct AccessibleNames : ::testing::Test, SimulatedMeter {
    ~AccessibleNames() override {
        panel.windows().closeAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opens every window the toolbars open, with readings arrived; the open top-level windows.
    QList<QWidget*> openEveryWindow() {
        {
            RecordWriter writer;
            EXPECT_TRUE(writer.create(path));
            EXPECT_TRUE(writer.writeLine(QStringLiteral("*ID=7 Range:200/Fc")));
            for (int n = 1; n <= 5; ++n) {
                EXPECT_TRUE(writer.writeLine(
                    QStringLiteral("%1\t22/06/2010 14:05:%2\t%3\t").arg(n).arg(n + 9).arg(n * 5)));
            }
            EXPECT_TRUE(writer.close());
        }
        EXPECT_TRUE(panel.Form_Load());
        panel.Timer1_Timer();
        for (const char* key : {"List", "Graph", "AVG", "Light", "Alarm", "Memory"})
            panel.Toolbar1_ButtonClick(QString::fromLatin1(key));
        dialogs.openAnswers = {path};
        panel.Toolbar1_ButtonClick(QStringLiteral("Open"));
        if (auto* list = panel.windows().open<FileList>(QStringLiteral("FileList")))
            list->findChild<QAction*>(QStringLiteral("Plot"))->trigger();
        if (auto* plot = panel.windows().open<ListPlot>(QStringLiteral("ListPlot")))
            plot->Toolbar1_ButtonClick(QStringLiteral("Limit"));
        if (auto* graph = panel.windows().open<RealTimeGraph>(QStringLiteral("RealTimeGraph")))
            graph->Toolbar1_ButtonClick(QStringLiteral("Limit"));
        panel.commands().help();
        // The windows that refresh from the live reading on their own timer catch up.
        if (auto* light = panel.windows().open<LightWindow>(QStringLiteral("Light")))
            light->findChild<QLineEdit*>(QStringLiteral("TxtDistance"))->setText("2");
        for (int i = 0; i < 5; ++i) {
            clock.run(0.2);
            panel.Timer1_Timer();
            if (auto* light = panel.windows().open<LightWindow>(QStringLiteral("Light")))
                light->Timer1_Timer();
            if (auto* stats = panel.windows().open<StatisticsWindow>(QStringLiteral("Statistics")))
                stats->Timer1_Timer();
        }
        QList<QWidget*> windows;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() || window == &panel)
                windows << window;
        }
        return windows;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.txt"));
    const bool demoChosen = (state.ComDevice = QStringLiteral("Demo"), true);
    PanelWindow panel{context,
                      [this](const AppContext&) { return std::make_unique<ForwardingPort>(demo); }};
};

} // namespace

// Every window the toolbars open is walked: each control has a name, and each label is read as
// what it shows.
TEST_F(AccessibleNames, EveryWindowNamesItsControlsAndReadsItsLabelsAsShown) {
    QStringList walked;
    QStringList nameless;
    QStringList unread;
    for (QWidget* window : openEveryWindow()) {
        walked << window->objectName();
        nameless << namelessControls(window);
        unread << labelsNotReadAsShown(window);
    }
    // The clock window is modal: it is walked alone, after the others, once it read the meter.
    panel.Toolbar1_ButtonClick(QStringLiteral("TimeSet"));
    if (auto* setup = panel.windows().open<SetupWindow>(QStringLiteral("Setup"))) {
        setup->Timer1_Timer();
        walked << setup->objectName();
        nameless << namelessControls(setup);
        unread << labelsNotReadAsShown(setup);
    }
    SharedState portState;
    PortWindow port(portState, {QStringLiteral("/dev/ttyUSB0")});
    walked << port.objectName();
    nameless << namelessControls(&port);
    unread << labelsNotReadAsShown(&port);

    walked.sort();
    EXPECT_EQ(walked.join(u' ').toStdString(),
              "Alarm FileList Help Light ListPlot Memory Panel PlotRange Port RealTimeGraph "
              "RealTimeList RealTimeRange Setup Statistics");
    EXPECT_TRUE(nameless.isEmpty()) << nameless.join(u'\n').toStdString();
    EXPECT_TRUE(unread.isEmpty()) << unread.join(u'\n').toStdString();
}

// A label that shows a value is read as the value once one arrived, and says what it is.
TEST_F(AccessibleNames, ValueLabelsAreReadAsTheirValueAndSayWhatItIs) {
    openEveryWindow();
    panel.Toolbar1_ButtonClick(QStringLiteral("TimeSet"));
    auto* setup = panel.windows().open<SetupWindow>(QStringLiteral("Setup"));
    ASSERT_NE(setup, nullptr);
    setup->Timer1_Timer();
    const struct {
        const char* window;
        const char* label;
        const char* description;
    } cases[] = {
        {"Panel", "LblValue", "Reading"},
        {"Panel", "LblRange", "Range"},
        {"Panel", "LblCOM", "Port"},
        {"Light", "LblLight", "Reading"},
        {"Light", "LblUnit", "Unit"},
        {"Light", "Lblcd", "Luminous intensity in cd"},
        {"Statistics", "LblMax", "Maximum"},
        {"Statistics", "LblAvg", "Average"},
        {"Statistics", "LblCount", "Readings"},
        {"Setup", "LblMeterTime", "Meter Time"},
        {"Setup", "LblPCTime", "PC System Time"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.window) + "/" + c.label);
        QWidget* window = QString::fromLatin1(c.window) == u"Panel"
                              ? &panel
                              : panel.windows().open(QString::fromLatin1(c.window));
        ASSERT_NE(window, nullptr);
        auto* label = window->findChild<QLabel*>(QString::fromLatin1(c.label));
        ASSERT_NE(label, nullptr);
        EXPECT_FALSE(label->text().isEmpty()) << "no value arrived";
        EXPECT_EQ(accessibleName(label), label->text());
        EXPECT_EQ(accessibleDescription(label), c.description);
    }
}
