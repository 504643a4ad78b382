#include "charts/TimeAxis.h"
#include "records/RecordTableModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr double kUnreadable = std::numeric_limits<double>::quiet_NaN();
// 22/06/2010 10:00:00 and 21/06/2010 23:50:00 on the plain calendar.
constexpr double kMorning = 1277200800;
constexpr double kBeforeMidnight = 1277164200;

// A monospaced font, and one whose "1" is narrower than the other characters, as many are.
double monospaced(const QString& text) {
    return 8.0 * static_cast<double>(text.size());
}
double proportional(const QString& text) {
    double width = 0;
    for (const QChar c : text)
        width += c == u'1' ? 4 : c == u':' || c == u'/' ? 3 : 7;
    return width;
}

} // namespace

TEST(TimeAxis, ReadsTheListsTimeCells) {
    const struct {
        const char* shown;
        std::optional<double> seconds;
    } cases[] = {
        {"01/01/1970 00:00:00", 0},
        {"22/06/2010 14:05:09", 1277215509},
        {" 22/06/2010 14:05:09 ", 1277215509},
        {"29/02/2000 00:00:00", 951782400},
        {"29/02/2011 00:00:00", {}},
        {"22/06/2010 24:00:00", {}},
        {"22/06/2010 23:60:00", {}},
        {"2010/06/22 14:05:09", {}},
        {"22/06/2010 14:05", {}},
        {"22-06-2010 14:05:09", {}},
        {"2a/06/2010 14:05:09", {}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(shownTimeSeconds(QString::fromLatin1(c.shown)), c.seconds) << c.shown;

    RecordTableModel list;
    list.appendRows(
        {"1\t22/06/2010 10:00:00\t5\t", "2\tgarbled\t6\t", "3\t22/06/2010 10:00:04\t7\t"});
    const std::vector<double> times = recordTimes(list, -1, 5);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[0], kMorning);
    EXPECT_TRUE(std::isnan(times[1]));
    EXPECT_EQ(times[2], kMorning + 4);
    EXPECT_EQ(recordTimes(list, 2, 2), std::vector<double>{kMorning + 4});
    EXPECT_TRUE(recordTimes(list, 2, 1).empty());
}

TEST(TimeAxis, TraceBreaksWhereTheMeterStoppedLogging) {
    const struct {
        const char* name;
        std::vector<double> times;
        double interval;
        std::vector<TraceRun> runs;
    } cases[] = {
        {"steady", {0, 1, 2, 3}, 1, {{0, 3}}},
        {"twice the interval joins", {0, 2, 4}, 1, {{0, 2}}},
        {"a pause", {0, 1, 2, 10, 11}, 1, {{0, 2}, {3, 4}}},
        {"just over twice", {0, 60, 180.5, 240}, 60, {{0, 1}, {2, 3}}},
        {"lone records", {0, 3, 6}, 1, {{0, 0}, {1, 1}, {2, 2}}},
        {"the same second twice", {5, 5, 6}, 1, {{0, 2}}},
        {"the clock set back", {100, 101, 50, 51}, 1, {{0, 1}, {2, 3}}},
        {"an unreadable time", {0, 1, kUnreadable, 3, 4}, 1, {{0, 1}, {3, 4}}},
        {"unreadable at the ends", {kUnreadable, 1, 2, kUnreadable}, 1, {{1, 2}}},
        {"no interval known", {0, 5, 100, 90}, 0, {{0, 2}, {3, 3}}},
        {"one record", {7}, 1, {{0, 0}}},
        {"none", {}, 1, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(traceRuns(c.times, c.interval), c.runs) << c.name;
}

TEST(TimeAxis, LabelsAtRoundTimes) {
    const struct {
        const char* name;
        double t0;
        double t1;
        double width;
        double step;
        std::vector<const char*> texts;
    } cases[] = {
        // 64-pixel labels at 10 pixels a second: 10 s apart; those on the ends would overhang.
        {"a minute",
         kMorning,
         kMorning + 60,
         600,
         10,
         {"10:00:10", "10:00:20", "10:00:30", "10:00:40", "10:00:50"}},
        {"an hour",
         kMorning,
         kMorning + 3600,
         600,
         600,
         {"10:10:00", "10:20:00", "10:30:00", "10:40:00", "10:50:00"}},
        {"a narrow hour", kMorning - 1, kMorning + 3600, 200, 1800, {"10:30:00"}},
        // Across midnight the labels say which day.
        {"midnight",
         kBeforeMidnight,
         kBeforeMidnight + 1200,
         600,
         300,
         {"21/06 23:55:00", "22/06 00:00:00", "22/06 00:05:00"}},
        // Ten-day steps count from 1970/01/01; 20/07 would overhang the right end.
        {"a month", kMorning, kMorning + 30 * 86400, 300, 10 * 86400, {"30/06/2010", "10/07/2010"}},
    };
    for (const auto& c : cases) {
        const TimeAxisLabels axis = timeAxisLabels(c.t0, c.t1, 0, c.width, monospaced);
        EXPECT_EQ(axis.step, c.step) << c.name;
        std::vector<QString> texts;
        for (const TimeLabel& label : axis.labels)
            texts.push_back(label.text);
        std::vector<QString> expected(c.texts.begin(), c.texts.end());
        EXPECT_EQ(texts, expected) << c.name;
    }
    // The first label of "a minute" is where 10:00:10 falls.
    const auto minute = timeAxisLabels(kMorning, kMorning + 60, 30, 600, monospaced).labels;
    ASSERT_FALSE(minute.empty());
    EXPECT_EQ(minute[0].x, 130);
}

TEST(TimeAxis, NoLabelsWithoutAnAxis) {
    EXPECT_TRUE(timeAxisLabels(kMorning, kMorning, 0, 600, monospaced).labels.empty());
    EXPECT_TRUE(timeAxisLabels(kMorning + 5, kMorning, 0, 600, monospaced).labels.empty());
    EXPECT_TRUE(timeAxisLabels(kMorning, kMorning + 60, 0, 0, monospaced).labels.empty());
    EXPECT_TRUE(timeAxisLabels(kMorning, kUnreadable, 0, 600, monospaced).labels.empty());
    // Narrower than any label.
    EXPECT_TRUE(timeAxisLabels(kMorning, kMorning + 60, 0, 40, monospaced).labels.empty());
}

// Over spans from seconds to months, axes narrow and wide and two fonts: labels stay inside the
// axis, apart by the gap, in time order, each where its time falls; and a wide enough axis
// always gets at least one.
TEST(TimeAxis, LabelsNeverOverlapNorLeaveTheAxis) {
    const LabelWidth fonts[] = {monospaced, proportional};
    const double gap = 6;
    int axes = 0;
    for (const LabelWidth& font : fonts) {
        for (const double start :
             {kMorning, kMorning + 0.37, kBeforeMidnight + 599.5, kBeforeMidnight - 7 * 3600.0}) {
            for (const double span : {1.5, 7.0, 59.0, 61.0, 777.0, 3599.0, 3601.0, 20000.0, 86399.0,
                                      86401.0, 3 * 86400.0 + 5, 45 * 86400.0, 4000 * 86400.0}) {
                for (const double width : {30.0, 90.0, 150.0, 333.0, 640.0, 1921.0}) {
                    const double left = 57;
                    const TimeAxisLabels axis =
                        timeAxisLabels(start, start + span, left, width, font, gap);
                    ++axes;
                    const auto where = [&] {
                        return ::testing::Message()
                               << std::fixed << start << " + " << span << " over " << width;
                    };
                    double previousRight = -1e300;
                    double previousX = -1e300;
                    for (const TimeLabel& label : axis.labels) {
                        const double half = font(label.text) / 2;
                        ASSERT_GE(label.x - half, left) << where();
                        ASSERT_LE(label.x + half, left + width) << where();
                        ASSERT_GE(label.x - half, previousRight + gap) << where();
                        ASSERT_GT(label.x, previousX) << where();
                        // Round times: a whole multiple of the step, at its place on the axis.
                        const double t = start + (label.x - left) / width * span;
                        const double multiple = t / axis.step;
                        ASSERT_NEAR(multiple, std::round(multiple), 1e-4) << where();
                        previousRight = label.x + half;
                        previousX = label.x;
                    }
                    // Room for three of the longest labels across at least two whole seconds.
                    if (span >= 2 && width >= 3 * font(QStringLiteral("00/00 00:00:00")) + gap) {
                        ASSERT_FALSE(axis.labels.empty()) << where();
                    }
                }
            }
        }
    }
    EXPECT_EQ(axes, 2 * 4 * 13 * 6);
}
