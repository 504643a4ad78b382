#include "charts/PlotExplorer.h"
#include "charts/SpanStatistics.h"
#include "charts/TimeAxis.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <gtest/gtest.h>

namespace {

SharedState plotOf(double first, double last) {
    SharedState s;
    s.PlotFirst = first;
    s.PlotLast = last;
    s.PlotCount = last - first + 1;
    s.PlotLayout.AxisX = 60;
    s.PlotStep = 270 / s.PlotCount;
    return s;
}

} // namespace

// The view becomes whole records in the state; the records the range dialog chose are the whole
// to zoom in, and a plot of other records (a new range, a new list) starts from its whole.
TEST(PlotExplorer, ViewsBecomeTheRecordsThePlotDraws) {
    SharedState s = plotOf(101, 300); // the range dialog chose records 101 to 300
    PlotExplorer explorer;
    explorer.follow(s);
    EXPECT_EQ(explorer.zoom().count(), 200);
    EXPECT_FALSE(explorer.show(s)) << "the whole is shown already";
    EXPECT_EQ(explorer.caption("Plot Data/File ", s), "Plot Data/File ");

    explorer.zoom().select(10.5, 49.2); // records 111.5 to 150.2 of the list
    ASSERT_TRUE(explorer.show(s));
    EXPECT_EQ(s.PlotFirst, 111);
    EXPECT_EQ(s.PlotLast, 151);
    EXPECT_EQ(s.PlotCount, 41);
    EXPECT_EQ(explorer.caption("Plot Data/File ", s), "Plot Data/File - records 111 to 151 of 200");
    // Its own records are not a new whole.
    explorer.follow(s);
    EXPECT_EQ(explorer.zoom().count(), 200);
    s.PlotStep = 270.0 / 41;
    EXPECT_DOUBLE_EQ(explorer.positionAt(s, 60), 10);
    EXPECT_DOUBLE_EQ(explorer.positionAt(s, 60 + 2 * s.PlotStep), 12);

    explorer.zoom().home();
    ASSERT_TRUE(explorer.show(s));
    EXPECT_EQ(s.PlotFirst, 101);
    EXPECT_EQ(s.PlotLast, 300);

    SharedState other = plotOf(1, 50);
    explorer.follow(other);
    EXPECT_EQ(explorer.zoom().count(), 50);
    EXPECT_TRUE(explorer.zoom().showsWhole());
}

TEST(PlotExplorer, AlarmLimitsCountOnlyWhileOnForThePlotsUnit) {
    const struct {
        bool on;
        const char* alarmUnit;
        const char* plotUnit;
        double high; // 0: none
    } cases[] = {
        {true, "LUX", "LUX", 500}, {true, "Fc", "Fc", 40}, {true, "LUX", "Fc", 0},
        {false, "LUX", "LUX", 0},  {true, "", "LUX", 0},
    };
    for (const auto& c : cases) {
        AlarmState alarm;
        alarm.AlarmOn = c.on;
        alarm.AlarmUnit = c.alarmUnit;
        alarm.AlarmHighLux = 500;
        alarm.AlarmLowLux = 100;
        alarm.AlarmHighFc = 40;
        alarm.AlarmLowFc = 4;
        const SpanLimits limits = alarmLimitsFor(alarm, c.plotUnit);
        EXPECT_EQ(limits.high.value_or(0), c.high) << c.alarmUnit << " " << c.plotUnit;
        EXPECT_EQ(limits.low.has_value(), c.high != 0);
    }
}

// The sampling interval as the stamps show it: the commonest step, whatever gaps or a clock
// set back interrupt it.
TEST(PlotExplorer, SamplingIntervalIsTheCommonestStep) {
    const struct {
        QStringList times;
        double interval;
    } cases[] = {
        {{"22/06/2010 14:05:00", "22/06/2010 14:05:05", "22/06/2010 14:05:10"}, 5},
        {{"22/06/2010 14:05:00", "22/06/2010 14:06:00", "22/06/2010 14:09:00",
          "22/06/2010 14:10:00", "22/06/2010 14:11:00"},
         60},
        {{"22/06/2010 14:05:00", "22/06/2010 14:04:00", "22/06/2010 14:04:02"}, 2},
        {{"22/06/2010 14:05:00", "garbled", "22/06/2010 14:05:01"}, 0},
        {{"22/06/2010 14:05:00"}, 0},
    };
    for (const auto& c : cases) {
        RecordTableModel list;
        for (int i = 0; i < c.times.size(); ++i)
            list.appendRow(QStringLiteral("%1\t%2\t5\t").arg(i + 1).arg(c.times[i]));
        EXPECT_EQ(samplingInterval(list), c.interval) << c.times.join(", ").toStdString();
    }
}
