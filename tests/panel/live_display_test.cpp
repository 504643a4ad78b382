#include "common/SharedState.h"
#include "panel/LiveDisplay.h"

#include <gtest/gtest.h>

namespace {

SharedState alarmState(const QString& unit, Value value) {
    SharedState s;
    s.loadPanel(QDateTime(QDate(2010, 6, 22), QTime(14, 5, 9)));
    s.Unit = unit;
    s.UnitFlag = unit == "Fc";
    s.Range = 2000;
    s.Value = std::move(value);
    s.AlarmUnit = unit;
    s.AlarmOn = true;
    s.AlarmHighLux = 500;
    s.AlarmLowLux = 100;
    s.AlarmHighFc = 50;
    s.AlarmLowFc = 10;
    return s;
}

} // namespace

TEST(Alarm, ComparesStrictlyAgainstTheLimitsOfItsUnit) {
    const struct {
        const char* unit;
        Value value;
        bool over, under, beep;
    } cases[] = {
        {"LUX", Value::fromNumber(500), false, false, false}, // equal to a limit is in range
        {"LUX", Value::fromNumber(501), true, false, true},
        {"LUX", Value::fromNumber(100), false, false, false},
        {"LUX", Value::fromNumber(99), false, true, true},
        {"LUX", Value::fromText("500.1"), true, false, true},
        {"Fc", Value::fromText("50.0"), false, false, false},
        {"Fc", Value::fromText("9.99"), false, true, true},
        {"Fc", Value::fromNumber(60), true, false, true},
        {"LUX", Value::fromText("OL"), true, false, false},    // overload blinks without a beep
        {"LUX", Value::fromText("1A.5"), false, false, false}, // no number: not compared
    };
    for (const auto& c : cases) {
        SharedState s = alarmState(QString::fromLatin1(c.unit), c.value);
        LiveDisplay d;
        SCOPED_TRACE(c.value.text().toStdString());
        EXPECT_EQ(updateLiveDisplay(s, d), c.beep);
        EXPECT_EQ(d.over, c.over);
        EXPECT_EQ(d.under, c.under);
    }
}

// An overload blinks the OVER mark like a reading above the limit, without the beep.
TEST(Alarm, MarksBlinkByInvertingOnEveryPoll) {
    for (const auto& [value, beep] :
         {std::pair{Value::fromNumber(900), true}, std::pair{Value::fromText("OL"), false}}) {
        SCOPED_TRACE(value.text().toStdString());
        SharedState s = alarmState("LUX", value);
        LiveDisplay d;
        QList<bool> over;
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(updateLiveDisplay(s, d), beep);
            EXPECT_FALSE(d.under);
            over << d.over;
        }
        EXPECT_EQ(over, QList<bool>({true, false, true, false}));
        s.Value = Value::fromNumber(300);
        updateLiveDisplay(s, d);
        EXPECT_FALSE(d.over);
    }
}

TEST(Alarm, UnitChangeSwitchesTheAlarmOffAndKeepsTheMarks) {
    SharedState s = alarmState("LUX", Value::fromNumber(900));
    LiveDisplay d;
    updateLiveDisplay(s, d);
    ASSERT_TRUE(d.over);
    s.Unit = "Fc";
    EXPECT_FALSE(updateLiveDisplay(s, d));
    EXPECT_FALSE(s.AlarmOn);
    EXPECT_TRUE(d.over);
    updateLiveDisplay(s, d); // alarm off: both hidden
    EXPECT_FALSE(d.over);
}

// An alarm enabled before the first reading has no unit yet: it stands for LUX, so the first
// LUX reading keeps it on and is compared with the LUX limits.
TEST(Alarm, UnknownAlarmUnitCountsAsLux) {
    SharedState s = alarmState("LUX", Value::fromNumber(900));
    s.AlarmUnit.clear();
    LiveDisplay d;
    EXPECT_TRUE(updateLiveDisplay(s, d));
    EXPECT_TRUE(s.AlarmOn);
    EXPECT_TRUE(d.over);
}

TEST(LiveDisplay, ReadingIsStaleWhileThePortLabelSaysSoUntilAFreshFrame) {
    const struct {
        const char* label;
        bool lost;
    } labels[] = {{"No COM", true}, {"Bad data", true}, {"COM3", false}, {"Demo", false}};
    for (const auto& l : labels)
        EXPECT_EQ(readingLostWith(QString::fromLatin1(l.label)), l.lost) << l.label;
    SharedState s;
    s.Value = Value::fromText("320");
    LiveDisplay d;
    d.stale = true;
    updateLiveDisplay(s, d);
    EXPECT_FALSE(d.stale);
}

TEST(LiveDisplay, ShowsFlagsUnitRangeAndValue) {
    SharedState s;
    s.MemFull = true;
    s.HoldOn = true;
    s.BatLow = true;
    s.UnitFlag = 1;
    s.Range = 20;
    s.Value = Value::fromText("0.23");
    LiveDisplay d;
    EXPECT_FALSE(updateLiveDisplay(s, d));
    EXPECT_TRUE(d.full && d.hold && d.battery && d.fc);
    EXPECT_FALSE(d.lux || d.max || d.rec);
    EXPECT_EQ(d.range, "20");
    EXPECT_EQ(d.value, "0.23");
}
