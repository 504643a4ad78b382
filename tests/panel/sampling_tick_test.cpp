#include "common/SharedState.h"
#include "panel/SamplingTick.h"

#include <gtest/gtest.h>

namespace {

struct RecordingSinks : SampleSinks {
    bool writeRecordLine(const QString& line) override {
        lines << line;
        return writable;
    }
    void recordingStopped(StopReason reason) override { stops.push_back(reason); }
    void showRecordCount(const QString& count) override { shownCount = count; }
    void clearRecordingLabels() override { ++clears; }
    void addListRow(const QString& row) override { rows << row; }
    void listEnded() override { ++listEnds; }

    bool writable = true;
    QStringList lines;
    QStringList rows;
    std::vector<StopReason> stops;
    QString shownCount;
    int clears = 0;
    int listEnds = 0;
};

SharedState loaded(const QString& start = "2010/06/22 14:05:09") {
    SharedState s;
    s.loadPanel(QDateTime(QDate(2010, 6, 22), QTime(14, 5, 9)));
    s.RecordTime = start;
    s.Unit = "LUX";
    s.Range = 2000;
    s.RefUnit = "LUX";
    s.RefRange = 2000;
    return s;
}

// One sampling tick with `shown` as the live reading.
void tickWith(SharedState& s, const char* shown, SampleSinks& sinks) {
    s.Value = Value::fromText(QString::fromLatin1(shown));
    s.NewReading = true;
    samplingTick(s, sinks);
}

// Tick numbers (1-based) on which a sample was taken.
QList<int> sampleTicks(float samplingTime, int ticks) {
    SharedState s = loaded();
    s.SamplingTime = samplingTime;
    s.ListOn = true;
    RecordingSinks sinks;
    QList<int> taken;
    for (int tick = 1; tick <= ticks; ++tick) {
        const qsizetype before = sinks.rows.size();
        tickWith(s, "1", sinks);
        if (sinks.rows.size() > before)
            taken << tick;
    }
    return taken;
}

} // namespace

TEST(SamplingTick, CadenceFollowsTheSamplingTime) {
    EXPECT_EQ(sampleTicks(1, 5), QList<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(sampleTicks(2, 6), QList<int>({1, 3, 5}));
    EXPECT_EQ(sampleTicks(5, 16), QList<int>({1, 6, 11, 16}));
}

TEST(SamplingTick, LongSamplingTimesKeepTheirPaceAndStamps) {
    // A 16-bit tick counter wraps at 32768: the samples then come every 65,536 ticks.
    const struct {
        float seconds;
        const char* stamps[3];
    } cases[] = {
        {32767, {"22/06/2010 23:11:16", "23/06/2010 08:17:23", "23/06/2010 17:23:30"}},
        {32768, {"22/06/2010 23:11:17", "23/06/2010 08:17:25", "23/06/2010 17:23:33"}},
        {40000, {"23/06/2010 01:11:49", "23/06/2010 12:18:29", "23/06/2010 23:25:09"}},
        {86400, {"23/06/2010 14:05:09", "24/06/2010 14:05:09", "25/06/2010 14:05:09"}},
    };
    for (const auto& c : cases) {
        SharedState s = loaded();
        s.SamplingTime = c.seconds;
        s.ListOn = true;
        RecordingSinks sinks;
        QList<int> taken;
        const int t = static_cast<int>(c.seconds);
        for (int tick = 1; tick <= 2 * t + 1; ++tick) {
            const qsizetype before = sinks.rows.size();
            tickWith(s, "1", sinks);
            if (sinks.rows.size() > before)
                taken << tick;
        }
        EXPECT_EQ(taken, QList<int>({1, t + 1, 2 * t + 1})) << c.seconds;
        ASSERT_EQ(sinks.rows.size(), 3);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(sinks.rows[i].section(u'\t', 1, 1), QString::fromLatin1(c.stamps[i]))
                << c.seconds;
    }
}

TEST(SamplingTick, RecordTimeAdvancesByTheSamplingTimeAcrossMidnightAndYearEnd) {
    SharedState s = loaded("2010/12/31 23:59:57");
    RecordingSinks sinks;
    s.ListOn = true;
    s.SamplingTime = 2;
    for (int i = 0; i < 6; ++i)
        tickWith(s, "1230", sinks);
    ASSERT_EQ(sinks.rows.size(), 3);
    EXPECT_EQ(sinks.rows[0], "1\t31/12/2010 23:59:59\t1230\t");
    EXPECT_EQ(sinks.rows[1], "2\t01/01/2011 00:00:01\t1230\t");
    EXPECT_EQ(sinks.rows[2], "3\t01/01/2011 00:00:03\t1230\t");
    EXPECT_EQ(s.RecordTime, "2011/01/01 00:00:03");
}

TEST(SamplingTick, NewSamplingTimeSamplesOnTheNextTick) {
    SharedState s = loaded();
    s.SamplingTime = 5;
    RecordingSinks sinks;
    s.ListOn = true;
    tickWith(s, "1", sinks);
    tickWith(s, "1", sinks);
    s.SamplingTime = 3;
    s.SampleTick = 0;
    tickWith(s, "1", sinks);
    EXPECT_EQ(sinks.rows.size(), 2);
}

TEST(SamplingTick, RecordingWritesNumberedLinesWithBattery) {
    SharedState s = loaded();
    s.Recording = true;
    RecordingSinks sinks;
    tickWith(s, "OL", sinks);
    s.BatLow = true;
    s.SampleTick = 0;
    tickWith(s, "1999", sinks);
    EXPECT_EQ(sinks.lines,
              QStringList({"1\t22/06/2010 14:05:11\tOL\t", "2\t22/06/2010 14:05:13\t1999\tLow"}));
    EXPECT_EQ(sinks.shownCount, "2");
    EXPECT_EQ(s.RecCount, 2);
}

TEST(SamplingTick, RecordingEndsOnTheSampleAfterTheLimit) {
    SharedState s = loaded();
    s.Recording = true;
    s.SamplingTime = 1;
    RecordingSinks sinks;
    for (int i = 0; i < 86400; ++i)
        tickWith(s, "5", sinks);
    ASSERT_EQ(sinks.lines.size(), 86400);
    EXPECT_EQ(sinks.lines.last().section(u'\t', 0, 0), "86400");
    EXPECT_TRUE(sinks.stops.empty());
    tickWith(s, "5", sinks);
    EXPECT_EQ(sinks.lines.size(), 86400);
    ASSERT_EQ(sinks.stops.size(), 1u);
    EXPECT_FALSE(s.Recording);
    EXPECT_EQ(s.RecCount, 0);
}

TEST(SamplingTick, RangeOrUnitChangeEndsRecordingWithoutWritingThatSample) {
    for (const bool unitChange : {false, true}) {
        SharedState s = loaded();
        s.Recording = true;
        s.SamplingTime = 1;
        RecordingSinks sinks;
        tickWith(s, "5", sinks);
        if (unitChange)
            s.Unit = "Fc";
        else
            s.Range = 200;
        const qint32 tickBefore = s.SampleTick;
        tickWith(s, "5", sinks);
        EXPECT_EQ(sinks.lines.size(), 1);
        EXPECT_EQ(sinks.stops.size(), 1u);
        EXPECT_FALSE(s.Recording);
        EXPECT_EQ(s.SampleTick, tickBefore); // the next tick samples again
    }
}

TEST(SamplingTick, WriteFailureStopsRecordingAndKeepsTheListGoing) {
    SharedState s = loaded();
    s.Recording = true;
    s.FileSelected = true;
    s.ListOn = true;
    RecordingSinks sinks;
    sinks.writable = false;
    tickWith(s, "5", sinks);
    ASSERT_EQ(sinks.stops.size(), 1u);
    EXPECT_EQ(sinks.stops[0], SampleSinks::StopReason::WriteFailed);
    EXPECT_FALSE(s.Recording);
    EXPECT_FALSE(s.FileSelected);
    EXPECT_EQ(sinks.rows.size(), 1);
}

TEST(SamplingTick, ListEndsAtItsLimitAndOnAChange) {
    SharedState s = loaded();
    s.ListOn = true;
    s.SamplingTime = 1;
    s.ListCount = 86399;
    RecordingSinks sinks;
    tickWith(s, "5", sinks);
    ASSERT_EQ(sinks.rows.size(), 1);
    EXPECT_TRUE(sinks.rows[0].startsWith("86400\t"));
    EXPECT_FALSE(s.ListOn);
    EXPECT_EQ(s.ListCount, 0);
    EXPECT_EQ(sinks.listEnds, 1);

    s.ListOn = true;
    s.Range = 20000; // the row of this reading is added, then the list ends
    tickWith(s, "5", sinks);
    ASSERT_EQ(sinks.rows.size(), 2);
    EXPECT_TRUE(sinks.rows[1].startsWith("1\t"));
    EXPECT_FALSE(s.ListOn);
}

TEST(SamplingTick, IdleSamplingClearsTheRecordingLabels) {
    SharedState s = loaded();
    RecordingSinks sinks;
    tickWith(s, "5", sinks);
    EXPECT_EQ(sinks.clears, 1);
    EXPECT_EQ(s.RecordTime, "2010/06/22 14:05:11");
}

// While no frame arrives the samples that fall due are skipped, not filled with the last
// reading; their times are used up all the same, so later records keep true stamps.
TEST(SamplingTick, OnlyFreshReadingsAreSampled) {
    SharedState s = loaded();
    s.Recording = true;
    s.ListOn = true;
    s.SamplingTime = 1;
    RecordingSinks sinks;
    tickWith(s, "5", sinks);
    samplingTick(s, sinks); // silent meter: nothing decoded since
    samplingTick(s, sinks);
    tickWith(s, "6", sinks);
    EXPECT_EQ(sinks.lines,
              QStringList({"1\t22/06/2010 14:05:10\t5\t", "2\t22/06/2010 14:05:13\t6\t"}));
    EXPECT_EQ(sinks.rows,
              QStringList({"1\t22/06/2010 14:05:10\t5\t", "2\t22/06/2010 14:05:13\t6\t"}));
    EXPECT_FALSE(s.NewReading);
    EXPECT_TRUE(s.Recording);
}
