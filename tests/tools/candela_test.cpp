#include "common/Value.h"
#include "tools/Candela.h"
#include "tools/NumberKeys.h"

#include <gtest/gtest.h>
#include <limits>

TEST(Candela, ReadoutFromReadingAndDistance) {
    const struct {
        const char* unit;
        Value reading;
        const char* distance;
        const char* letter;
        const char* candela;
        bool cleared;
    } cases[] = {
        {"LUX", Value::fromNumber(100), "2", "M", " 400", false},
        {"Fc", Value::fromNumber(100), "2", "F", " 400", false},
        {"LUX", Value::fromText("OL"), "2", "M", "OL", false},
        {"LUX", Value::fromText("OL"), "", "M", "OL", false},
        {"LUX", Value::fromNumber(100), "", "M", "0", false},
        {"LUX", Value::fromNumber(100), ".", "M", "0", false},
        {"LUX", Value::fromNumber(100), "1.5.2", "M", " 225", false},
        {"Fc", Value::fromText("10.5"), "2", "F", " 42", false},
        {"LUX", Value::fromText("0.23"), "0.5", "M", " .0575", false},
        {"LUX", Value::fromNumber(0), "3", "M", " 0", false},
        // Before the first frame there is no reading: it counts as 0.
        {"", Value(), "3", "M", " 0", false},
        // Pasted text reaches the box; a distance that overflows takes the error path.
        {"LUX", Value::fromNumber(19999), "1e200", "M", "0", true},
        {"LUX", Value::fromNumber(0), "1e400", "M", "0", true},
    };
    for (const auto& c : cases) {
        const LightReadout r = lightReadout(c.unit, c.reading, c.distance);
        SCOPED_TRACE(c.distance);
        EXPECT_EQ(r.unit, c.unit);
        EXPECT_EQ(r.reading, c.reading.text());
        EXPECT_EQ(r.distanceUnit, c.letter);
        EXPECT_EQ(r.candela, c.candela);
        EXPECT_EQ(r.clearDistance, c.cleared);
    }
}

TEST(Candela, SignedNumberText) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, " 0"},
        {400, " 400"},
        {-12, "-12"},
        {0.25, " .25"},
        {-0.5, "-.5"},
        {123.456, " 123.456"},
        {312343.75, " 312343.75"},
        {1.0 / 3, " .333333333333333"},
        {2.0 / 3, " .666666666666667"},
        {999999999999999, " 999999999999999"},
        {1e15, " 1E+15"},
        {9.9999999999999999e14, " 1E+15"}, // rounds up to 15 digits
        {1.5e16, " 1.5E+16"},
        {-2.5e20, "-2.5E+20"},
        {1e300, " 1E+300"},
        {0.0001, " .0001"},
        {0.00001, " 1E-05"},
        {1.23e-7, " 1.23E-07"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(signedNumberText(c.value), c.text) << c.value;
}

TEST(NumberKeys, DigitsPointAndBackspaceOnly) {
    for (const char* key : {"0", "5", "9", ".", "\b"})
        EXPECT_TRUE(numberKeyAccepted(QString::fromLatin1(key))) << key;
    for (const char* key : {"-", "+", "a", "e", "E", " ", ",", "\r", "\x1b", "", "12"})
        EXPECT_FALSE(numberKeyAccepted(QString::fromLatin1(key))) << key;
    EXPECT_FALSE(numberKeyAccepted(QString(QChar(0x0663)))); // an Arabic-Indic three
}
