// luxlog-cli publish against a real Mosquitto broker on the loopback and metersim on a
// pseudo-terminal: what a subscriber gets, what the broker keeps, a broker that goes away and
// comes back, credentials and TLS.
#include "integration/MeterSim.h"
#include "integration/Mosquitto.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

using namespace mqtttest;

namespace {

class Publish : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(program(QStringLiteral("mosquitto")).isEmpty())
            << "mosquitto is not installed (scripts/setup.sh installs it)";
        ASSERT_FALSE(sim.device().isEmpty());
        sim.control("lux 302");
    }

    // luxlog-cli publish on the simulated meter, with no display to be had.
    void startPublish(const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(LUXLOG_CLI_PATH),
                  QStringList{"publish", "--port", sim.device()} + arguments);
        cli.waitForStarted(15000);
    }
    // The exit status once it has ended; -1 when it runs on or crashed.
    int publishEnds(int ms = 30000) {
        if (cli.state() != QProcess::NotRunning && !cli.waitForFinished(ms))
            return -1;
        return cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    }
    QString errors() {
        err += QString::fromLocal8Bit(cli.readAllStandardError());
        return err;
    }
    QString path(const char* name) const { return scratch.filePath(QString::fromLatin1(name)); }
    void writeFile(const char* name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void TearDown() override {
        if (cli.state() != QProcess::NotRunning) {
            cli.kill();
            cli.waitForFinished(15000);
        }
    }

    QTemporaryDir scratch;
    MeterSim sim{{QStringLiteral("--control")}};
    QProcess cli;
    QString err;
};

QJsonObject json(const Message& message) {
    return QJsonDocument::fromJson(message.payload).object();
}

// The messages of `topic`s ending with `suffix`, in the order they came.
std::vector<Message> ending(Subscriber& subscriber, const QString& suffix) {
    std::vector<Message> found;
    for (const Message& m : subscriber.messages()) {
        if (m.topic.endsWith(suffix))
            found.push_back(m);
    }
    return found;
}

QDateTime stampOf(const Message& state) {
    return QDateTime::fromString(json(state).value(u"time").toString(), Qt::ISODate);
}

} // namespace

TEST_F(Publish, SamplesGoOutEverySecondBesideDiscoveryAndAvailability) {
    Broker broker(scratch.path());
    ASSERT_TRUE(broker.started());
    Subscriber subscriber(broker.port(), {"luxlog/#", "homeassistant/#"});
    startPublish({"--broker", broker.address()});
    ASSERT_TRUE(waitFor([&] { return ending(subscriber, "/state").size() >= 4; }))
        << errors().toStdString();

    const std::vector<Message> states = ending(subscriber, "/state");
    const QString id = json(states.front()).value(u"meter_id").toString();
    ASSERT_FALSE(id.isEmpty());
    EXPECT_EQ(states.front().topic, QStringLiteral("luxlog/%1/state").arg(id));
    for (std::size_t i = 0; i < states.size(); ++i) {
        const QJsonObject state = json(states[i]);
        EXPECT_EQ(state.keys(), QStringList({"battery_low", "hold", "max", "meter_id", "range",
                                             "reading", "time", "unit", "value"}));
        EXPECT_EQ(state.value(u"value").toDouble(), 302);
        EXPECT_EQ(state.value(u"reading").toString(), u"302");
        EXPECT_EQ(state.value(u"unit").toString(), u"LUX");
        EXPECT_FALSE(states[i].retained);
        if (i > 0) {
            EXPECT_EQ(stampOf(states[i - 1]).secsTo(stampOf(states[i])), 1);
        }
    }

    const QString availability = QStringLiteral("luxlog/%1/availability").arg(id);
    const QString discovery =
        QStringLiteral("homeassistant/sensor/luxlog_%1/illuminance/config").arg(id);
    const std::vector<Message> kept = retained(broker.port(), {availability, discovery}, 2);
    ASSERT_EQ(kept.size(), 2u);
    for (const Message& m : kept) {
        if (m.topic == availability) {
            EXPECT_EQ(m.payload, "online");
        } else {
            EXPECT_EQ(json(m).value(u"unique_id").toString(), QStringLiteral("luxlog_") + id);
            EXPECT_EQ(json(m).value(u"device_class").toString(), u"illuminance");
            EXPECT_EQ(json(m).value(u"unit_of_measurement").toString(), u"lx");
        }
    }

    cli.terminate();
    EXPECT_EQ(publishEnds(), 0) << errors().toStdString();
    EXPECT_TRUE(errors().contains(QRegularExpression(
        R"(luxlog/\d+/state: (\d+) of \1 samples sent, \d+ left out; stopped\n$)")))
        << errors().toStdString();
    const std::vector<Message> after = retained(broker.port(), {availability}, 1);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after.front().payload, "offline");
}

TEST_F(Publish, FootCandlesRepublishDiscoveryAndADeadPublisherLeavesItsWill) {
    Broker broker(scratch.path());
    ASSERT_TRUE(broker.started());
    Subscriber subscriber(broker.port(), {"luxlog/#", "homeassistant/#"});
    startPublish({"--broker", broker.address()});
    ASSERT_TRUE(waitFor([&] { return !ending(subscriber, "/state").empty(); }))
        << errors().toStdString();
    sim.control("unit fc");
    ASSERT_TRUE(waitFor([&] {
        for (const Message& m : ending(subscriber, "/config")) {
            if (json(m).value(u"unit_of_measurement").toString() == u"fc")
                return !json(m).contains(u"device_class");
        }
        return false;
    })) << errors().toStdString();
    ASSERT_TRUE(waitFor([&] {
        return json(ending(subscriber, "/state").back()).value(u"unit").toString() == u"Fc";
    }));

    // Killed outright, it cannot say goodbye: the broker gives its will.
    cli.kill();
    ASSERT_TRUE(waitFor([&] {
        const std::vector<Message> said = ending(subscriber, "/availability");
        return !said.empty() && said.back().payload == "offline";
    }));
}

// The broker stops for 10 s and starts again from its store; a subscriber with a persistent
// session gets every sample of the outage afterwards, in order.
TEST_F(Publish, ABrokerOutageLosesNoSample) {
    Broker broker(scratch.path());
    ASSERT_TRUE(broker.started());
    const QStringList topics = {"luxlog/+/state"};
    const QStringList session = {"-c", "-i", "outage-watch"};
    auto subscriber = std::make_unique<Subscriber>(broker.port(), topics, session);
    startPublish({"--broker", broker.address()});
    ASSERT_TRUE(waitFor([&] { return subscriber->messages().size() >= 3; }))
        << errors().toStdString();

    std::vector<Message> states = subscriber->messages();
    subscriber->stop();
    broker.stop();
    const QDateTime down = QDateTime::currentDateTime();
    waitFor([&] { return down.msecsTo(QDateTime::currentDateTime()) >= 10000; });
    const QDateTime up = QDateTime::currentDateTime();
    ASSERT_TRUE(broker.start());
    subscriber = std::make_unique<Subscriber>(broker.port(), topics, session);
    ASSERT_TRUE(waitFor([&] { return errors().contains(u"is back:"); }, 45000))
        << errors().toStdString();
    ASSERT_TRUE(waitFor([&] {
        const std::vector<Message>& now = subscriber->messages();
        return !now.empty() && stampOf(now.back()) > up.addSecs(2);
    })) << errors().toStdString();
    cli.terminate();
    ASSERT_EQ(publishEnds(), 0) << errors().toStdString();
    for (const Message& m : subscriber->messages())
        states.push_back(m);

    // At least once: a message in flight as the broker went may come twice, never out of order.
    std::vector<QDateTime> stamps;
    for (const Message& m : states) {
        const QDateTime stamp = stampOf(m);
        if (!stamps.empty() && stamp == stamps.back())
            continue;
        if (!stamps.empty()) {
            EXPECT_GT(stamp, stamps.back()) << m.payload.toStdString();
        }
        stamps.push_back(stamp);
    }
    const auto duringOutage = std::count_if(stamps.begin(), stamps.end(), [&](const QDateTime& t) {
        return t > down.addSecs(1) && t < up.addSecs(-1);
    });
    EXPECT_GE(duringOutage, 7);
    const QRegularExpressionMatch summary =
        QRegularExpression(R"((\d+) of (\d+) samples sent, \d+ left out; stopped)").match(errors());
    ASSERT_TRUE(summary.hasMatch()) << errors().toStdString();
    EXPECT_EQ(summary.captured(1), summary.captured(2));
    EXPECT_EQ(summary.captured(2).toLongLong(), static_cast<qint64>(stamps.size()));
    EXPECT_EQ(errors().count(u"is away ("), 1) << errors().toStdString();
    EXPECT_EQ(errors().count(u"is back:"), 1) << errors().toStdString();
}

TEST_F(Publish, ABrokerWithPasswordsRefusesAWrongOne) {
    ASSERT_EQ(run("mosquitto_passwd", {"-b", "-c", path("passwords"), "meter", "s3cret"}), 0);
    writeFile("wrong", "guess\n");
    writeFile("right", "s3cret\n");
    Broker broker(scratch.path(), {"password_file " + path("passwords")});
    ASSERT_TRUE(broker.started());

    startPublish(
        {"--broker", broker.address(), "--user", "meter", "--password-file", path("wrong")});
    EXPECT_EQ(publishEnds(), 1) << errors().toStdString();
    EXPECT_TRUE(errors().contains(u"refused the connection: Connection Refused: not authorised"))
        << errors().toStdString();

    err.clear();
    startPublish({"--broker", broker.address(), "--user", "meter", "--password-file", path("right"),
                  "--for", "2"});
    EXPECT_EQ(publishEnds(), 0) << errors().toStdString();
    EXPECT_TRUE(errors().contains(u"connected to the broker")) << errors().toStdString();
}

TEST_F(Publish, TlsTrustsOnlyTheGivenAuthority) {
    const QStringList ecKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                               "-nodes"};
    ASSERT_EQ(run("openssl", QStringList{"req", "-x509"} + ecKey +
                                 QStringList{"-keyout", path("ca.key"), "-out", path("ca.crt"),
                                             "-days", "2", "-subj", "/CN=test authority"}),
              0);
    ASSERT_EQ(run("openssl", QStringList{"req"} + ecKey +
                                 QStringList{"-keyout", path("server.key"), "-out",
                                             path("server.csr"), "-subj", "/CN=127.0.0.1"}),
              0);
    writeFile("server.ext", "subjectAltName=IP:127.0.0.1\n");
    ASSERT_EQ(run("openssl", {"x509", "-req", "-in", path("server.csr"), "-CA", path("ca.crt"),
                              "-CAkey", path("ca.key"), "-CAcreateserial", "-out",
                              path("server.crt"), "-days", "2", "-extfile", path("server.ext")}),
              0);
    ASSERT_EQ(
        run("openssl", QStringList{"req", "-x509"} + ecKey +
                           QStringList{"-keyout", path("other.key"), "-out", path("other.crt"),
                                       "-days", "2", "-subj", "/CN=another authority"}),
        0);
    // No broker there yet: the attempt ends as a plain one does, and is said once.
    startPublish({"--broker", QStringLiteral("127.0.0.1:%1").arg(freePort()), "--tls-ca",
                  path("ca.crt"), "--for", "3"});
    EXPECT_EQ(publishEnds(), 0) << errors().toStdString();
    EXPECT_EQ(errors().count(u"cannot reach the broker"), 1) << errors().toStdString();
    err.clear();

    Broker broker(scratch.path(), {"cafile " + path("ca.crt"), "certfile " + path("server.crt"),
                                   "keyfile " + path("server.key")});
    ASSERT_TRUE(broker.started());
    Subscriber subscriber(broker.port(), {"luxlog/+/state"}, {"--cafile", path("ca.crt")});

    startPublish({"--broker", broker.address(), "--tls-ca", path("ca.crt")});
    ASSERT_TRUE(waitFor([&] { return !subscriber.messages().empty(); })) << errors().toStdString();
    cli.terminate();
    EXPECT_EQ(publishEnds(), 0) << errors().toStdString();

    err.clear();
    startPublish({"--broker", broker.address(), "--tls-ca", path("other.crt")});
    EXPECT_EQ(publishEnds(), 1) << errors().toStdString();
    EXPECT_TRUE(errors().contains(u"certificate verify failed")) << errors().toStdString();
}
