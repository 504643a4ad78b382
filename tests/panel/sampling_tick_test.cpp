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

// One sampling tick at the next sample's time with `shown` as the live reading.
void tickWith(SharedState& s, const char* shown, SampleSinks& sinks) {
    s.Value = Value::fromText(QString::fromLatin1(shown));
    s.NewReading = true;
    samplingTick(s, sinks, s.RecordClock + std::llround(s.SamplingTime));
}

// The stamps (time of day) of the list's rows.
QStringList stampsOf(const QStringList& rows) {
    QStringList stamps;
    for (const QString& row : rows)
        stamps << row.section(u'\t', 1, 1).section(u' ', 1, 1);
    return stamps;
}

// Runs the sampling timer as the window arms it, with a fresh reading before every tick, for
// `seconds` of monotonic time; each tick comes `lateBy` after the time it was armed for.
struct TimerRun {
    int samples = 0;
    double lastSampleAt = 0;
    QString lastStamp;
};
TimerRun runTimer(SharedState& s, double seconds, double lateBy, bool fixedPace) {
    RecordingSinks sinks;
    s.ListOn = true;
    TimerRun run;
    double now = s.RecordClock;
    const double end = now + seconds;
    while (true) {
        now += fixedPace ? 0.96 : samplingTickDelayMs(s, now) / 1000.0 + lateBy;
        if (now > end + 1e-9)
            break;
        s.NewReading = true;
        const qsizetype before = sinks.rows.size();
        samplingTick(s, sinks, now);
        if (sinks.rows.size() > before) {
            ++run.samples;
            run.lastSampleAt = now;
        }
    }
    run.lastStamp = s.RecordTime;
    return run;
}

} // namespace

// The k-th sample is taken when the clock reaches start + k × the sampling time, whatever the
// timer's pace: an hour at 1 s is 3,600 samples ending an hour after the start (a tick every
// 960 ms that advanced the stamps would have taken them by 3,456 s).
TEST(SamplingTick, SamplesFollowTheClockNotTheTimersPace) {
    const struct {
        const char* pace;
        double lateBy;
        bool fixedPace;
    } cases[] = {
        {"armed for each sample", 0.0, false},
        {"every tick 30 ms late", 0.03, false},
        {"a tick every 960 ms", 0.0, true},
    };
    for (const auto& c : cases) {
        SharedState s = loaded();
        s.SamplingTime = 1;
        const double start = s.RecordClock;
        const TimerRun run = runTimer(s, 3600.5, c.lateBy, c.fixedPace);
        EXPECT_EQ(run.samples, 3600) << c.pace;
        EXPECT_EQ(run.lastStamp, "2010/06/22 15:05:09") << c.pace;
        EXPECT_GE(run.lastSampleAt, start + 3600 - 1e-6) << c.pace;
        EXPECT_LT(run.lastSampleAt, start + 3600 + 0.97) << c.pace;
    }
}

TEST(SamplingTick, NothingIsTakenBeforeItsTime) {
    SharedState s = loaded();
    s.SamplingTime = 5;
    s.ListOn = true;
    RecordingSinks sinks;
    s.NewReading = true;
    samplingTick(s, sinks, s.RecordClock + 4.999);
    EXPECT_TRUE(sinks.rows.isEmpty());
    EXPECT_EQ(samplingTickDelayMs(s, s.RecordClock + 4.5), 500);
    EXPECT_EQ(samplingTickDelayMs(s, s.RecordClock), 960);
    samplingTick(s, sinks, s.RecordClock + 5);
    EXPECT_EQ(stampsOf(sinks.rows), QStringList{"14:05:14"});
}

// A tick that comes late takes the sample once; when it comes after several sample times, the
// latest is taken and the stamps before it stay absent.
TEST(SamplingTick, LateTickTakesTheLatestSampleOnce) {
    SharedState s = loaded();
    s.SamplingTime = 1;
    s.ListOn = true;
    RecordingSinks sinks;
    const double start = s.RecordClock;
    for (const double at : {1.4, 1.9, 2.0, 5.5, 5.6, 6.0}) {
        s.NewReading = true;
        samplingTick(s, sinks, start + at);
    }
    ASSERT_EQ(stampsOf(sinks.rows), QStringList({"14:05:10", "14:05:11", "14:05:14", "14:05:15"}));
    EXPECT_EQ(sinks.rows.last().section(u'\t', 0, 0), "4");
}

// While no frame arrives, exactly the samples that fall due meanwhile are left out.
TEST(SamplingTick, SilentStretchLeavesExactlyItsSamplesOut) {
    SharedState s = loaded();
    s.SamplingTime = 1;
    s.ListOn = true;
    RecordingSinks sinks;
    const double start = s.RecordClock;
    for (int k = 1; k <= 10; ++k) {
        s.NewReading = k <= 3 || k >= 9; // the meter is silent from 3.x s to 8 s
        samplingTick(s, sinks, start + k + 0.01);
    }
    EXPECT_EQ(stampsOf(sinks.rows),
              QStringList({"14:05:10", "14:05:11", "14:05:12", "14:05:18", "14:05:19"}));
}

TEST(SamplingTick, StartTakesThePcClockToTheSecond) {
    SharedState s;
    startSampling(s, QDateTime(QDate(2010, 6, 22), QTime(14, 5, 9, 750)), 100.0);
    EXPECT_EQ(s.RecordTime, "2010/06/22 14:05:09");
    EXPECT_DOUBLE_EQ(s.RecordClock, 99.25);
    EXPECT_EQ(s.SamplingTime, 2);
}

TEST(SamplingTick, LongSamplingTimesKeepTheirStamps) {
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
        const TimerRun run = runTimer(s, 3.0 * c.seconds + 0.5, 0, false);
        EXPECT_EQ(run.samples, 3) << c.seconds;
        EXPECT_EQ(sampleLine(run.lastStamp, "1", false).section(u'\t', 0, 0),
                  QString::fromLatin1(c.stamps[2]))
            << c.seconds;
    }
    SharedState s = loaded();
    s.SamplingTime = 32768;
    RecordingSinks sinks;
    s.ListOn = true;
    for (int i = 0; i < 3; ++i)
        tickWith(s, "1", sinks);
    ASSERT_EQ(sinks.rows.size(), 3);
    EXPECT_EQ(sinks.rows[1].section(u'\t', 1, 1), "23/06/2010 08:17:25");
}

TEST(SamplingTick, RecordTimeAdvancesByTheSamplingTimeAcrossMidnightAndYearEnd) {
    SharedState s = loaded("2010/12/31 23:59:57");
    RecordingSinks sinks;
    s.ListOn = true;
    s.SamplingTime = 2;
    for (int i = 0; i < 3; ++i)
        tickWith(s, "1230", sinks);
    ASSERT_EQ(sinks.rows.size(), 3);
    EXPECT_EQ(sinks.rows[0], "1\t31/12/2010 23:59:59\t1230\t");
    EXPECT_EQ(sinks.rows[1], "2\t01/01/2011 00:00:01\t1230\t");
    EXPECT_EQ(sinks.rows[2], "3\t01/01/2011 00:00:03\t1230\t");
    EXPECT_EQ(s.RecordTime, "2011/01/01 00:00:03");
}

// A new sampling time counts from the last stamp: the next sample is due one new sampling time
// after it, at once when that time has already passed.
TEST(SamplingTick, NewSamplingTimeCountsFromTheLastStamp) {
    SharedState s = loaded();
    s.SamplingTime = 5;
    s.ListOn = true;
    RecordingSinks sinks;
    const double start = s.RecordClock;
    tickWith(s, "1", sinks); // 14:05:14, at start + 5
    s.SamplingTime = 1;
    s.SampleTick = 0;
    s.NewReading = true;
    samplingTick(s, sinks, start + 8.2); // three new sampling times have passed
    s.SamplingTime = 60;
    s.NewReading = true;
    samplingTick(s, sinks, start + 9.5);
    samplingTick(s, sinks, start + 68);
    EXPECT_EQ(stampsOf(sinks.rows), QStringList({"14:05:14", "14:05:17", "14:06:17"}));
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
    samplingTick(s, sinks, s.RecordClock + 1); // silent meter: nothing decoded since
    samplingTick(s, sinks, s.RecordClock + 1);
    tickWith(s, "6", sinks);
    EXPECT_EQ(sinks.lines,
              QStringList({"1\t22/06/2010 14:05:10\t5\t", "2\t22/06/2010 14:05:13\t6\t"}));
    EXPECT_EQ(sinks.rows,
              QStringList({"1\t22/06/2010 14:05:10\t5\t", "2\t22/06/2010 14:05:13\t6\t"}));
    EXPECT_FALSE(s.NewReading);
    EXPECT_TRUE(s.Recording);
}
