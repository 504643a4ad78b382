#include "common/SharedState.h"

#include <gtest/gtest.h>

TEST(SharedState, PanelLoadStampsTheStartFromThePcClock) {
    const struct {
        QDateTime now;
        const char* date;
        const char* time;
    } cases[] = {
        // Zero-padded fields, day and month not swapped.
        {QDateTime(QDate(2010, 6, 2), QTime(9, 5, 7)), "2010/06/02", "09:05:07"},
        // A 24-hour clock.
        {QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), "1999/12/31", "23:59:59"},
        // Midnight is hour 00, and the milliseconds are dropped.
        {QDateTime(QDate(2024, 2, 29), QTime(0, 0, 0, 999)), "2024/02/29", "00:00:00"},
    };
    for (const auto& c : cases) {
        SharedState s;
        s.loadPanel(c.now);
        EXPECT_EQ(s.StartDate, c.date);
        EXPECT_EQ(s.StartTime, c.time);
        EXPECT_EQ(s.RecordTime, QStringLiteral("%1 %2").arg(c.date, c.time));
    }
}

TEST(SharedState, PortLabel) {
    const struct {
        qint16 comPort;
        const char* device;
        const char* label;
    } cases[] = {
        {4, "", "COM4"},
        {0, "/dev/ttyUSB0", "ttyUSB0"},
        {0, "/dev/pts/7", "pts/7"},
        {0, "Demo", "Demo"},
        {0, "/dev/serial/by-id/usb-Serial_Cable_UART_A50285BI-if00-port0",
         "Serial_Cable_UART_A50285BI"},
    };
    for (const auto& c : cases) {
        SharedState s;
        s.ComPort = c.comPort;
        s.ComDevice = QString::fromLatin1(c.device);
        EXPECT_EQ(portLabel(s), c.label) << c.device;
    }
}
