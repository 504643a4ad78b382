#include "charts/RangeEntry.h"
#include "common/SharedState.h"

#include <gtest/gtest.h>

namespace {

SharedState graphState() {
    SharedState s;
    s.Unit = QStringLiteral("LUX");
    s.GraphMin = 0;
    s.GraphMax = 2000;
    s.GraphTop = 2000;
    s.GraphBottom = 0;
    s.GraphStep = 1;
    s.GraphLayout = {60, 337, 264, 270};
    return s;
}

SharedState plotState() {
    SharedState s;
    s.PlotUnit = QStringLiteral("Fc");
    s.PlotMin = 0;
    s.PlotMax = 200;
    s.PlotTop = 200;
    s.PlotBottom = 0;
    s.PlotRecords = 100;
    s.PlotFirst = 1;
    s.PlotLast = 100;
    return s;
}

} // namespace

TEST(RangeEntry, TypedKeys) {
    const struct {
        char16_t key;
        bool value;  // the limit boxes
        bool counts; // counts and record numbers
    } cases[] = {
        {u'0', true, true},   {u'9', true, true},        {u'\b', true, true},  {u'-', true, false},
        {u'.', true, false},  {u',', false, false},      {u'e', false, false}, {u'+', false, false},
        {u' ', false, false}, {u'\u0663', false, false}, // an Arabic-Indic three
    };
    for (const auto& c : cases) {
        EXPECT_EQ(keyPasses(QChar(c.key), BoxKeys::Signed), c.value) << int(c.key);
        EXPECT_EQ(keyPasses(QChar(c.key), BoxKeys::Digits), c.counts) << int(c.key);
    }
}

TEST(RangeEntry, GraphDialogOpensWithTheAxisAndPointsAcross) {
    const struct {
        double step;
        const char* counts;
    } cases[] = {{1, "270"}, {10, "27"}, {60, "4"}, {108, "2"}, {270.0 / 7, "7"}};
    for (const auto& c : cases) {
        SharedState s = graphState();
        s.GraphStep = c.step;
        s.GraphTop = 1500.5;
        const GraphRangeTexts texts = graphRangeTexts(s);
        EXPECT_EQ(texts.counts, QString::fromLatin1(c.counts)) << c.step;
        EXPECT_EQ(texts.max, "1500.5");
        EXPECT_EQ(texts.min, "0");
    }
}

TEST(RangeEntry, GraphRangeChecks) {
    const QString valueMessage = QStringLiteral("0 <= LUX <= 2000, try again!");
    const QString countsMessage = QStringLiteral("10 <= Counts <= 864000, try again!");
    const struct {
        const char *max, *min, *counts;
        QString message; // empty: accepted
        double top = 0, bottom = 0, step = 0;
    } cases[] = {
        {"2000", "0", "270", {}, 2000, 0, 1},
        {"1000", "500", "27", {}, 1000, 500, 10},
        {"1000", "1000", "270", valueMessage},
        {"2001", "0", "270", valueMessage},
        {"100", "-1", "270", valueMessage},
        {"-", "0", "270", valueMessage}, // no number reads as 0
        {".", "0", "270", valueMessage},
        {"1.2.3", "0", "270", {}, 1.2, 0, 1},
        {"2000", "0", "9", countsMessage},
        {"2000", "0", "10", {}, 2000, 0, 27},
        {"2000", "0", "864000", {}, 2000, 0, 270.0 / 864000},
        {"2000", "0", "864001", countsMessage},
        {"2000", "0", "", countsMessage},
        // The value range is judged first.
        {"3000", "0", "5", valueMessage},
    };
    for (const auto& c : cases) {
        const auto result = checkGraphRange(
            {QString::fromLatin1(c.max), QString::fromLatin1(c.min), QString::fromLatin1(c.counts)},
            graphState());
        SCOPED_TRACE(std::string(c.max) + " " + c.min + " " + c.counts);
        if (c.message.isEmpty()) {
            ASSERT_TRUE(std::holds_alternative<AcceptedGraphRange>(result))
                << std::get<QString>(result).toStdString();
            const auto& range = std::get<AcceptedGraphRange>(result);
            EXPECT_EQ(range.top, c.top);
            EXPECT_EQ(range.bottom, c.bottom);
            EXPECT_DOUBLE_EQ(range.step, c.step);
        } else {
            ASSERT_TRUE(std::holds_alternative<QString>(result));
            EXPECT_EQ(std::get<QString>(result), c.message);
        }
    }
}

TEST(RangeEntry, RangeMessageNamesTheUnit) {
    SharedState s = graphState();
    s.Unit = QStringLiteral("Fc");
    s.GraphMax = 20;
    EXPECT_EQ(std::get<QString>(checkGraphRange({"30", "0", "270"}, s)),
              "0 <= Fc <= 20, try again!");
}

TEST(RangeEntry, PlotRangeChecks) {
    const QString valueMessage = QStringLiteral("Invalid, 0 <= Fc <= 200");
    const QString recordsMessage = QStringLiteral("Invalid, 0 <= Records <= 100");
    const struct {
        const char *t1, *t2, *r1, *r2;
        QString message;
        double first = 0, last = 0;
    } cases[] = {
        {"0", "200", "1", "100", {}, 1, 100},
        {"10", "20", "5", "6", {}, 5, 6},
        {"-1", "200", "1", "100", valueMessage},
        {"50", "50", "1", "100", valueMessage},
        {"0", "201", "1", "100", valueMessage},
        {"0", "200", "5", "5", recordsMessage},
        {"0", "200", "0", "5", recordsMessage},
        {"0", "200", "", "5", recordsMessage},
        {"0", "200", "1", "101", recordsMessage},
        // Pasted fractions name the records they round to.
        {"0", "200", "2.5", "3.5", {}, 2, 4},
        {"0", "200", "0.4", "3", recordsMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.t1) + " " + c.t2 + " " + c.r1 + " " + c.r2);
        const auto result = checkPlotRange({QString::fromLatin1(c.t1), QString::fromLatin1(c.t2),
                                            QString::fromLatin1(c.r1), QString::fromLatin1(c.r2)},
                                           plotState());
        if (c.message.isEmpty()) {
            ASSERT_TRUE(std::holds_alternative<AcceptedPlotRange>(result))
                << std::get<QString>(result).toStdString();
            const auto& range = std::get<AcceptedPlotRange>(result);
            EXPECT_EQ(range.bottom, QByteArray(c.t1).toDouble());
            EXPECT_EQ(range.first, c.first);
            EXPECT_EQ(range.last, c.last);
        } else {
            ASSERT_TRUE(std::holds_alternative<QString>(result));
            EXPECT_EQ(std::get<QString>(result), c.message);
        }
    }
}

TEST(RangeEntry, EmptyListRejectsEveryRecordRange) {
    SharedState s = plotState();
    s.PlotRecords = 0;
    EXPECT_EQ(std::get<QString>(checkPlotRange({"0", "200", "1", "2"}, s)),
              "Invalid, 0 <= Records <= 0");
}
