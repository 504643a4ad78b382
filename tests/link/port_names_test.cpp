#include "link/PortNames.h"

#include <gtest/gtest.h>

TEST(PortChoice, NamesMatchExactly) {
    const struct {
        const char* text;
        bool matches;
        qint16 com;
        const char* device;
    } cases[] = {
        {"COM1", true, 1, ""},
        {"Auto", true, 1, ""},
        {"COM4", true, 4, ""},
        {"COM8", true, 8, ""},
        {"COM9", false, 0, ""},
        {"com1", false, 0, ""},
        {"auto", false, 0, ""},
        {"COM", false, 0, ""},
        {" COM1", false, 0, ""},
        {"COM10", false, 0, ""},
        {"Demo", true, 0, "Demo"},
        {"demo", false, 0, ""},
        {"/dev/pts/3", true, 0, "/dev/pts/3"},
        {"ttyUSB0", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const auto& c : cases) {
        const auto choice = portChoiceFromText(QString::fromLatin1(c.text));
        ASSERT_EQ(choice.has_value(), c.matches) << c.text;
        if (choice) {
            EXPECT_EQ(choice->comPort, c.com) << c.text;
            EXPECT_EQ(choice->device, QString::fromLatin1(c.device)) << c.text;
        }
    }
}

TEST(PortChoice, ComPortsOpenTheKernelSerialDevices) {
#ifndef Q_OS_WIN
    EXPECT_EQ(deviceForComPort(1), "/dev/ttyS0");
    EXPECT_EQ(deviceForComPort(8), "/dev/ttyS7");
#endif
}

TEST(PortChoice, ListOffersComPortsThenDevicesThenDemo) {
    const QStringList items = portListItems({"/dev/ttyUSB0", "/dev/ttyACM1"});
    ASSERT_EQ(items.size(), 11);
    EXPECT_EQ(items.first(), "COM1");
    EXPECT_EQ(items[7], "COM8");
    EXPECT_EQ(items[8], "/dev/ttyUSB0");
    EXPECT_EQ(items.last(), "Demo");
}
