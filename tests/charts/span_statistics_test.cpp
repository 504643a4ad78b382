#include "charts/SpanStatistics.h"
#include "common/CalendarTime.h"
#include "common/NumberText.h"
#include "records/RecordTableModel.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Records taken every `interval` seconds from 22/06/2010 10:00:00, or at the given offsets.
std::unique_ptr<RecordTableModel> listOf(const std::vector<QString>& values, int interval,
                                         const std::vector<int>& offsets = {}) {
    auto list = std::make_unique<RecordTableModel>();
    const CalendarTime start{2010, 6, 22, 10, 0, 0};
    for (size_t i = 0; i < values.size(); ++i) {
        const int offset = offsets.empty() ? static_cast<int>(i) * interval : offsets[i];
        list->appendRow(QStringLiteral("%1\t%2\t%3\t")
                            .arg(i + 1)
                            .arg(start.plusSeconds(offset).shown(), values[i]));
    }
    return list;
}

constexpr double kNear = 1e-9;

void expectNear(std::optional<double> actual, std::optional<double> expected, const char* what,
                const char* name) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << name << ": " << what;
    if (expected) {
        EXPECT_NEAR(*actual, *expected, kNear) << name << ": " << what;
    }
}

} // namespace

TEST(SpanStatistics, MeasuresSpansOfSmallLists) {
    const std::optional<double> none;
    struct List {
        std::vector<QString> values;
        int interval;
        std::vector<int> offsets = {}; // the interval's steps when empty
    };
    struct Span {
        long long first, last;
        const char* unit;
        SpanLimits limits;
    };
    struct Counts {
        long long records, overloads, unreadable, numbers;
        const char* from;
        const char* to;
    };
    struct Numbers {
        std::optional<double> minimum, maximum, mean, uniformity, above, below;
        double exposure;
    };
    const struct {
        const char* name;
        List list;
        Span span;
        Counts counts;
        Numbers numbers;
    } cases[] = {
        {"ramp",
         {{"100", "200", "300", "400"}, 60},
         {0, 3, "LUX", {250, 150}},
         {4, 0, 0, 4, "22/06/2010 10:00:00", "22/06/2010 10:03:00"},
         {100, 400, 250, 0.4, 120, 60, 1000.0 * 60 / 3600}},
        {"middle of a ramp",
         {{"100", "200", "300", "400"}, 60},
         {1, 2, "LUX", {250, 150}},
         {2, 0, 0, 2, "22/06/2010 10:01:00", "22/06/2010 10:02:00"},
         {200, 300, 250, 0.8, 60, 0, 500.0 * 60 / 3600}},
        {"constant",
         {{"50.0", "50.0", "50.0"}, 1},
         {0, 2, "LUX", {}},
         {3, 0, 0, 3, "22/06/2010 10:00:00", "22/06/2010 10:00:02"},
         {50, 50, 50, 1, none, none, 150.0 / 3600}},
        // "OL" is above any high limit but in no number.
        {"overloads",
         {{"1500", "OL", "500", " OL"}, 10},
         {0, 3, "LUX", {1000, 600}},
         {4, 2, 0, 2, "22/06/2010 10:00:00", "22/06/2010 10:00:30"},
         {500, 1500, 1000, 0.5, 30, 10, 2000.0 * 10 / 3600}},
        // The half hour the meter did not log holds no light: each record holds one interval.
        {"gap and no reading",
         {{"10", "----", "30"}, 2, {0, 2, 1800}},
         {0, 2, "LUX", {20, {}}},
         {3, 0, 1, 2, "22/06/2010 10:00:00", "22/06/2010 10:30:00"},
         {10, 30, 20, 0.5, 2, none, 40.0 * 2 / 3600}},
        {"foot-candles",
         {{"1.25", "2.75"}, 3600},
         {0, 1, "Fc", {}},
         {2, 0, 0, 2, "22/06/2010 10:00:00", "22/06/2010 11:00:00"},
         {1.25, 2.75, 2, 0.625, none, none, 4}},
        {"only overloads",
         {{"OL", "OL"}, 5},
         {0, 1, "LUX", {100, 10}},
         {2, 2, 0, 0, "22/06/2010 10:00:00", "22/06/2010 10:00:05"},
         {none, none, none, none, 10, 0, 0}},
        // Emin/Eavg of darkness means nothing.
        {"darkness",
         {{"0", "0.0"}, 5},
         {0, 1, "LUX", {}},
         {2, 0, 0, 2, "22/06/2010 10:00:00", "22/06/2010 10:00:05"},
         {0, 0, 0, none, none, none, 0}},
        {"span past both ends",
         {{"1", "2", "3"}, 1},
         {-5, 99, "LUX", {}},
         {3, 0, 0, 3, "22/06/2010 10:00:00", "22/06/2010 10:00:02"},
         {1, 3, 2, 0.5, none, none, 6.0 / 3600}},
        {"empty span",
         {{"1", "2", "3"}, 1},
         {2, 1, "LUX", {5, 1}},
         {0, 0, 0, 0, "", ""},
         {none, none, none, none, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        const auto list = listOf(c.list.values, c.list.interval, c.list.offsets);
        const SpanStatistics s = spanStatistics(*list, c.span.first, c.span.last, c.list.interval,
                                                QString::fromLatin1(c.span.unit), c.span.limits);
        EXPECT_EQ(s.records, c.counts.records) << c.name;
        EXPECT_EQ(s.overloads, c.counts.overloads) << c.name;
        EXPECT_EQ(s.unreadable, c.counts.unreadable) << c.name;
        EXPECT_EQ(s.numbers, c.counts.numbers) << c.name;
        EXPECT_EQ(s.firstTime, QString::fromLatin1(c.counts.from)) << c.name;
        EXPECT_EQ(s.lastTime, QString::fromLatin1(c.counts.to)) << c.name;
        const Numbers& n = c.numbers;
        expectNear(s.minimum, n.minimum, "minimum", c.name);
        expectNear(s.maximum, n.maximum, "maximum", c.name);
        expectNear(s.mean, n.mean, "mean", c.name);
        expectNear(s.uniformity, n.uniformity, "uniformity", c.name);
        expectNear(s.secondsAbove, n.above, "above", c.name);
        expectNear(s.secondsBelow, n.below, "below", c.name);
        EXPECT_NEAR(s.exposure, n.exposure, kNear) << c.name;
    }
}

// The statistics read values in place; they must read each one as the plot does.
TEST(SpanStatistics, ReadsValuesByTheReadingRule) {
    const char16_t* texts[] = {
        u"150",
        u" 15.5",
        u"-3",
        u"+7",
        u"1 5",
        u"- 5",
        u"1D5",
        u"1e5",
        u"0.001",
        u".5",
        u"5.",
        u"1.2.3",
        u"007",
        u"1999.99",
        u"0.1",
        u"0.3",
        u"2.675",
        u"-0",
        u"-OL",
        u"----",
        u"",
        u" ",
        u".",
        u"+",
        u"x5",
        u"１２",
        u"12３4",
        u"9007199254740993",
        u"12345678901234567890123",
        u"0.12345678901234567890123456789",
    };
    for (const char16_t* text : texts) {
        const QString value = QString::fromUtf16(text);
        const auto list = listOf({value}, 1);
        const SpanStatistics s = spanStatistics(*list, 0, 0, 1, QStringLiteral("LUX"));
        qsizetype letter = 0;
        while (letter < value.size() && !value[letter].isLetter())
            ++letter;
        const std::optional<double> expected = leadingNumberIn(QStringView(value).first(letter));
        ASSERT_EQ(s.minimum.has_value(), expected.has_value()) << value.toStdString();
        if (expected) {
            // Bit for bit, the sign of zero included.
            EXPECT_EQ(*s.minimum, readingNumber(value)) << value.toStdString();
            EXPECT_EQ(std::signbit(*s.minimum), std::signbit(*expected)) << value.toStdString();
        }
        EXPECT_EQ(s.unreadable, expected ? 0 : 1) << value.toStdString();
    }
}

TEST(SpanStatistics, PanelTextsInTheirOrder) {
    const QStringList captions = {"Records",    "OL records", "From",    "To",
                                  "Minimum",    "Maximum",    "Mean",    "Uniformity",
                                  "Above high", "Below low",  "Exposure"};
    const struct {
        const char* name;
        std::vector<QString> values;
        int interval;
        const char* unit;
        SpanLimits limits;
        QStringList texts;
    } cases[] = {
        {"lux with limits",
         {"1500", "OL", "500", "OL"},
         10,
         "LUX",
         {1000, 600},
         {"4", "2", "22/06/2010 10:00:00", "22/06/2010 10:00:30", "500 LUX", "1500 LUX",
          "1000.0 LUX", "0.50", "0:00:30", "0:00:10", "5.556 lx·h"}},
        // The finest reading sets the digits shown.
        {"foot-candles for hours",
         {"1.2", "2.75", "3"},
         3600,
         "Fc",
         {{}, 2},
         {"3", "0", "22/06/2010 10:00:00", "22/06/2010 12:00:00", "1.20 Fc", "3.00 Fc", "2.317 Fc",
          "0.52", "", "1:00:00", "6.950 fc·h"}},
        {"a day of bright light",
         {"20000", "19000"},
         43200,
         "LUX",
         {},
         {"2", "0", "22/06/2010 10:00:00", "22/06/2010 22:00:00", "19000 LUX", "20000 LUX",
          "19500.0 LUX", "0.97", "", "", "468000 lx·h"}},
        {"nothing to measure",
         {"OL"},
         1,
         "LUX",
         {100, 10},
         {"1", "1", "22/06/2010 10:00:00", "22/06/2010 10:00:00", "", "", "", "", "0:00:01",
          "0:00:00", ""}},
    };
    for (const auto& c : cases) {
        const auto list = listOf(c.values, c.interval);
        const SpanStatistics s = spanStatistics(*list, 0, list->dataRowCount() - 1, c.interval,
                                                QString::fromLatin1(c.unit), c.limits);
        QStringList shownCaptions;
        QStringList shownTexts;
        for (const CaptionedText& line : spanStatisticsTexts(s)) {
            shownCaptions << line.caption;
            shownTexts << line.text;
        }
        EXPECT_EQ(shownCaptions, captions) << c.name;
        EXPECT_EQ(shownTexts, c.texts) << c.name;
    }
}

TEST(SpanStatistics, DurationsAndExposureUnits) {
    const struct {
        double seconds;
        const char* text;
    } durations[] = {
        {0, "0:00:00"},    {59.4, "0:00:59"},   {59.5, "0:01:00"}, {3599, "0:59:59"},
        {3600, "1:00:00"}, {90061, "25:01:01"}, {-5, "0:00:00"},
    };
    for (const auto& d : durations)
        EXPECT_EQ(durationText(d.seconds), QString::fromLatin1(d.text)) << d.seconds;
    EXPECT_EQ(exposureUnit(u"LUX"), QStringLiteral("lx·h"));
    EXPECT_EQ(exposureUnit(u"Fc"), QStringLiteral("fc·h"));
    EXPECT_EQ(exposureUnit(u"FC"), QStringLiteral("fc·h"));
    EXPECT_EQ(exposureUnit(u"W/m2"), QStringLiteral("W/m2·h"));
}

// Summed plainly, ten thousand readings of 0.1 would drift hundreds of units in the last place
// of their mean.
TEST(SpanStatistics, LongListKeepsEveryDigit) {
    const auto list = listOf(std::vector<QString>(10000, QStringLiteral("0.1")), 1);
    const SpanStatistics s = spanStatistics(*list, 0, 9999, 1, QStringLiteral("LUX"));
    EXPECT_EQ(s.numbers, 10000);
    EXPECT_DOUBLE_EQ(*s.mean, 0.1);
    EXPECT_DOUBLE_EQ(s.exposure, 1000.0 / 3600);
    EXPECT_EQ(s.lastTime, QStringLiteral("22/06/2010 12:46:39"));
}
