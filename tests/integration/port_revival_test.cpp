#include "link/RealClock.h"
#include "link/SystemSerialPort.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool startMetersim(QProcess& process, const QString& link) {
    process.start(QStringLiteral(METERSIM_PATH), {QStringLiteral("--link"), link});
    if (!process.waitForStarted(5000))
        return false;
    QElapsedTimer t;
    t.start();
    while (!process.canReadLine() && t.elapsed() < 5000)
        process.waitForReadyRead(100);
    return process.canReadLine();
}

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
    QProcess first;
    ASSERT_TRUE(startMetersim(first, link));
    SystemSerialPort port(link);
    RealClock clock;
    ASSERT_TRUE(port.open(nullptr));
    EXPECT_TRUE(frameWithin(port, clock, 2));

    first.kill();
    first.waitForFinished(3000);
    EXPECT_FALSE(frameWithin(port, clock, 1));

    QProcess second;
    ASSERT_TRUE(startMetersim(second, link));
    EXPECT_TRUE(frameWithin(port, clock, 3));
    second.kill();
    second.waitForFinished(3000);
}
