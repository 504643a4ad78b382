// The simulator program on a pseudo-terminal, driven through a real QSerialPort in real time.
#include "integration/MeterSim.h"

#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

class Metersim : public ::testing::Test {
protected:
    void start(const QStringList& arguments) {
        sim.emplace(arguments);
        const QString path = sim->device();
        ASSERT_TRUE(path.startsWith(u'/')) << path.toStdString();
        port.setPortName(path);
        ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
        ASSERT_TRUE(port.setBaudRate(QSerialPort::Baud9600));
        ASSERT_TRUE(port.setDataBits(QSerialPort::Data8));
        ASSERT_TRUE(port.setParity(QSerialPort::NoParity));
        ASSERT_TRUE(port.setStopBits(QSerialPort::OneStop));
        ASSERT_TRUE(port.setFlowControl(QSerialPort::NoFlowControl));
    }

    ~Metersim() override { port.close(); }

    void wait(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    // Writes, waits the link's pause, and returns what came back in that time.
    QByteArray exchange(const QByteArray& bytes) {
        port.write(bytes);
        port.flush();
        wait(200);
        return port.readAll();
    }

    // A control line and metersim's answer to it.
    QByteArray control(const char* line) {
        sim->control(line);
        return sim->nextLine();
    }

    std::optional<MeterSim> sim;
    QSerialPort port;
};

TEST_F(Metersim, AnswersTheLivePollWithWellFormedFrames) {
    start({QStringLiteral("--seed"), QStringLiteral("5")});
    int frames = 0;
    for (int i = 0; i < 6; ++i) {
        const QByteArray reply = exchange(" ");
        if (reply.isEmpty())
            continue; // the " " that woke the meter
        ASSERT_EQ(reply.size(), 5) << reply.toHex(' ').toStdString();
        EXPECT_EQ(reply[0], 0x02);
        EXPECT_EQ(reply[1], 0x20); // LUX, range 2000
        EXPECT_EQ(reply[4], 0x03);
        ++frames;
    }
    EXPECT_GE(frames, 4);
}

TEST_F(Metersim, EveryByteValuePassesTheLineUnchanged) {
    start({QStringLiteral("--control")});
    // CR, LF, XON, XOFF and the interrupt character, in both directions.
    for (const char* write : {"57 00 00 13", "57 00 01 11", "57 00 07 0D", "57 00 08 03"}) {
        exchange(" ");
        exchange(QByteArray::fromHex(write));
    }
    wait(400);
    port.readAll();
    exchange(" ");
    const QByteArray settings = exchange("Y");
    ASSERT_EQ(settings.size(), 9) << settings.toHex(' ').toStdString();
    EXPECT_EQ(settings.left(2).toHex(' '), "11 13");
    EXPECT_EQ(settings.right(2).toHex(' '), "0d 03");

    EXPECT_EQ(control("short on"), "ok");
    EXPECT_EQ(control("range 20"), "ok");
    exchange(" ");
    EXPECT_EQ(exchange(" ").toHex(' '), "02 00 ff");
    sim->process().write("quit\n");
    sim->process().waitForFinished(15000);
    EXPECT_EQ(sim->process().state(), QProcess::NotRunning);
    EXPECT_EQ(sim->process().exitCode(), 0);
}

} // namespace
