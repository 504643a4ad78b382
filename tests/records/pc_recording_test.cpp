#include "records/PcRecording.h"

#include "panel/SamplingTick.h"
#include "panel/SharedState.h"
#include "records/FileTransfer.h"
#include "records/RecordFile.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(SamplingTime, WholeSecondsWithinLimits) {
    struct Case {
        const char* answer;
        std::optional<float> seconds;
    };
    const Case cases[] = {
        {"0", 1.0f},         {"100000", 86400.0f},  {"2.5", 2.0f},         {"3.5", 4.0f},
        {"0.5", 1.0f},       {"86400.4", 86400.0f}, {"-7", 1.0f},          {" 10 ", 10.0f},
        {"1e3", 1000.0f},    {"", std::nullopt},    {"abc", std::nullopt}, {"12abc", std::nullopt},
        {" ", std::nullopt}, {".", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseSamplingTime(QString::fromLatin1(c.answer)), c.seconds) << c.answer;
}

TEST(SamplingTime, AnswerSetsTheTimeAndSamplesAtOnce) {
    SharedState state;
    state.SamplingTime = 2;
    state.SampleTick = 1;
    ScriptedDialogs dialogs;
    dialogs.inputAnswers = {QStringLiteral("5"), std::nullopt, QString(), QStringLiteral("x")};

    EXPECT_TRUE(enterSamplingTime(state, dialogs));
    EXPECT_EQ(state.SamplingTime, 5.0f);
    EXPECT_EQ(state.SampleTick, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text,
              QStringLiteral("Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) "));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Input Sampling Time"));
    EXPECT_EQ(dialogs.shown[0].defaultText, QStringLiteral("2"));

    // Cancelled, empty and not a number: nothing changes.
    state.SampleTick = 3;
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(enterSamplingTime(state, dialogs));
        EXPECT_EQ(state.SamplingTime, 5.0f);
        EXPECT_EQ(state.SampleTick, 3);
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

// The main window's side of PC recording, as far as the file goes.
class FileSink : public SampleSinks {
public:
    explicit FileSink(RecordWriter& file)
        : m_file(file) {}
    bool writeRecordLine(const QString& line) override { return m_file.writeLine(line); }
    void recordingStopped(StopReason reason) override {
        stops << reason;
        m_file.close();
    }
    void showRecordCount(const QString&) override {}
    void clearRecordingLabels() override {}
    void addListRow(const QString&) override {}
    void listEnded() override {}

    QList<StopReason> stops;

private:
    RecordWriter& m_file;
};

class PcRecordingTest : public ::testing::Test {
protected:
    void SetUp() override {
        state.loadPanel(QDateTime(QDate(2010, 12, 31), QTime(23, 59, 58)));
        state.SamplingTime = 1;
        state.Unit = state.RefUnit = QStringLiteral("LUX");
        state.Range = state.RefRange = 2000;
        state.MeterID = Value::fromNumber(12);
        state.FileName = dir.filePath(QStringLiteral("rec.txt"));
        state.FileSelected = true;
    }
    bool start() {
        state.Recording = startRecordFile(file, state, dialogs);
        return state.Recording;
    }

    QTemporaryDir dir;
    SharedState state;
    ScriptedDialogs dialogs;
    RecordWriter file;
    FileSink sink{file};
};

TEST_F(PcRecordingTest, RangeChangeEndsTheFileWithTheLastReadingBeforeIt) {
    ASSERT_TRUE(start());
    samplingTick(state, QStringLiteral("1230"), sink);
    state.BatLow = true;
    samplingTick(state, QStringLiteral("1231"), sink);
    state.Range = 20000;
    samplingTick(state, QStringLiteral("12"), sink);
    samplingTick(state, QStringLiteral("13"), sink);

    EXPECT_EQ(readAll(state.FileName), "*ID=12 Range:2000/LUX\r\n"
                                       "1\t31/12/2010 23:59:59\t1230\t\r\n"
                                       "2\t01/01/2011 00:00:00\t1231\tLow\r\n");
    EXPECT_EQ(sink.stops, QList<SampleSinks::StopReason>{SampleSinks::StopReason::LimitOrChange});
    EXPECT_FALSE(state.Recording);
    EXPECT_FALSE(file.isOpen());
}

TEST_F(PcRecordingTest, FileThatCannotBeWrittenStopsRecordingWithAMessage) {
    for (const QString& target :
         {QStringLiteral("/dev/full"), dir.filePath(QStringLiteral("none/rec.txt"))}) {
        state.FileName = target;
        state.FileSelected = true;
        dialogs.shown.clear();
        EXPECT_FALSE(start());
        EXPECT_FALSE(state.FileSelected);
        EXPECT_FALSE(file.isOpen());
        ASSERT_EQ(dialogs.messages(), QStringList{kCannotWriteFile});
        EXPECT_EQ(dialogs.shown[0].icon, Dialogs::Icon::Critical);
    }
}

} // namespace
