// The program against a meter that glitches, falls silent, garbles or is held by another program:
// the simulator on a pseudo-terminal, the real serial port and real time.
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "integration/MeterSim.h"
#include "link/PollCycle.h"
#include "link/RealClock.h"
#include "link/SystemSerialPort.h"
#include "panel/ui/PanelWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class BadLine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(device.startsWith(u'/')) << device.toStdString();
        control("lux 302"); // 02 20 03 02 03: its tail and the next head look like a frame
    }
    void control(const char* line) { metersim.control(line); }

    MeterSim metersim{{QStringLiteral("--control")}};
    QString device = metersim.device();
    RealClock clock;
};

} // namespace

// The late tail of one reading in front of the next whole one: read from its first byte the
// buffer would show 2.20 in range 20 with the battery and MAX marks.
TEST_F(BadLine, LateTailNeverMakesAPhantomReading) {
    SystemSerialPort port(device);
    ASSERT_TRUE(port.open(nullptr));
    SharedState state;
    PollCycle poll(state, port, clock);
    QStringList readings;
    for (int i = 0; i < 12; ++i) {
        if (i % 3 == 1)
            control("late 2");
        if (poll.poll() == PollCycle::Outcome::Decoded)
            readings << state.Value.text() + u' ' + QString::number(state.Range.value_or(0)) +
                            (state.BatLow ? " bat" : "") + (state.MaxOn ? " max" : "");
    }
    ASSERT_GE(readings.size(), 8);
    for (const QString& r : readings)
        EXPECT_EQ(r, "302 2000");
}

// PC recording while the meter falls silent and then garbles its answers: no record repeats a
// reading nobody measured, the time stamps of later records stay true, and the port label says
// what is wrong within two seconds.
TEST_F(BadLine, SilenceAndGarbleRecordNoStaleSamples) {
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context{state, clock, dialogs, printer};
    state.ComDevice = device;
    PanelWindow panel(context, [](const AppContext& c) {
        return std::make_unique<SystemSerialPort>(c.state.ComDevice);
    });
    ASSERT_TRUE(panel.Form_Load());
    clock.WaitSeconds(1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec.txt"));
    dialogs.inputAnswers = {QStringLiteral("1")};
    panel.Toolbar1_ButtonClick(QStringLiteral("PC"));
    dialogs.saveAnswers = {path};
    panel.Toolbar1_ButtonClick(QStringLiteral("Save"));
    ASSERT_TRUE(state.Recording) << dialogs.messages().join(u'|').toStdString();
    auto* portLabel = panel.findChild<QLabel*>(QStringLiteral("LblCOM"));

    // The script runs on timers: a silent meter holds the poll tick in its "No COM" loop, in
    // which only events go on.
    struct Fault {
        const char* name;
        const char* label;
        double on;
        double shownAt = -1;
    };
    Fault faults[] = {{"silent", "No COM", 3}, {"badframe", "Bad data", 10}};
    QElapsedTimer t;
    t.start();
    for (Fault& f : faults) {
        QTimer::singleShot(int(f.on * 1000),
                           [&] { control(qPrintable(QString("%1 on").arg(f.name))); });
        QTimer::singleShot(int((f.on + 4) * 1000),
                           [&] { control(qPrintable(QString("%1 off").arg(f.name))); });
    }
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const double now = t.elapsed() / 1000.0;
        for (Fault& f : faults)
            if (f.shownAt < 0 && now > f.on && portLabel->text() == f.label)
                f.shownAt = now - f.on;
    });
    watch.start(50);
    clock.WaitSeconds(17);
    watch.stop();
    for (const Fault& f : faults) {
        EXPECT_GE(f.shownAt, 0) << f.name;
        EXPECT_LE(f.shownAt, 5) << f.name; // 1.6 s of attempts, with room for a busy machine
    }
    panel.Toolbar1_ButtonClick(QStringLiteral("Save"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    const QRegularExpression record(
        R"(^(\d+)\t(\d\d)/(\d\d)/(\d{4}) (\d\d):(\d\d):(\d\d)\t302\t\r$)");
    QList<QDateTime> stamps;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const auto m = record.match(QString::fromLatin1(lines[i]));
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(1).toInt(), i);
        stamps << QDateTime(
            QDate(m.captured(4).toInt(), m.captured(3).toInt(), m.captured(2).toInt()),
            QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.captured(7).toInt()));
    }
    // About 17 s of recording at 1 s, of which about 8 s without a valid reading.
    ASSERT_GE(stamps.size(), 5);
    EXPECT_LE(stamps.size(), 13);
    qint64 longestGap = 0;
    for (qsizetype i = 1; i < stamps.size(); ++i)
        longestGap = std::max(longestGap, stamps[i - 1].secsTo(stamps[i]));
    EXPECT_GE(longestGap, 3);
}

// A device another program holds is reported as busy, without the advice on groups that only a
// permission problem needs.
TEST_F(BadLine, BusyDeviceSaysItIsBusy) {
    QSerialPort holder;
    holder.setPortName(device);
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    SystemSerialPort port(device);
    QString error;
    EXPECT_FALSE(port.open(&error));
    EXPECT_EQ(error, device + " is in use by another program: close that program and try again.");
    holder.close();
    EXPECT_TRUE(port.open(&error));
}
