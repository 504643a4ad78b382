#include "common/PauseGate.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(PauseGate, PausesNestAndResumeOnceHoweverTheyEnd) {
    PauseGate gate;
    QStringList switched;
    gate.addSwitch(nullptr, [&](bool on) { switched << (on ? "on" : "off"); });
    {
        const ScopedPause outer(gate);
        try {
            const ScopedPause inner(gate);
            const ScopedPause innermost(gate);
            throw 1;
        } catch (int) {
        }
        EXPECT_TRUE(gate.paused());
        EXPECT_EQ(switched, QStringList{"off"});
    }
    EXPECT_FALSE(gate.paused());
    EXPECT_EQ(switched, QStringList({"off", "on"}));
}
