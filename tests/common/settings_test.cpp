#include "common/RememberedState.h"
#include "common/Settings.h"
#include "common/SharedState.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct SettingsTest : ::testing::Test {
    SettingsTest() { started.loadPanel(QDateTime(QDate(2010, 6, 22), QTime(14, 5, 9))); }
    std::unique_ptr<Settings> open(const QString& file = "luxlog.conf") {
        return std::make_unique<Settings>(dir.filePath(file),
                                          [this](const QString& reason) { warnings << reason; });
    }

    QTemporaryDir dir;
    QStringList warnings;
    SharedState started; // the usual start-up values
};

} // namespace

// What the user set survives the end of the program: a new run reads it back.
TEST_F(SettingsTest, WhatTheUserSetIsReadBackByTheNextRun) {
    {
        auto settings = open();
        SharedState s = started;
        s.SamplingTime = 5;
        s.AlarmHighLux = 500;
        s.AlarmLowLux = 100;
        s.AlarmHighFc = 40;
        s.AlarmLowFc = 2.5;
        s.AlarmUnit = "LUX";
        s.AlarmOn = true;
        rememberSamplingTime(s, settings.get());
        rememberAlarm(s, settings.get());
    } // the program ends without any further write
    auto settings = open();
    SharedState s = started;
    recallStartValues(s, settings.get());
    EXPECT_EQ(s.SamplingTime, 5.0f);
    EXPECT_EQ(s.AlarmHighLux, 500);
    EXPECT_EQ(s.AlarmLowLux, 100);
    EXPECT_EQ(s.AlarmHighFc, 40);
    EXPECT_EQ(s.AlarmLowFc, 2.5);
    EXPECT_EQ(s.AlarmUnit, "LUX");
    EXPECT_TRUE(s.AlarmOn);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();

    // --reset-settings: the usual values again.
    settings->clear();
    SharedState reset = started;
    recallStartValues(reset, open().get());
    EXPECT_EQ(reset.SamplingTime, 2.0f);
    EXPECT_EQ(reset.AlarmHighLux, 20000);
    EXPECT_FALSE(reset.AlarmOn);
}

// A value someone edited into nonsense leaves the usual one in place.
TEST_F(SettingsTest, ValuesOutOfTheirRangeAreIgnored) {
    const struct {
        const char* text; // the file's body
        float sampling;
        double highLux;
        bool alarmOn;
    } cases[] = {
        {"[sampling]\nseconds=0\n", 2, 20000, false},
        {"[sampling]\nseconds=86401\n", 2, 20000, false},
        {"[sampling]\nseconds=abc\n", 2, 20000, false},
        {"[sampling]\nseconds=nan\n", 2, 20000, false},
        {"[sampling]\nseconds=86400\n", 86400, 20000, false},
        // A limit without its partner is no pair.
        {"[alarm]\nhighLux=500\n", 2, 20000, false},
        {"[alarm]\nhighLux=500\nlowLux=100\n", 2, 500, false},
        // An alarm unit that is neither leaves the alarm off.
        {"[alarm]\nunit=mW\non=true\n", 2, 20000, false},
        {"[alarm]\nunit=Fc\non=true\n", 2, 20000, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        // A file of its own each: within a process, settings files are cached by name.
        const QString name = QStringLiteral("edited%1.conf").arg(++n);
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.text);
        file.close();
        SharedState s = started;
        recallStartValues(s, open(name).get());
        EXPECT_EQ(s.SamplingTime, c.sampling);
        EXPECT_EQ(s.AlarmHighLux, c.highLux);
        EXPECT_EQ(s.AlarmOn, c.alarmOn);
    }
}

// A damaged or unwritable settings file never stops the program: the usual values hold, the
// reason is said once, and a damaged file is not written over.
TEST_F(SettingsTest, DamagedOrUnwritableFileGivesTheUsualValuesAndOneLine) {
    static const char bytes[] = "\x00\xff\xfe[[[sampling\nseconds=5\n=\n[a\nx=\"open";
    const QByteArray damaged(bytes, sizeof bytes - 1);
    {
        QFile file(dir.filePath("damaged.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    auto settings = open("damaged.conf");
    SharedState s = started;
    recallStartValues(s, settings.get());
    EXPECT_EQ(s.SamplingTime, 2.0f);
    s.SamplingTime = 7;
    rememberSamplingTime(s, settings.get());
    rememberAlarm(s, settings.get());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("damaged")) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(dir.filePath("damaged.conf"))) << warnings[0].toStdString();
    QFile file(dir.filePath("damaged.conf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), damaged);

    // A folder that cannot be made (a file stands in its way).
    warnings.clear();
    QFile blocker(dir.filePath("blocked"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto unwritable = open("blocked/luxlog/luxlog.conf");
    rememberSamplingTime(s, unwritable.get());
    rememberAlarm(s, unwritable.get());
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("cannot be written")) << warnings[0].toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath("blocked/luxlog/luxlog.conf")));
}

// The graph's range comes back only for the unit and range it was set on, and within them.
TEST_F(SettingsTest, GraphRangeComesBackOnlyForItsUnitAndRange) {
    auto settings = open();
    SharedState set = started;
    set.Unit = "LUX";
    set.Range = 2000;
    set.GraphTop = 1500;
    set.GraphBottom = 0;
    set.GraphStep = 0.5;
    rememberGraphRange(set, set, settings.get());

    const struct {
        const char* unit;
        qint16 range;
        double max; // GraphMax of the graph that opens
        double top;
    } cases[] = {
        {"LUX", 2000, 2000, 1500},
        {"Fc", 2000, 2000, 2000},
        {"LUX", 200, 200, 200},
        {"LUX", 2000, 1000, 1000}, // out of the graph's limits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " " + std::to_string(c.range));
        SharedState s = started;
        s.Unit = c.unit;
        s.Range = c.range;
        s.GraphMax = c.max;
        s.GraphMin = 0;
        s.GraphTop = c.max;
        s.GraphBottom = 0;
        s.GraphStep = 1;
        recallGraphRange(s, s, settings.get());
        EXPECT_EQ(s.GraphTop, c.top);
        EXPECT_EQ(s.GraphStep, c.top == 1500 ? 0.5 : 1.0);
    }
}

TEST(FileKinds, EachFilterKeepsItsOwnFolder) {
    EXPECT_EQ(fileKindKey("Text Files (*.txt)"), "folders/TextFilestxt");
    EXPECT_EQ(fileKindKey("PNG picture (*.png);;BMP picture (*.bmp)"),
              "folders/PNGpicturepngBMPpicturebmp");
    EXPECT_EQ(fileKindKey(""), "folders/any");
}
