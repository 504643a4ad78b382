#include "panel/SamplingTime.h"

#include "common/SharedState.h"
#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(SamplingTime, WholeSecondsWithinLimits) {
    struct Case {
        const char* answer;
        std::optional<float> seconds;
    };
    const Case cases[] = {
        {"0", 1.0f},
        {"100000", 86400.0f},
        {"2.5", 2.0f},
        {"3.5", 4.0f},
        {"0.5", 1.0f},
        {"86400.4", 86400.0f},
        {"-7", 1.0f},
        {" 10 ", 10.0f},
        {"1e3", 1000.0f},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {" ", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"x5", std::nullopt},
        // The leading number counts; what follows it is ignored.
        {"5s", 5.0f},
        {"2,5", 2.0f},
        {"12abc", 12.0f},
        {"7 sec", 7.0f},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseSamplingTime(QString::fromLatin1(c.answer)), c.seconds) << c.answer;
}

TEST(SamplingTime, AnswerSetsTheTimeAndSamplesAtOnce) {
    SharedState state;
    state.SamplingTime = 2;
    state.SampleTick = 1;
    ScriptedDialogs dialogs;
    dialogs.inputAnswers = {QStringLiteral("5"), std::nullopt, QString(), QStringLiteral("x")};

    EXPECT_TRUE(enterSamplingTime(state, dialogs));
    EXPECT_EQ(state.SamplingTime, 5.0f);
    EXPECT_EQ(state.SampleTick, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) "));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Input Sampling Time"));
    EXPECT_EQ(dialogs.shown[0].defaultText, QStringLiteral("2"));

    // Cancelled, empty and not a number: nothing changes.
    state.SampleTick = 3;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(enterSamplingTime(state, dialogs));
        EXPECT_EQ(state.SamplingTime, 5.0f);
        EXPECT_EQ(state.SampleTick, 3);
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

} // namespace
