#include "link/MeterExchange.h"
#include "support/SimulatedMeter.h"
#include "tools/AlarmSettings.h"

#include <gtest/gtest.h>

TEST(AlarmSettings, LimitChecks) {
    const struct {
        const char* high;
        const char* low;
        std::optional<double> h, l;
    } cases[] = {
        {"20000", "0", 20000, 0}, {"500", "500", {}, {}},
        {"20000.5", "0", {}, {}}, {"20000", "19999.9", 20000, 19999.9},
        {"10", "20", {}, {}},     {"", "0", {}, {}},
        {"100", "", {}, {}},      {".", "0", {}, {}},
        {"100", "..", {}, {}},    {"1.2.3", "0", 1.2, 0},
        {"100", "-1", {}, {}}, // pasted
        {"1e3", "5", 1000, 5},    {"1e999", "5", {}, {}},
    };
    for (const auto& c : cases) {
        const auto limits = alarmLimits(c.high, c.low);
        ASSERT_EQ(limits.has_value(), c.h.has_value()) << c.high << " " << c.low;
        if (limits) {
            EXPECT_EQ(limits->high, *c.h);
            EXPECT_EQ(limits->low, *c.l);
        }
    }
}

namespace {

struct EnableAlarm : ::testing::Test, SimulatedMeter {
    bool enable(const char* high, const char* low, const std::function<bool()>& cancelled = {}) {
        return enableAlarm(context, high, low, cancelled,
                           [this](bool on) { poll << (on ? "switching" : "switched"); });
    }
};

} // namespace

TEST_F(EnableAlarm, OtherUnitStoresItsLimitsAndSwitchesTheMeter) {
    state.AlarmUnit = "Fc";
    EXPECT_TRUE(enable("100", "10"));
    EXPECT_TRUE(state.AlarmOn);
    EXPECT_EQ(state.AlarmHighFc, 100);
    EXPECT_EQ(state.AlarmLowFc, 10);
    EXPECT_EQ(state.AlarmHighLux, 20000);
    EXPECT_EQ(state.AlarmLowLux, 0);
    // The wake passes, then " " and the switch with no pause after it.
    ASSERT_GE(port.writes.size(), 2u);
    EXPECT_EQ(port.writes.back(), "46 08");
    EXPECT_EQ(port.writes[port.writes.size() - 2], "20");
    EXPECT_TRUE(engine.unitFc());
    EXPECT_EQ(poll, QStringList({"switching", "off", "on", "switched"}));
    EXPECT_TRUE(dialogs.shown.empty());
}

// A unit not yet known (the window opened before the first reading) counts as LUX: enabling
// LUX limits then sends no unit switch, which would turn the meter to Fc.
TEST_F(EnableAlarm, SameOrUnknownUnitSendsNothing) {
    const struct {
        const char* alarmUnit;
        const char* liveUnit;
    } cases[] = {{"LUX", "LUX"}, {"", ""}, {"LUX", ""}, {"", "LUX"}};
    for (const auto& c : cases) {
        state.AlarmUnit = c.alarmUnit;
        state.Unit = c.liveUnit;
        state.AlarmOn = false;
        EXPECT_TRUE(enable("500", "50")) << c.alarmUnit << "/" << c.liveUnit;
        EXPECT_TRUE(state.AlarmOn);
        EXPECT_EQ(state.AlarmHighLux, 500);
        EXPECT_EQ(state.AlarmLowLux, 50);
        EXPECT_TRUE(port.writes.empty()) << c.alarmUnit << "/" << c.liveUnit;
        EXPECT_TRUE(poll.isEmpty());
    }
}

TEST_F(EnableAlarm, InvalidSettingsChangeNothing) {
    state.AlarmUnit = "Fc";
    state.AlarmOn = true;
    for (const auto& [high, low] : {std::pair{"500", "500"}, {".", "0"}, {"", "0"}}) {
        EXPECT_FALSE(enable(high, low));
        EXPECT_TRUE(state.AlarmOn);
        EXPECT_EQ(state.AlarmHighFc, 20000);
    }
    ASSERT_EQ(dialogs.messages(), QStringList(3, "Invalid settings, try again!"));
    EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);
    EXPECT_TRUE(port.writes.empty());
    EXPECT_TRUE(poll.isEmpty());
}

TEST_F(EnableAlarm, SilentMeterIsReportedAndTheAlarmStaysOff) {
    state.AlarmUnit = "Fc";
    engine.setSilent(true);
    const double started = clock.monotonic();
    EXPECT_FALSE(enable("100", "10"));
    EXPECT_NEAR(clock.monotonic() - started, 5.0, 0.3);
    EXPECT_FALSE(state.AlarmOn);
    EXPECT_EQ(dialogs.messages(),
              QStringList({"Meter not responding, check the connection and try again!"}));
    EXPECT_EQ(poll, QStringList({"switching", "off", "on", "switched"}));
}

TEST_F(EnableAlarm, ClosedWindowEndsTheSwitchQuietly) {
    state.AlarmUnit = "Fc";
    EXPECT_FALSE(enable("100", "10", [] { return true; }));
    EXPECT_FALSE(state.AlarmOn);
    EXPECT_FALSE(engine.unitFc());
    EXPECT_TRUE(dialogs.shown.empty());
}
