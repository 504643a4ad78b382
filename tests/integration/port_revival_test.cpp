#include "link/RealClock.h"
#include "link/SystemSerialPort.h"

#include "integration/MeterSim.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Sends " " every 0.2 s, as the "No COM" loop does, until a live frame comes or time runs out.
bool frameWithin(SystemSerialPort& port, RealClock& clock, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.2) {
        port.discardInput();
        port.output(" ");
        clock.WaitSeconds(0.2);
        const QByteArray bytes = port.input();
        if (bytes.size() >= 5 && bytes[0] == '\x02' && bytes[4] == '\x03')
            return true;
    }
    return false;
}

} // namespace

// A device that goes away and comes back under the same name (a USB adapter pulled out and
// plugged in again) is found again without restarting the program.
TEST(PortRevival, DeviceThatComesBackIsOpenedAgain) {
    QTemporaryDir dir;
    const QString link = dir.filePath("meter");
    auto first = std::make_unique<MeterSim>(QStringList{QStringLiteral("--link"), link});
    ASSERT_FALSE(first->device().isEmpty());
    SystemSerialPort port(link);
    RealClock clock;
    ASSERT_TRUE(port.open(nullptr));
    EXPECT_TRUE(frameWithin(port, clock, 15));

    // Unplugged: the device and its name go away (metersim, killed, leaves its link behind,
    // which could lead to another test's simulator once the pseudo-terminal's number is free).
    first.reset();
    QFile::remove(link);
    // An absence: a busy machine can only make this pass sooner, never fail it.
    EXPECT_FALSE(frameWithin(port, clock, 1));

    const MeterSim second({QStringLiteral("--link"), link});
    ASSERT_FALSE(second.device().isEmpty());
    EXPECT_TRUE(frameWithin(port, clock, 15));
}
