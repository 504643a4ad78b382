// The simulator program on a pseudo-terminal, driven through a real QSerialPort in real time.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSerialPort>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Metersim : public ::testing::Test {
protected:
    void start(const QStringList& arguments) {
        process.start(QStringLiteral(METERSIM_PATH), arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
        QElapsedTimer waited;
        waited.start();
        while (!process.canReadLine() && waited.elapsed() < 5000)
            process.waitForReadyRead(100);
        const QString path = QString::fromLocal8Bit(process.readLine()).trimmed();
        ASSERT_TRUE(path.startsWith(u'/')) << path.toStdString();
        port.setPortName(path);
        ASSERT_TRUE(port.open(QIODevice::ReadWrite)) << port.errorString().toStdString();
        ASSERT_TRUE(port.setBaudRate(QSerialPort::Baud9600));
        ASSERT_TRUE(port.setDataBits(QSerialPort::Data8));
        ASSERT_TRUE(port.setParity(QSerialPort::NoParity));
        ASSERT_TRUE(port.setStopBits(QSerialPort::OneStop));
        ASSERT_TRUE(port.setFlowControl(QSerialPort::NoFlowControl));
    }

    ~Metersim() override {
        port.close();
        process.kill();
        process.waitForFinished(5000);
    }

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

    QByteArray control(const QByteArray& line) {
        process.write(line + '\n');
        process.waitForBytesWritten(1000);
        QElapsedTimer waited;
        waited.start();
        while (!process.canReadLine() && waited.elapsed() < 5000)
            process.waitForReadyRead(100);
        return process.readLine().trimmed();
    }

    QProcess process;
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
    process.write("quit\n");
    process.waitForFinished(5000);
    EXPECT_EQ(process.state(), QProcess::NotRunning);
    EXPECT_EQ(process.exitCode(), 0);
}

} // namespace
