#include "cli/PublishMessages.h"
#include "cli/PublishQueue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

PublishSample sampleAt(const char* time, const char* reading = "302") {
    return PublishSample::make(QString::fromLatin1(time), QString::fromLatin1(reading), u"LUX",
                               2000, false, false, false);
}

} // namespace

TEST(PublishMessages, BrokerAddressesTakeHostsPortsAndBracketedIpv6) {
    const struct {
        const char* text;
        bool tls;
        const char* shown; // empty: refused
    } cases[] = {
        {"127.0.0.1", false, "127.0.0.1:1883"},
        {"127.0.0.1", true, "127.0.0.1:8883"},
        {"broker.lan:1884", false, "broker.lan:1884"},
        {"broker.lan:1884", true, "broker.lan:1884"},
        {"[::1]", false, "[::1]:1883"},
        {"[::1]:8884", true, "[::1]:8884"},
        {"fe80::1", false, "[fe80::1]:1883"},
        {"h:65535", false, "h:65535"},
        {"", false, ""},
        {":1883", false, ""},
        {"h:", false, ""},
        {"h:0", false, ""},
        {"h:65536", false, ""},
        {"h:+1", false, ""},
        {"h:18 83", false, ""},
        {"[::1", false, ""},
        {"[::1]x", false, ""},
        {"[]:1883", false, ""},
        {"a host", false, ""},
    };
    for (const auto& c : cases) {
        const std::optional<BrokerAddress> address =
            BrokerAddress::parse(QString::fromLatin1(c.text), c.tls);
        EXPECT_EQ(address ? address->text().toStdString() : std::string(), c.shown) << c.text;
    }
}

TEST(PublishMessages, TopicPrefixesRefuseWildcardsAndLoseTrailingSlashes) {
    const struct {
        const char* text;
        const char* prefix; // empty: refused
    } cases[] = {
        {"luxlog", "luxlog"},
        {"site/hall-2/", "site/hall-2"},
        {"a//", "a"},
        {"", ""},
        {"/", ""},
        {"lux/+/x", ""},
        {"lux/#", ""},
        {"$SYS/x", ""},
    };
    for (const auto& c : cases) {
        const std::optional<QString> prefix = topicPrefix(QString::fromLatin1(c.text));
        EXPECT_EQ(prefix.value_or(QString()).toStdString(), c.prefix) << c.text;
    }
}

TEST(PublishMessages, MeterTopicsFollowPrefixAndId) {
    const MeterTopics topics{QStringLiteral("site/hall"), QStringLiteral("12")};
    EXPECT_EQ(topics.state(), u"site/hall/12/state");
    EXPECT_EQ(topics.availability(), u"site/hall/12/availability");
    EXPECT_EQ(topics.discovery(), u"homeassistant/sensor/luxlog_12/illuminance/config");
}

TEST(PublishMessages, StateMessagesAreTheExportRowWithoutNumberPlusHoldAndMax) {
    const struct {
        PublishSample sample;
        const char* json;
    } cases[] = {
        {PublishSample::make(u"2026-12-07T14:05:09+01:00", u"302", u"LUX", 2000, false, false,
                             false),
         R"({"time":"2026-12-07T14:05:09+01:00","value":302,"reading":"302","unit":"LUX",)"
         R"("range":2000,"battery_low":false,"meter_id":"12","hold":false,"max":false})"},
        {PublishSample::make(u"2026-12-07T14:05:10-05:30", u"OL", u"Fc", 20000, true, true, false),
         R"({"time":"2026-12-07T14:05:10-05:30","value":null,"reading":"OL","unit":"Fc",)"
         R"("range":20000,"battery_low":true,"meter_id":"12","hold":true,"max":false})"},
        {PublishSample::make(u"2026-12-07T14:05:11+00:00", u"10.5", u"LUX", std::nullopt, false,
                             false, true),
         R"({"time":"2026-12-07T14:05:11+00:00","value":10.5,"reading":"10.5","unit":"LUX",)"
         R"("range":null,"battery_low":false,"meter_id":"12","hold":false,"max":true})"},
    };
    for (const auto& c : cases) {
        const QByteArray json = stateMessage(c.sample, QStringLiteral("12"));
        EXPECT_EQ(json.toStdString(), c.json);
        EXPECT_TRUE(QJsonDocument::fromJson(json).isObject()) << c.json;
    }
}

// Home Assistant's illuminance class takes lx only: a meter in foot-candles is a plain sensor.
TEST(PublishMessages, DiscoveryConfigNamesTheMeterAndItsUnit) {
    const MeterTopics topics{QStringLiteral("luxlog"), QStringLiteral("7")};
    const QJsonObject lux = QJsonDocument::fromJson(discoveryMessage(topics, u"LUX")).object();
    EXPECT_EQ(lux.value(u"unique_id").toString(), u"luxlog_7");
    EXPECT_EQ(lux.value(u"device_class").toString(), u"illuminance");
    EXPECT_EQ(lux.value(u"unit_of_measurement").toString(), u"lx");
    EXPECT_EQ(lux.value(u"state_topic").toString(), u"luxlog/7/state");
    EXPECT_EQ(lux.value(u"availability_topic").toString(), u"luxlog/7/availability");
    EXPECT_EQ(lux.value(u"value_template").toString(), u"{{ value_json.value }}");
    const QJsonObject device = lux.value(u"device").toObject();
    EXPECT_EQ(device.value(u"name").toString(), u"luxlog meter 7");
    EXPECT_EQ(device.value(u"identifiers").toArray().first().toString(), u"luxlog_7");

    const QJsonObject fc = QJsonDocument::fromJson(discoveryMessage(topics, u"Fc")).object();
    EXPECT_FALSE(fc.contains(u"device_class"));
    EXPECT_EQ(fc.value(u"unit_of_measurement").toString(), u"fc");
}

TEST(PublishQueue, SamplesGoOutInOrderWithinTheWindow) {
    PublishQueue queue(100, 3);
    for (const char* t : {"t1", "t2", "t3", "t4", "t5"})
        queue.push(sampleAt(t));
    QStringList handed;
    int mid = 10;
    while (const PublishSample* next = queue.next()) {
        handed << next->timeText();
        queue.handed(mid++);
    }
    EXPECT_EQ(handed, QStringList({"t1", "t2", "t3"}));
    // An acknowledgement out of turn frees a place in the window, but t1 stays kept until its
    // own acknowledgement comes.
    EXPECT_TRUE(queue.acknowledged(11));
    EXPECT_EQ(queue.size(), 5);
    ASSERT_NE(queue.next(), nullptr);
    EXPECT_EQ(queue.next()->timeText(), u"t4");
    queue.handed(13);
    EXPECT_TRUE(queue.acknowledged(10));
    EXPECT_EQ(queue.size(), 3); // t3, t4 in flight, t5 waiting
    EXPECT_FALSE(queue.acknowledged(11)) << "an acknowledgement counts once";
    EXPECT_FALSE(queue.acknowledged(99));
    EXPECT_EQ(queue.inFlight(), 2);
    EXPECT_EQ(queue.waiting(), 1);
}

// The samples in flight are the client library's to deliver: a full queue drops the oldest of
// those still waiting.
TEST(PublishQueue, AFullQueueDropsTheOldestWaitingSample) {
    PublishQueue queue(4, 2);
    queue.push(sampleAt("t1"));
    queue.push(sampleAt("t2"));
    queue.handed(1);
    queue.handed(2);
    EXPECT_FALSE(queue.push(sampleAt("t3")));
    EXPECT_FALSE(queue.push(sampleAt("t4")));
    const std::optional<PublishSample> first = queue.push(sampleAt("t5"));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->timeText(), u"t3");
    const std::optional<PublishSample> second = queue.push(sampleAt("t6"));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->timeText(), u"t4");
    EXPECT_EQ(queue.dropped(), 2);
    EXPECT_EQ(queue.size(), 4);
    queue.acknowledged(1);
    queue.acknowledged(2);
    QStringList left;
    int mid = 3;
    while (const PublishSample* next = queue.next()) {
        left << next->timeText();
        queue.handed(mid++);
    }
    EXPECT_EQ(left, QStringList({"t5", "t6"}));
}

TEST(PublishQueue, BackoffDoublesFromOneSecondToThirty) {
    Backoff backoff;
    std::vector<double> waits;
    for (int i = 0; i < 8; ++i)
        waits.push_back(backoff.next());
    EXPECT_EQ(waits, (std::vector<double>{1, 2, 4, 8, 16, 30, 30, 30}));
    backoff.reset();
    EXPECT_EQ(backoff.next(), 1);
}

TEST(PublishQueue, OverlongTextsAreCutToTheirField) {
    const PublishSample sample = PublishSample::make(QString(40, u'9'), QString(40, u'8'),
                                                     QString(40, u'L'), 2000, false, false, false);
    EXPECT_EQ(sample.timeText(), QString(31, u'9'));
    EXPECT_EQ(sample.readingText(), QString(15, u'8'));
    EXPECT_EQ(sample.unitText(), QString(7, u'L'));
}
