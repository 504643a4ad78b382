#include "common/SharedState.h"

#include <gtest/gtest.h>

TEST(SharedState, PanelLoadSetsTheStartValues) {
    SharedState s;
    EXPECT_TRUE(s.Value.isEmpty());
    EXPECT_FALSE(s.Range);
    EXPECT_EQ(s.SetCache.size(), 256u);
    s.loadPanel(QDateTime(QDate(2010, 6, 2), QTime(9, 5, 7)));
    EXPECT_EQ(s.SamplingTime, 2.0f);
    EXPECT_EQ(s.AlarmHighLux, 20000);
    EXPECT_EQ(s.AlarmHighFc, 20000);
    EXPECT_EQ(s.AlarmLowLux, 0);
    EXPECT_FALSE(s.AlarmOn);
    EXPECT_EQ(s.StartDate, "2010/06/02");
    EXPECT_EQ(s.StartTime, "09:05:07");
    EXPECT_EQ(s.RecordTime, "2010/06/02 09:05:07");
}

TEST(SharedState, PortLabel) {
    SharedState s;
    s.ComPort = 4;
    EXPECT_EQ(portLabel(s), "COM4");
    s.ComPort = 0;
    s.ComDevice = "/dev/ttyUSB0";
    EXPECT_EQ(portLabel(s), "ttyUSB0");
    s.ComDevice = "/dev/pts/7";
    EXPECT_EQ(portLabel(s), "pts/7");
    s.ComDevice = "Demo";
    EXPECT_EQ(portLabel(s), "Demo");
    s.ComDevice = "/dev/serial/by-id/usb-Serial_Cable_UART_A50285BI-if00-port0";
    EXPECT_EQ(portLabel(s), "Serial_Cable_UART_A50285BI");
}
