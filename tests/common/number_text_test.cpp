#include "common/NumberText.h"
#include "common/Value.h"

#include <gtest/gtest.h>

TEST(LeadingNumber, ReadsTheLeadingNumberWhateverFollows) {
    const struct {
        const char16_t* text;
        double expected;
    } cases[] = {
        {u"", 0},       {u"abc", 0},     {u"12", 12},      {u"  12", 12},       {u"-12.7", -12.7},
        {u"+3", 3},     {u"1 2 3", 123}, {u"2.5.1", 2.5},  {u"10.5 lux", 10.5}, {u"2000/LUX", 2000},
        {u"20/LU", 20}, {u"1e3", 1000},  {u"1E-2x", 0.01}, {u"1e", 1},          {u"1ex", 1},
        {u".5", 0.5},   {u"-", 0},       {u"1A30", 1},     {u"0023", 23},       {u"1,5", 1},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromUtf16(c.text)), c.expected)
            << QString::fromUtf16(c.text).toStdString();
}

TEST(ExactNumber, AcceptsOnlyTextsThatAreWholeNumbers) {
    EXPECT_EQ(exactNumber(u"10.5"), 10.5);
    EXPECT_EQ(exactNumber(u" 1023 "), 1023);
    EXPECT_EQ(exactNumber(u"0.23"), 0.23);
    EXPECT_FALSE(exactNumber(u"OL"));
    EXPECT_FALSE(exactNumber(u"1A.5"));
    EXPECT_FALSE(exactNumber(u""));
    EXPECT_FALSE(exactNumber(u"."));
    EXPECT_FALSE(exactNumber(u"1.2.3"));
    // Digits of other scripts are no digits of a number.
    EXPECT_FALSE(exactNumber(u"\u0663"));
    EXPECT_FALSE(exactNumber(u"1\u0663"));
}

TEST(NumberText, IsTheShortestDecimalText) {
    EXPECT_EQ(numberText(0), "0");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(1230), "1230");
    EXPECT_EQ(numberText(86400), "86400");
    EXPECT_EQ(numberText(0.5), "0.5");
    EXPECT_EQ(numberText(-12), "-12");
    EXPECT_EQ(numberText(0.1 + 0.2), "0.30000000000000004");
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.6), 3);
}

TEST(Value, TextNumberAndComparableForms) {
    EXPECT_TRUE(Value().isEmpty());
    EXPECT_EQ(Value().text(), "");
    EXPECT_FALSE(Value().comparable());
    EXPECT_EQ(Value::fromNumber(230).text(), "230");
    EXPECT_EQ(Value::fromText("10.5").number(), 10.5);
    EXPECT_EQ(Value::fromText("10.5").comparable(), 10.5);
    EXPECT_EQ(Value::fromText("OL").number(), 0);
    EXPECT_FALSE(Value::fromText("OL").comparable());
    // Letters from a garbled frame: never compared, even where the number rule would read an
    // exponent.
    for (const char* garbled : {"10D5", "1.D9", "1E3", "A.12", "12e"})
        EXPECT_FALSE(Value::fromText(garbled).comparable()) << garbled;
    EXPECT_NE(Value::fromNumber(1), Value::fromText("1"));
}

TEST(ReadingNumber, LettersEndTheNumberInsteadOfStartingAnExponent) {
    const struct {
        const char* reading;
        double number;
    } cases[] = {{"1230", 1230}, {"10.5", 10.5}, {"0.23", 0.23}, {"1D5", 1}, {"1.D9", 1},
                 {"10E90", 10},  {"A.12", 0},    {"OL", 0},      {"-OL", 0}, {"12,5", 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(readingNumber(QString::fromLatin1(c.reading)), c.number) << c.reading;
        EXPECT_EQ(Value::fromText(QString::fromLatin1(c.reading)).number(), c.number) << c.reading;
    }
}
