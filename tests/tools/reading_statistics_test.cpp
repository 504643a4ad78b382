#include "common/SharedState.h"
#include "tools/ReadingStatistics.h"

#include <gtest/gtest.h>

TEST(RunningStatistics, ExtremesAndMean) {
    const struct {
        std::vector<double> values;
        double max;
        double min;
        double mean;
    } cases[] = {
        {{5}, 5, 5, 5},
        {{3, -1, 4, 1.5}, 4, -1, 1.875},
        {{0.01, 19.99}, 19.99, 0.01, 10},
    };
    for (const auto& c : cases) {
        RunningStatistics s;
        for (const double v : c.values)
            s.add(v);
        EXPECT_EQ(s.count(), static_cast<long long>(c.values.size()));
        EXPECT_EQ(s.maximum(), c.max);
        EXPECT_EQ(s.minimum(), c.min);
        ASSERT_TRUE(s.mean());
        EXPECT_DOUBLE_EQ(*s.mean(), c.mean);
    }
    const RunningStatistics empty;
    EXPECT_FALSE(empty.maximum() || empty.minimum() || empty.mean());
}

// Five readings a second for a day: a plain running sum would be some thousand units in the
// last place off by then.
TEST(RunningStatistics, ADayOfReadingsKeepsItsMean) {
    const double values[] = {19.99, 0.01, 7.77};
    RunningStatistics s;
    for (int i = 0; i < 86400 * 5; ++i)
        s.add(values[i % 3]);
    ASSERT_TRUE(s.mean());
    EXPECT_DOUBLE_EQ(*s.mean(), (19.99 + 0.01 + 7.77) / 3);
}

namespace {

struct Frame {
    const char* unit;
    qint16 range;
    const char* reading; // a number unless it holds letters
    ReadingStatistics::Event event;
    long long count;
    long long overloads;
};

void decode(SharedState& state, const Frame& f) {
    state.Unit = QString::fromLatin1(f.unit);
    state.Range = f.range;
    bool number = false;
    const double n = QString::fromLatin1(f.reading).toDouble(&number);
    state.Value = number ? Value::fromNumber(n) : Value::fromText(QString::fromLatin1(f.reading));
    ++state.FrameCount;
}

} // namespace

TEST(ReadingStatistics, FramesCountRestartOrPassBy) {
    using E = ReadingStatistics::Event;
    const Frame frames[] = {
        {"LUX", 2000, "300", E::Counted, 1, 0},      {"LUX", 2000, "OL", E::Overload, 1, 1},
        {"LUX", 2000, "1D5", E::Skipped, 1, 1},      {"LUX", 2000, "310", E::Counted, 2, 1},
        {"LUX", 200, "19.5", E::RangeChanged, 1, 0}, {"Fc", 200, "OL", E::UnitChanged, 0, 1},
        {"Fc", 200, "12.5", E::Counted, 1, 1},
    };
    SharedState state;
    state.Unit = "LUX";
    state.Range = 2000;
    state.FrameCount = 7;
    ReadingStatistics s(state, 100);
    EXPECT_EQ(s.update(101), E::None);
    double now = 101;
    for (const Frame& f : frames) {
        decode(state, f);
        now += 0.25;
        EXPECT_EQ(s.update(now), f.event) << f.reading;
        EXPECT_EQ(s.readings().count(), f.count) << f.reading;
        EXPECT_EQ(s.overloads(), f.overloads) << f.reading;
        // Nothing counts twice while the meter is silent.
        EXPECT_EQ(s.update(now + 0.1), E::None);
    }
    EXPECT_EQ(s.started(), 101 + 6 * 0.25);
    EXPECT_EQ(s.unit(), "Fc");
    EXPECT_EQ(restartNote(E::UnitChanged, s), "Unit changed to Fc: started again");

    s.reset(200);
    EXPECT_EQ(s.readings().count(), 0);
    EXPECT_EQ(s.overloads(), 0);
    EXPECT_EQ(s.started(), 200);
}

TEST(ReadingStatistics, OpenedBeforeTheFirstFrameTakesItsUnitAndRange) {
    SharedState state;
    ReadingStatistics s(state, 0);
    decode(state, {"Fc", 20, "1.25", {}, 0, 0});
    EXPECT_EQ(s.update(1), ReadingStatistics::Event::Counted);
    EXPECT_EQ(s.range(), 20);
    EXPECT_EQ(s.unit(), "Fc");
}

TEST(ReadingStatistics, TextsAtTheRangesResolution) {
    const struct {
        qint16 range;
        std::vector<const char*> readings;
        double seconds;
        const char* max;
        const char* min;
        const char* average;
        const char* elapsed;
    } cases[] = {
        {20, {"1.23", "1.25", "1.25"}, 5.9, "1.25 LUX", "1.23 LUX", "1.243 LUX", "0:00:05"},
        {200, {"150.5", "OL", "99.0"}, 3725, "150.5 LUX", "99.0 LUX", "124.75 LUX", "1:02:05"},
        {20000, {"12340", "12350"}, 100000, "12350 LUX", "12340 LUX", "12345.0 LUX", "27:46:40"},
        {2000, {"OL"}, 0, "", "", "", "0:00:00"},
    };
    for (const auto& c : cases) {
        SharedState state;
        state.Unit = "LUX";
        state.Range = c.range;
        ReadingStatistics s(state, 10);
        for (const char* reading : c.readings) {
            decode(state, {"LUX", c.range, reading, {}, 0, 0});
            s.update(10);
        }
        const StatisticsTexts t = statisticsTexts(s, 10 + c.seconds);
        EXPECT_EQ(t.maximum, c.max);
        EXPECT_EQ(t.minimum, c.min);
        EXPECT_EQ(t.average, c.average);
        EXPECT_EQ(t.elapsed, c.elapsed);
    }
}
