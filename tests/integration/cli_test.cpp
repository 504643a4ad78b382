// luxlog-cli as a user runs it: a child process without a display, against the simulator on a
// pseudo-terminal, compared with what the windows show and write for the same meter.
#include "common/AppContext.h"
#include "common/CalendarTime.h"
#include "common/SharedState.h"
#include "common/TextTableModel.h"
#include "integration/MeterSim.h"
#include "link/PortNames.h"
#include "link/RealClock.h"
#include "link/SystemSerialPort.h"
#include "logger/ui/FloodPanel.h"
#include "logger/ui/MemoryWindow.h"
#include "panel/ui/PanelWindow.h"
#include "panel/ui/PortWindow.h"
#include "records/ui/DataList.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "support/TestContext.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif
#include <memory>

namespace {

// metersim with control lines, at a steady reading.
struct Sim : MeterSim {
    Sim()
        : MeterSim({QStringLiteral("--control")}) {
        control("lux 302");
    }
    QString device = MeterSim::device();
};

// The program as a child process, with no display to be had.
struct Cli {
    // `inChild` runs in the child before the program starts (limits, signals).
    explicit Cli(const QStringList& arguments, const std::function<void()>& inChild = {}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        process.setProcessEnvironment(environment);
        if (inChild)
            process.setChildProcessModifier(inChild);
        process.start(QStringLiteral(LUXLOG_CLI_PATH), arguments);
        process.waitForStarted(15000);
    }
    ~Cli() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(15000);
        }
    }
    // The exit status once it has ended; -1 when it was still running or crashed.
    int finish(int ms = 30000) {
        if (process.state() != QProcess::NotRunning && !process.waitForFinished(ms))
            return -1;
        if (process.exitStatus() != QProcess::NormalExit)
            return -1;
        collect();
        return process.exitCode();
    }
    void collect() {
        out += process.readAllStandardOutput();
        err += QString::fromLocal8Bit(process.readAllStandardError());
    }
    QProcess process;
    QByteArray out;
    QString err;
};

// Runs events until `done` holds or `ms` pass.
bool waitUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return true;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Complete record lines after the header.
int recordsIn(const QString& path) {
    return std::max<int>(0, static_cast<int>(fileBytes(path).count("\r\n")) - 1);
}

const QRegularExpression
    kRecordLine(QStringLiteral(R"(^(\d+)\t(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d)\t302\t$)"));

// The one line "record" ends with, whatever ended it: records written, samples left out, first
// and last stamp, why. Checked against the file it wrote.
void expectSummary(const QString& err, const QString& path, const QString& why) {
    const QRegularExpression line(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d luxlog-cli: (.+): (\d+) )"
                       R"(records?, (\d+) left out, (\S+ \S+) to (\S+ \S+); (.+)$)"),
        QRegularExpression::MultilineOption);
    const QStringList lines = err.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    const auto m = line.match(lines.last());
    ASSERT_TRUE(m.hasMatch()) << err.toStdString();
    EXPECT_EQ(m.captured(1), QFileInfo(path).fileName());
    EXPECT_EQ(m.captured(6), why);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> records = file.readAll().trimmed().split('\n').mid(1);
    ASSERT_FALSE(records.isEmpty());
    EXPECT_EQ(m.captured(2).toInt(), records.size());
    EXPECT_EQ(m.captured(4), QString::fromLatin1(records.first().split('\t').value(1)));
    EXPECT_EQ(m.captured(5), QString::fromLatin1(records.last().split('\t').value(1)));
}

QDateTime shownTime(const QString& shown) {
    return QDateTime::fromString(shown, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

// The record lines are numbered from 1 without gaps and read 302; the file ends with a whole
// line. Gives the lines' time stamps.
QList<QDateTime> checkRecordFile(const QString& path) {
    const QByteArray bytes = fileBytes(path);
    EXPECT_TRUE(bytes.endsWith("\r\n")) << bytes.right(40).toStdString();
    const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.value(0), "*ID=1234 Range:2000/LUX");
    QList<QDateTime> stamps;
    for (int i = 1; i + 1 < lines.size(); ++i) {
        const auto m = kRecordLine.match(lines[i]);
        EXPECT_TRUE(m.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(m.captured(1).toInt(), i);
        stamps << shownTime(m.captured(2));
    }
    return stamps;
}

// Every time stamp of a record file moved by `seconds`, by calendar arithmetic.
QString shiftedStamps(const QString& file, qint64 seconds) {
    QStringList lines = file.split(QStringLiteral("\r\n"));
    for (int i = 1; i < lines.size(); ++i) {
        QStringList cells = lines[i].split(u'\t');
        if (cells.size() < 2)
            continue;
        const QDateTime at = shownTime(cells[1]);
        const auto held = CalendarTime::parse(at.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
        if (held)
            cells[1] = held->plusSeconds(seconds).shown();
        lines[i] = cells.join(u'\t');
    }
    return lines.join(QStringLiteral("\r\n"));
}

// The main window on a device, as the program runs it.
struct Window : RealTimeContext {
    explicit Window(const QString& device) {
        state.ComDevice = device;
        panel = std::make_unique<PanelWindow>(context, [](const AppContext& c) {
            return std::make_unique<SystemSerialPort>(c.state.ComDevice);
        });
        loaded = panel->Form_Load();
        QElapsedTimer t;
        t.start();
        while (loaded && !state.Range && t.elapsed() < 15000)
            clock.WaitSeconds(0.1);
    }
    template <typename T = QLabel> T* control(const QWidget* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<PanelWindow> panel;
    bool loaded = false;
};

} // namespace

// Each reading line holds what the main window shows for the same meter: value, unit, range and
// marks, after the PC's time with its offset from UTC.
TEST(Cli, ReadPrintsWhatThePanelShows) {
    Sim sim;
    for (const char* line : {"battery on", "hold on", "max on"})
        sim.control(line);
    const QDateTime started = QDateTime::currentDateTime();
    Cli cli({"read", "--port", sim.device, "--count", "3"});
    ASSERT_EQ(cli.finish(), 0) << cli.err.toStdString();
    const QDateTime ended = QDateTime::currentDateTime();
    const QStringList lines = QString::fromLatin1(cli.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << cli.out.toStdString();

    Window window(sim.device);
    ASSERT_TRUE(window.loaded && window.state.Range);
    window.clock.WaitSeconds(0.5);
    const QWidget* panel = window.panel.get();
    const auto visible = [&](const char* name) {
        return window.control(panel, name)->isVisibleTo(panel);
    };
    QString shown = window.control(panel, "LblValue")->text() + u' ' +
                    (visible("LblLUX") ? "LUX" : "Fc") + u' ' +
                    window.control(panel, "LblRange")->text();
    const std::pair<const char*, const char*> marks[] = {{"ImgBT", "BAT"},
                                                         {"LblH", "HOLD"},
                                                         {"LblMax", "MAX"},
                                                         {"LblFull", "FULL"},
                                                         {"LblR", "REC"}};
    for (const auto& [label, mark] : marks) {
        if (visible(label))
            shown += u' ' + QString::fromLatin1(mark);
    }
    EXPECT_EQ(shown, "302 LUX 2000 BAT HOLD MAX");

    const QRegularExpression time(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d$)"));
    for (const QString& line : lines) {
        const QString stamp = line.section(u' ', 0, 0);
        EXPECT_TRUE(time.match(stamp).hasMatch()) << stamp.toStdString();
        const QDateTime at = QDateTime::fromString(stamp, Qt::ISODate);
        EXPECT_GE(at.secsTo(ended), 0);
        EXPECT_LE(started.secsTo(at), 5);
        EXPECT_EQ(line.section(u' ', 1), shown);
    }
}

// The same meter recorded by the program and by the main window: the runs start at different
// moments, so the window's time stamps are moved by the difference of the first ones; then the
// two files agree byte for byte.
TEST(Cli, RecordWritesWhatThePanelWrites) {
    Sim cliSim;
    Sim windowSim;
    QTemporaryDir dir;
    const QString cliPath = dir.filePath("cli.txt");
    const QString windowPath = dir.filePath("window.txt");
    Cli cli({"record", cliPath, "--port", cliSim.device, "--every", "1", "--for", "6s"});

    Window window(windowSim.device);
    ASSERT_TRUE(window.loaded && window.state.Range);
    window.dialogs.inputAnswers = {QStringLiteral("1")};
    window.panel->Toolbar1_ButtonClick(QStringLiteral("PC"));
    window.dialogs.saveAnswers = {windowPath};
    window.panel->Toolbar1_ButtonClick(QStringLiteral("Save"));
    ASSERT_TRUE(window.state.Recording);
    window.clock.WaitSeconds(4.5);
    window.panel->Toolbar1_ButtonClick(QStringLiteral("Save"));

    ASSERT_EQ(cli.finish(), 0) << cli.err.toStdString();
    expectSummary(cli.err, cliPath, QStringLiteral("--for ran out"));
    EXPECT_EQ(cli.err.count(u'\n'), 1) << cli.err.toStdString();
    const QList<QDateTime> cliStamps = checkRecordFile(cliPath);
    const QList<QDateTime> windowStamps = checkRecordFile(windowPath);
    ASSERT_GE(cliStamps.size(), 4);
    ASSERT_GE(windowStamps.size(), 4);
    for (int i = 1; i < cliStamps.size(); ++i)
        EXPECT_EQ(cliStamps[i - 1].secsTo(cliStamps[i]), 1);

    const qsizetype lines = std::min(cliStamps.size(), windowStamps.size()) + 1;
    const QString cliText = QString::fromLatin1(fileBytes(cliPath));
    const QString windowText = shiftedStamps(QString::fromLatin1(fileBytes(windowPath)),
                                             windowStamps[0].secsTo(cliStamps[0]));
    EXPECT_EQ(cliText.split(QStringLiteral("\r\n")).mid(0, lines),
              windowText.split(QStringLiteral("\r\n")).mid(0, lines));
}

// A meter that falls silent is reported and nothing is recorded for it; recording goes on when
// it answers, and ends, as the window's does, when the meter changes its range.
TEST(Cli, RecordRidesOutSilenceAndEndsOnARangeChange) {
    Sim sim;
    QTemporaryDir dir;
    const QString path = dir.filePath("day.txt");
    Cli cli({"record", path, "--port", sim.device, "--every", "1"});
    ASSERT_TRUE(waitUntil([&] { return recordsIn(path) >= 2; }, 20000));

    sim.control("silent on");
    ASSERT_TRUE(waitUntil(
        [&] {
            cli.process.waitForReadyRead(10);
            cli.collect();
            return cli.err.contains("the meter does not answer");
        },
        20000))
        << cli.err.toStdString();
    const int silentFrom = recordsIn(path);
    QThread::msleep(1500);
    EXPECT_EQ(recordsIn(path), silentFrom);
    sim.control("silent off");
    ASSERT_TRUE(waitUntil([&] { return recordsIn(path) >= silentFrom + 2; }, 20000))
        << "records " << recordsIn(path) << ", running " << (cli.process.state() != 0)
        << ", said: " << (cli.collect(), cli.err.toStdString());
    sim.control("range 200");

    EXPECT_EQ(cli.finish(20000), 0);
    EXPECT_TRUE(cli.err.contains("the meter answers again")) << cli.err.toStdString();
    expectSummary(cli.err, path,
                  QStringLiteral("recording ended: the meter changed from 2000 LUX to 200 LUX"));
    const QList<QDateTime> stamps = checkRecordFile(path);
    qint64 longestGap = 0;
    for (int i = 1; i < stamps.size(); ++i)
        longestGap = std::max(longestGap, stamps[i - 1].secsTo(stamps[i]));
    EXPECT_GE(longestGap, 3);
}

// SIGTERM ends a recording cleanly; SIGKILL leaves every line written before it whole.
TEST(Cli, RecordSurvivesSigtermAndSigkill) {
    Sim termSim;
    Sim killSim;
    QTemporaryDir dir;
    const QString termPath = dir.filePath("term.txt");
    const QString killPath = dir.filePath("kill.txt");
    Cli term({"record", termPath, "--port", termSim.device, "--every", "1"});
    Cli kill({"record", killPath, "--port", killSim.device, "--every", "1"});
    ASSERT_TRUE(
        waitUntil([&] { return recordsIn(termPath) >= 3 && recordsIn(killPath) >= 3; }, 20000));

    const int written = recordsIn(killPath);
    kill.process.kill();
    kill.process.waitForFinished(15000);
    const int shown = recordsIn(termPath);
    term.process.terminate();
    EXPECT_EQ(term.finish(20000), 0) << term.err.toStdString();
    expectSummary(term.err, termPath, QStringLiteral("stopped"));

    EXPECT_GE(checkRecordFile(termPath).size(), shown);
    EXPECT_GE(checkRecordFile(killPath).size(), written);
}

// "read" and "download" in the export's columns: what "read" prints and what "convert" makes of
// the downloaded set.
TEST(Cli, ReadAndDownloadWriteCsvAndJsonLines) {
    Sim sim;
    Cli csv({"read", "--port", sim.device, "--count", "2", "--format", "csv"});
    ASSERT_EQ(csv.finish(), 0) << csv.err.toStdString();
    const QStringList rows = QString::fromLatin1(csv.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 3) << csv.out.toStdString();
    EXPECT_EQ(rows[0], "number,time,value,reading,unit,range,battery_low,meter_id,local_time");
    const QRegularExpression row(QStringLiteral(
        R"(^(1|2),(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)[+-]\d\d:\d\d,302,302,LUX,2000,false,,\2$)"));
    EXPECT_TRUE(row.match(rows[1]).hasMatch()) << rows[1].toStdString();
    EXPECT_TRUE(row.match(rows[2]).hasMatch()) << rows[2].toStdString();

    // Two simulators hold the same sets.
    Sim fileSim;
    Sim jsonSim;
    QTemporaryDir dir;
    const QString set = dir.filePath("set1.txt");
    Cli record({"download", "1", "--port", fileSim.device, "-o", set});
    Cli jsonl({"download", "1", "--port", jsonSim.device, "--format", "jsonl"});
    ASSERT_EQ(record.finish(), 0) << record.err.toStdString();
    ASSERT_EQ(jsonl.finish(), 0) << jsonl.err.toStdString();
    Cli converted({"convert", set, "--to", "jsonl"});
    ASSERT_EQ(converted.finish(), 0) << converted.err.toStdString();
    EXPECT_EQ(jsonl.out, converted.out);
    EXPECT_TRUE(jsonl.out.startsWith("{\"number\":1,")) << jsonl.out.left(80).toStdString();
}

// "sets" as CSV and JSON Lines: the set list alone, each set's start a time with the offset of
// the zone it runs in.
TEST(Cli, SetsWriteCsvAndJsonLines) {
    Sim csvSim;
    Sim jsonSim;
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Asia/Kolkata");
    Cli csv({"sets", "--port", csvSim.device, "--format", "csv"});
    Cli jsonl({"sets", "--port", jsonSim.device, "--format", "jsonl"});
    if (zone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    ASSERT_EQ(csv.finish(), 0) << csv.err.toStdString();
    EXPECT_EQ(csv.out, "set,start,range,unit,interval,records,meter_id,local_start\n"
                       "1,2024-05-08T09:30:00+05:30,2000,LUX,2,20,1234,2024-05-08T09:30:00\n"
                       "2,2024-05-09T18:00:00+05:30,200,Fc,60,500,1234,2024-05-09T18:00:00\n"
                       "3,2024-05-12T06:15:30+05:30,20000,LUX,10,3000,1234,2024-05-12T06:15:30\n");
    ASSERT_EQ(jsonl.finish(), 0) << jsonl.err.toStdString();
    const QList<QByteArray> lines = jsonl.out.split('\n');
    ASSERT_EQ(lines.size(), 4) << jsonl.out.toStdString();
    EXPECT_EQ(lines[1], R"({"set":2,"start":"2024-05-09T18:00:00+05:30","range":200,"unit":"Fc",)"
                        R"("interval":60,"records":500,"meter_id":"1234"})");
    EXPECT_EQ(lines[3], "");
}

#ifdef Q_OS_LINUX
// On a terminal "record" keeps one status line, redrawn in place, before its summary.
TEST(Cli, RecordKeepsAStatusLineOnATerminal) {
    Sim sim;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    QTemporaryDir dir;
    const QString path = dir.filePath("status.txt");
    QProcess cli;
    cli.setStandardErrorFile(QString::fromLocal8Bit(ptsname(master)));
    cli.start(QStringLiteral(LUXLOG_CLI_PATH),
              {"record", path, "--port", sim.device, "--every", "1", "--for", "3s"});
    ASSERT_TRUE(cli.waitForStarted(15000));
    QByteArray err;
    const auto drain = [&] {
        char buffer[4096];
        for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
            err.append(buffer, n);
    };
    ASSERT_TRUE(waitUntil(
        [&] {
            drain();
            return cli.state() == QProcess::NotRunning;
        },
        30000));
    drain();
    ::close(master);
    EXPECT_EQ(cli.exitCode(), 0) << err.toStdString();
    const QRegularExpression status(
        QStringLiteral(R"(\rstatus\.txt: \d+ records?, \d+ left out, last 302 LUX, 0:00:0\d)"));
    EXPECT_TRUE(status.match(QString::fromLocal8Bit(err)).hasMatch()) << err.toStdString();
    expectSummary(QString::fromLocal8Bit(err).remove(u'\r'), path, QStringLiteral("--for ran out"));
}
#endif

// A stop before "read" printed its count of readings leaves the job undone: exit status 130;
// without a count a stop is its way to end.
TEST(Cli, ReadStoppedBeforeItsCountSaysSo) {
    const struct {
        QStringList count;
        int status;
    } cases[] = {{{"--count", "5"}, 130}, {{}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Sim sim;
        sim.control("silent on");
        Cli cli(QStringList{"read", "--port", sim.device} + c.count);
        // Once it has said the meter is silent, it is waiting for readings that do not come.
        ASSERT_TRUE(waitUntil(
            [&] {
                cli.collect();
                return !cli.err.isEmpty();
            },
            20000));
        cli.process.terminate();
        EXPECT_EQ(cli.finish(), c.status) << cli.err.toStdString();
        EXPECT_EQ(cli.err.contains("interrupted"), c.status == 130) << cli.err.toStdString();
        EXPECT_EQ(cli.out, QByteArray());
    }
}

// Without a count "read" goes on until it is stopped, each reading on its way at once, through a
// pipe too.
TEST(Cli, ReadIsLiveThroughAPipe) {
    Sim sim;
    Cli cli({"read", "--port", sim.device});
    ASSERT_TRUE(waitUntil(
        [&] {
            cli.collect();
            return cli.out.contains('\n');
        },
        20000))
        << cli.err.toStdString();
    cli.process.terminate();
    EXPECT_EQ(cli.finish(), 0) << cli.err.toStdString();
    EXPECT_TRUE(cli.out.contains(" 302 LUX 2000")) << cli.out.toStdString();
}

#ifdef Q_OS_LINUX
// A disk that fills while "record" writes: it says so, fails, and the file ends at its last
// complete line.
TEST(Cli, RecordFailsOnAFullDisk) {
    Sim sim;
    QTemporaryDir dir;
    const QString path = dir.filePath("full.txt");
    Cli cli({"record", path, "--port", sim.device, "--every", "1", "--for", "60s"}, [] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100, 100};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    EXPECT_EQ(cli.finish(40000), 1) << cli.err.toStdString();
    EXPECT_TRUE(cli.err.contains("Cannot write the file")) << cli.err.toStdString();
    const QByteArray bytes = fileBytes(path);
    EXPECT_TRUE(bytes.endsWith("\t302\t\r\n")) << bytes.toStdString();
    EXPECT_LE(bytes.size(), 100);
}
#endif

// "sets" lists what the data logger window shows; "download" writes, to a file or onto standard
// output, what the downloaded-data list saves.
TEST(Cli, LoggerSetsAndDownloadMatchTheDataLoggerWindow) {
    Sim setsSim;
    Sim fileSim;
    Sim stdoutSim;
    Sim windowSim;
    QTemporaryDir dir;
    const QString cliPath = dir.filePath("cli-set2.txt");
    const QString windowPath = dir.filePath("window-set2.txt");
    Cli sets({"sets", "--port", setsSim.device});
    Cli toFile({"download", "2", "--port", fileSim.device, "-o", cliPath});
    Cli toStdout({"download", "2", "--port", stdoutSim.device});

    Window window(windowSim.device);
    ASSERT_TRUE(window.loaded && window.state.Range);
    window.panel->Toolbar1_ButtonClick(QStringLiteral("Memory"));
    auto* memory = window.panel->windows().open<MemoryWindow>(QStringLiteral("Memory"));
    ASSERT_TRUE(memory);
    const auto* setList = qobject_cast<const TextTableModel*>(memory->gridSet()->model());
    ASSERT_TRUE(setList);
    QString listed =
        QStringLiteral("ID\t%1\nInt.(sec.)\t%2\n%3\nMemory Size\t%4 %\n")
            .arg(window.control(memory, "LblID")->text(), window.control(memory, "LblIntv")->text(),
                 window.control(memory, "LblMemory")->text())
            .arg(window.control<FloodPanel>(memory, "MSize")->floodPercent(), 0, 'f', 2);
    for (int row = 0; row < setList->rowCount(); ++row)
        listed += setList->rowView(row).toString() + u'\n';
    ASSERT_EQ(setList->rowCount(), 4);

    memory->GridSet_Click(setList->index(2, 0));
    auto* list = window.panel->windows().open<DataList>(QStringLiteral("DataList"));
    ASSERT_TRUE(list);
    window.dialogs.saveAnswers = {windowPath};
    list->Toolbar1_ButtonClick(QStringLiteral("Save"));
    const QByteArray saved = fileBytes(windowPath);
    ASSERT_TRUE(saved.startsWith("*ID=1234 Range:200/Fc\r\n")) << saved.left(60).toStdString();
    EXPECT_EQ(saved.count("\r\n"), 501);

    ASSERT_EQ(sets.finish(), 0) << sets.err.toStdString();
    EXPECT_EQ(QString::fromLatin1(sets.out), listed);
    ASSERT_EQ(toFile.finish(), 0) << toFile.err.toStdString();
    EXPECT_EQ(fileBytes(cliPath), saved);
    ASSERT_EQ(toStdout.finish(), 0) << toStdout.err.toStdString();
    EXPECT_EQ(toStdout.out, saved);

    // The set as CSV and JSON Lines, and the CSV back into the very same record file.
    const QString csvPath = dir.filePath("set2.csv");
    Cli toCsv({"convert", cliPath, "--to", "csv", "-o", csvPath});
    ASSERT_EQ(toCsv.finish(), 0) << toCsv.err.toStdString();
    const QList<QByteArray> rows = fileBytes(csvPath).split('\n');
    ASSERT_EQ(rows.size(), 502); // header, 500 records, nothing after the last CR LF
    EXPECT_EQ(rows[0], "number,time,value,reading,unit,range,battery_low,meter_id,local_time\r");
    EXPECT_TRUE(rows[1].startsWith("1,")) << rows[1].toStdString();
    EXPECT_TRUE(rows[1].endsWith(",Fc,200,false,1234,2024-05-09T18:00:00\r"))
        << rows[1].toStdString();
    Cli toJson({"convert", csvPath, "--to", "jsonl"});
    ASSERT_EQ(toJson.finish(), 0) << toJson.err.toStdString();
    EXPECT_EQ(toJson.out.count('\n'), 500);
    EXPECT_TRUE(toJson.out.startsWith("{\"number\":1,")) << toJson.out.left(80).toStdString();
    Cli back({"convert", csvPath, "--to", "record"});
    ASSERT_EQ(back.finish(), 0) << back.err.toStdString();
    EXPECT_EQ(back.out, saved);
}

// The meter's clock as the clock window shows it, set to the PC clock on request; refused, as
// the window is, while the meter logs.
TEST(Cli, ClockShowsAndSetsTheMeterClock) {
    Sim sim;
    Sim loggingSim;
    loggingSim.control("logging on");
    Cli refused({"clock", "--port", loggingSim.device});
    Cli cli({"clock", "--port", sim.device, "--set"});
    ASSERT_EQ(cli.finish(), 0) << cli.err.toStdString();
    const QDateTime now = QDateTime::currentDateTime();
    const QRegularExpression shown(QStringLiteral(
        R"(^Meter Time\t(\d\d/\d\d/\d\d \d\d:\d\d:\d\d)\nPC System Time\t(\d\d/\d\d/\d\d \d\d:\d\d:\d\d)\n$)"));
    const auto m = shown.match(QString::fromLatin1(cli.out));
    ASSERT_TRUE(m.hasMatch()) << cli.out.toStdString();
    const auto time = [](const QString& text) {
        return QDateTime::fromString(text, QStringLiteral("MM/dd/yy HH:mm:ss")).addYears(100);
    };
    EXPECT_LE(std::abs(time(m.captured(1)).secsTo(time(m.captured(2)))), 2);
    EXPECT_LE(std::abs(time(m.captured(2)).secsTo(now)), 3);

    EXPECT_EQ(refused.finish(), 1);
    EXPECT_EQ(refused.out, QByteArray());
    EXPECT_EQ(refused.err, "luxlog-cli: Recording mode, stop record then try again !\n");
}

// Mistakes on the command line, ports that cannot be had and the help texts: a clear message
// on standard error and a non-zero status, or the text on standard output.
TEST(Cli, ErrorsAndHelpTexts) {
    Sim sim;
    QTemporaryDir dir;
    const QString existing = dir.filePath("existing.txt");
    QFile(existing).open(QIODevice::WriteOnly);
    const QString badCsv = dir.filePath("bad.csv");
    {
        QFile file(badCsv);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("number,time,value,reading,unit,range,battery_low,meter_id\r\n"
                   "1,2010-06-22T14:05:09+02:00,5,5,LUX,2000,false,7\r\n"
                   "2,2010-06-22T14:05:10+02:00,5,5,LUX,2000,false\r\n");
    }
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } cases[] = {
        {{}, 2, "luxlog-cli: name a command"},
        {{"plot"}, 2, "luxlog-cli: there is no command \"plot\""},
        {{"read"}, 2, "luxlog-cli: name the meter's port with --port"},
        {{"read", "--port", "Demo", "--count", "0"}, 2, "--count takes a whole number above 0"},
        {{"download", "0", "--port", "Demo"}, 2, "N is a set number from 1 to 255"},
        {{"record", existing, "--port", "Demo", "--every", "86400"}, 1, "exists already"},
        {{"record", dir.filePath("x"), "--port", "Demo", "--every", "86401"}, 2, "--every takes"},
        {{"record", dir.filePath("x"), "--port", "Demo", "--for", "0"}, 2, "--for takes"},
        {{"download", "3", "--port", "Demo", "-o", dir.filePath("set3.txt")}, 0, ""},
        {{"read", "--port", "Demo", "--speed", "2"}, 2, "Unknown option 'speed'"},
        {{"record", "--port", "Demo"}, 2, "usage: luxlog-cli record FILE"},
        {{"record", dir.filePath("x"), "--port", "Demo", "--every", "0.5"}, 2, "--every takes"},
        {{"record", dir.filePath("x"), "--port", "Demo", "--for", "1 day"}, 2, "--for takes"},
        {{"record", existing, "--port", "Demo"}, 1, "exists already"},
        {{"record", dir.path(), "--port", "Demo"}, 1, "is no file name"},
        {{"download", "1", "--port", "Demo", "-o", dir.filePath("no/x")}, 1, "there is no folder"},
        {{"download", "256", "--port", "Demo"}, 2, "N is a set number from 1 to 255"},
        {{"sets", "--port", "com1"}, 1, "\"com1\" names no port"},
        {{"sets", "--port", "/dev/no-such-meter"}, 1, "No device found at /dev/no-such-meter"},
        {{"download", "9", "--port", "Demo"}, 1, "the meter holds no set 9, only sets 1 to 3"},
        {{"read", "--port", "Demo", "--format", "xml"}, 2, "--format takes text, csv or jsonl"},
        {{"sets", "--port", "Demo", "--format", "csv,"}, 2, "--format takes text, csv or jsonl"},
        {{"convert", existing}, 2, "--to takes csv, jsonl or record"},
        {{"convert", existing, "--to", "xlsx"}, 2, "--to takes csv, jsonl or record"},
        {{"convert", dir.filePath("none.txt"), "--to", "csv"}, 1, "none.txt"},
        {{"convert", existing, "--to", "csv", "-o", existing}, 1, "OUT is FILE itself"},
        {{"convert", badCsv, "--to", "record"}, 1, "bad.csv:3: 7 fields where a row has 8"},
    };
    for (const auto& c : cases) {
        Cli cli(c.arguments);
        EXPECT_EQ(cli.finish(), c.status) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(cli.err.contains(QString::fromUtf8(c.message)))
            << c.arguments.join(' ').toStdString() << ": " << cli.err.toStdString();
        EXPECT_EQ(cli.out, QByteArray());
    }

    QSerialPort holder;
    holder.setPortName(sim.device);
    ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
    Cli busy({"read", "--port", sim.device});
    EXPECT_EQ(busy.finish(), 1);
    EXPECT_EQ(busy.err, "luxlog-cli: cannot open " + sim.device + ": " + sim.device +
                            " is in use by another program: close that program and try again.\n");

    for (const char* command :
         {"ports", "read", "record", "sets", "download", "clock", "convert"}) {
        Cli help({command, "--help"});
        EXPECT_EQ(help.finish(), 0);
        EXPECT_TRUE(help.out.startsWith(QByteArray("Usage: luxlog-cli ") + command))
            << help.out.toStdString();
    }
}

// "ports" lists the names the start window offers, a COM port with the device it opens.
TEST(Cli, PortsAreThoseOfTheStartWindow) {
    Cli cli({"ports"});
    ASSERT_EQ(cli.finish(), 0);
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    SharedState state;
    const QList<StablePort> stable = stablePorts();
    const PortWindow window(state, devices, stable);
    const auto* choices = window.findChild<QComboBox*>(QStringLiteral("TxtCOM"));
    ASSERT_TRUE(choices);
    // Each device once: one that a COM name opens already is not listed again by its path.
    QString offered;
    QStringList listed;
    for (int i = 0; i < choices->count(); ++i) {
        const QString name = choices->itemText(i);
        const auto choice = portChoiceFromText(name, stable);
        const QString device =
            choice->comPort > 0 ? "/dev/ttyS" + QString::number(i) : choice->device;
        if (device == name && listed.contains(device))
            continue;
        listed << device;
        offered += name + (device == name ? QString() : u'\t' + device) + '\n';
    }
    EXPECT_EQ(QString::fromLocal8Bit(cli.out), offered);
}

#ifdef Q_OS_LINUX
// The program needs no widgets: it links no widget library and runs on "Demo" with no display.
TEST(Cli, RunsWithoutWidgetsOrDisplay) {
    const QString ldd = QStandardPaths::findExecutable(QStringLiteral("ldd"));
    if (!ldd.isEmpty()) {
        QProcess libraries;
        libraries.start(ldd, {QStringLiteral(LUXLOG_CLI_PATH)});
        ASSERT_TRUE(libraries.waitForFinished(30000));
        const QByteArray linked = libraries.readAllStandardOutput();
        EXPECT_TRUE(linked.contains("libQt6Core")) << linked.toStdString();
        EXPECT_FALSE(linked.contains("libQt6Widgets")) << linked.toStdString();
    }
    Cli cli({"read", "--port", "Demo", "--count", "2"});
    ASSERT_EQ(cli.finish(), 0) << cli.err.toStdString();
    EXPECT_EQ(cli.out.count('\n'), 2);
    EXPECT_TRUE(cli.out.contains(" LUX 2000")) << cli.out.toStdString();
}
#endif
