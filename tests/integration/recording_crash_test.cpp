#include "integration/MeterSim.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Killed without warning while it records, the program leaves a file that holds the header
// and every sample it had taken.
TEST(RecordingCrash, FileHoldsEverySampleTakenBeforeTheKill) {
    MeterSim metersim;
    const QString device = metersim.device();
    ASSERT_TRUE(device.startsWith('/'));

    QTemporaryDir dir;
    const QString path = dir.filePath("crash.txt");
    QProcess recorder;
    recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    recorder.start(QStringLiteral(RECORD_HARNESS_PATH), {device, path});
    ASSERT_TRUE(recorder.waitForStarted(15000));

    int lastShown = 0;
    QElapsedTimer t;
    t.start();
    while (lastShown < 4 && t.elapsed() < 20000) {
        recorder.waitForReadyRead(200);
        while (recorder.canReadLine())
            lastShown = QString::fromLatin1(recorder.readLine()).trimmed().toInt();
    }
    ASSERT_GE(lastShown, 4);
    recorder.kill(); // SIGKILL
    recorder.waitForFinished(15000);
    metersim.kill();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "*ID=1234 Range:2000/LUX\r");
    EXPECT_TRUE(lines.last().isEmpty()) << "the last line is complete";
    const QRegularExpression record(R"(^(\d+)\t\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\t[0-9.]+\t\r$)");
    int number = 0;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const auto m = record.match(QString::fromLatin1(lines[i]));
        ASSERT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(1).toInt(), ++number);
    }
    EXPECT_GE(number, lastShown);
}

#ifdef Q_OS_UNIX
// The disk fills while the program records: recording stops with the message, and the file
// ends at its last complete line, so every line reads back as the record it was.
TEST(RecordingCrash, FullDiskStopsRecordingAtACompleteLine) {
    MeterSim metersim;
    const QString device = metersim.device();
    ASSERT_TRUE(device.startsWith('/'));

    QTemporaryDir dir;
    const QString path = dir.filePath("full.txt");
    QProcess recorder;
    recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Room for the header and a few records; the fourth or so hits the limit in mid-line.
    recorder.start(QStringLiteral(RECORD_HARNESS_PATH), {device, path, "120"});
    ASSERT_TRUE(recorder.waitForStarted(15000));
    QString stopped;
    QElapsedTimer t;
    t.start();
    while (stopped.isEmpty() && t.elapsed() < 30000) {
        recorder.waitForReadyRead(200);
        while (recorder.canReadLine()) {
            const QString line = QString::fromLatin1(recorder.readLine()).trimmed();
            if (line.startsWith("stopped:"))
                stopped = line;
        }
    }
    recorder.kill();
    recorder.waitForFinished(15000);
    metersim.kill();

    EXPECT_EQ(stopped, "stopped: Cannot write the file, check the disk and try again!");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_LE(bytes.size(), 120);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_GE(lines.size(), 3) << bytes.toStdString();
    EXPECT_TRUE(lines.last().isEmpty()) << "the last line is complete: " << bytes.toStdString();
    const QRegularExpression record(R"(^(\d+)\t\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\t[0-9.]+\t\r$)");
    for (qsizetype i = 1; i + 1 < lines.size(); ++i)
        EXPECT_TRUE(record.match(QString::fromLatin1(lines[i])).hasMatch())
            << lines[i].toStdString();
}
#endif
