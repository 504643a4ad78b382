#include "charts/ui/ListPlot.h"
#include "charts/ui/RealTimeGraph.h"
#include "common/ui/WindowOwner.h"
#include "panel/ui/PanelWindow.h"
#include "panel/ui/PortWindow.h"
#include "records/RecordFile.h"
#include "records/ui/FileList.h"
#include "support/SimulatedMeter.h"

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

    PanelWindow panel{context,
                      [this](const AppContext&) { return std::make_unique<ForwardingPort>(demo); }};
};

} // namespace

// Every window the toolbars open, each walked for controls without a name.
TEST_F(AccessibleNames, EveryControlOfEveryWindowHasAName) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("day.txt"));
    {
        RecordWriter writer;
        ASSERT_TRUE(writer.create(path));
        ASSERT_TRUE(writer.writeLine(QStringLiteral("*ID=7 Range:200/Fc")));
        for (int n = 1; n <= 5; ++n) {
            ASSERT_TRUE(writer.writeLine(
                QStringLiteral("%1\t22/06/2010 14:05:%2\t%3\t").arg(n).arg(n + 9).arg(n * 5)));
        }
        ASSERT_TRUE(writer.close());
    }
    ASSERT_TRUE(panel.Form_Load());
    panel.Timer1_Timer();
    for (const char* key : {"List", "Graph", "AVG", "Light", "Alarm", "Memory"})
        panel.Toolbar1_ButtonClick(QString::fromLatin1(key));
    dialogs.openAnswers = {path};
    panel.Toolbar1_ButtonClick(QStringLiteral("Open"));
    auto* list = panel.windows().open<FileList>(QStringLiteral("FileList"));
    ASSERT_NE(list, nullptr);
    list->findChild<QAction*>(QStringLiteral("Plot"))->trigger();
    auto* plot = panel.windows().open<ListPlot>(QStringLiteral("ListPlot"));
    ASSERT_NE(plot, nullptr);
    plot->Toolbar1_ButtonClick(QStringLiteral("Limit"));
    auto* graph = panel.windows().open<RealTimeGraph>(QStringLiteral("RealTimeGraph"));
    ASSERT_NE(graph, nullptr);
    graph->Toolbar1_ButtonClick(QStringLiteral("Limit"));
    panel.commands().help();

    QStringList walked;
    QStringList nameless;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() || window == &panel) {
            walked << window->objectName();
            nameless << namelessControls(window);
        }
    }
    // The clock window is modal: it is walked alone, after the others.
    panel.Toolbar1_ButtonClick(QStringLiteral("TimeSet"));
    if (QWidget* setup = panel.windows().open(QStringLiteral("Setup"))) {
        walked << setup->objectName();
        nameless << namelessControls(setup);
    }
    SharedState portState;
    PortWindow port(portState, {QStringLiteral("/dev/ttyUSB0")});
    walked << port.objectName();
    nameless << namelessControls(&port);

    walked.sort();
    EXPECT_EQ(walked.join(u' ').toStdString(),
              "Alarm FileList Help Light ListPlot Memory Panel PlotRange Port RealTimeGraph "
              "RealTimeList RealTimeRange Setup Statistics");
    EXPECT_TRUE(nameless.isEmpty()) << nameless.join(u'\n').toStdString();
}

// Labels whose text is a value are found by what they show, not by the value.
TEST_F(AccessibleNames, ValueLabelsSayWhatTheyShow) {
    ASSERT_TRUE(panel.Form_Load());
    panel.Timer1_Timer();
    panel.Toolbar1_ButtonClick(QStringLiteral("Light"));
    QWidget* light = panel.windows().open(QStringLiteral("Light"));
    ASSERT_NE(light, nullptr);
    const struct {
        QWidget* window;
        const char* label;
        const char* name;
    } cases[] = {
        {&panel, "LblValue", "Reading"}, {&panel, "LblRange", "Range"},
        {&panel, "LblCOM", "Port"},      {light, "LblLight", "Reading"},
        {light, "LblUnit", "Unit"},      {light, "Lblcd", "Luminous intensity in cd"},
    };
    for (const auto& c : cases) {
        auto* label = c.window->findChild<QLabel*>(QString::fromLatin1(c.label));
        ASSERT_NE(label, nullptr) << c.label;
        EXPECT_EQ(accessibleName(label), c.name) << c.label;
    }
}
