#include "link/RealClock.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

TEST(RealClock, WaitRunsOtherEventsAndLastsItsTime) {
    RealClock clock;
    bool ticked = false;
    QTimer::singleShot(10, [&] { ticked = true; });
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_TRUE(clock.WaitSeconds(0.08));
    EXPECT_GE(elapsed.nsecsElapsed(), 80'000'000);
    EXPECT_TRUE(ticked);
}

TEST(RealClock, StopEndsNestedWaitsAtOnce) {
    RealClock clock;
    bool innerResult = true;
    QTimer::singleShot(10, [&] {
        QTimer::singleShot(10, [&] { clock.requestStop(); });
        innerResult = clock.WaitSeconds(5);
    });
    QElapsedTimer elapsed;
    elapsed.start();
    EXPECT_FALSE(clock.WaitSeconds(5));
    EXPECT_FALSE(innerResult);
    EXPECT_LT(elapsed.elapsed(), 2000);
    EXPECT_FALSE(clock.WaitSeconds(0.1));
}
