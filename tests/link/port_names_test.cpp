#include "link/PortNames.h"

#include <QFile>
#include <QTemporaryDir>
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

#ifndef Q_OS_WIN
// luxlog-cli ports: each device once, a COM name with the device it opens.
TEST(PortChoice, PortLinesListEachDeviceOnce) {
    const QList<StablePort> stable = {{"FT232R_A1", "/dev/serial/by-id/usb-FT232R_A1-if00"}};
    const QStringList lines =
        portListLines({"/dev/ttyS0", "/dev/ttyS7", "/dev/ttyUSB0", "/dev/ttyUSB0"}, stable);
    EXPECT_EQ(lines.join(u'|').toStdString(),
              "COM1\t/dev/ttyS0|COM2\t/dev/ttyS1|COM3\t/dev/ttyS2|COM4\t/dev/ttyS3|"
              "COM5\t/dev/ttyS4|COM6\t/dev/ttyS5|COM7\t/dev/ttyS6|COM8\t/dev/ttyS7|"
              "FT232R_A1\t/dev/serial/by-id/usb-FT232R_A1-if00|/dev/ttyUSB0|Demo");
}
#endif

TEST(StablePorts, ListedFromTheFolderAndOpenedByTheirPath) {
    QTemporaryDir dir;
    // Links to a device file, as the system makes them; a short name that another port or
    // another adapter already has is shown by its path.
    for (const char* link : {"usb-Maker_Cable_B2-if00-port0", "usb-Maker_Cable_A1-if00-port0",
                             "usb-Demo-if00-port0", "usb-Twin-if00", "usb-Twin-if00-port0"})
        ASSERT_TRUE(
            QFile::link(QStringLiteral("/dev/null"), dir.filePath(QString::fromLatin1(link))));
    const QString folder = dir.path() + u'/';
    const QList<StablePort> ports = stablePorts(folder);
    QStringList names;
    for (const StablePort& port : ports)
        names << port.name;
    EXPECT_EQ(names,
              QStringList({dir.filePath("usb-Demo-if00-port0"), "Maker_Cable_A1", "Maker_Cable_B2",
                           dir.filePath("usb-Twin-if00"), dir.filePath("usb-Twin-if00-port0")}));

    const auto cable = portChoiceFromText("Maker_Cable_B2", ports);
    ASSERT_TRUE(cable);
    EXPECT_EQ(cable->comPort, 0);
    EXPECT_EQ(cable->device, dir.filePath("usb-Maker_Cable_B2-if00-port0"));
    const auto demo = portChoiceFromText("Demo", ports);
    const auto com2 = portChoiceFromText("COM2", ports);
    ASSERT_TRUE(demo && com2);
    EXPECT_EQ(demo->device, "Demo");
    EXPECT_EQ(com2->comPort, 2);
    EXPECT_FALSE(portChoiceFromText("Maker_Cable", ports));

    const QStringList items = portListItems({"/dev/ttyUSB0"}, ports);
    EXPECT_EQ(items.mid(8, 3), QStringList({dir.filePath("usb-Demo-if00-port0"), "Maker_Cable_A1",
                                            "Maker_Cable_B2"}));
    EXPECT_EQ(items.mid(13), QStringList({"/dev/ttyUSB0", "Demo"}));

    EXPECT_TRUE(stablePorts(dir.filePath("absent")).isEmpty());
}
