#pragma once

#include "cli/ConsoleDialogs.h"
#include "common/AppContext.h"
#include "common/Printer.h"
#include "common/SharedState.h"
#include "link/PollCycle.h"
#include "link/RealClock.h"

#include <QTimer>
#include <memory>
#include <optional>

class Console;
class SerialPort;

// What a command that talks to the meter holds, as the main window holds it: the shared state,
// the program's clock, dialogs answered on the console, the opened port and its live poll.
class CliSession {
public:
    explicit CliSession(Console& console);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    // Opens the port a start-window name chooses ("COM3", "/dev/ttyUSB0", "Demo"); false after
    // saying why not.
    bool openPort(const QString& name);

    // Polls until a reading is decoded, so that the live status (logging, hold, memory full)
    // is known before a logger or clock exchange; gives up, saying so, when the meter stays
    // silent as long as an exchange would wait for it. False also when the program stops.
    bool firstReading();

    // Ends every wait at once: the command finishes from where it is.
    void stop();
    bool stopped() const { return clock.stopping(); }

    // The live poll reports on standard error when the meter stops answering or garbles, and
    // when it answers again; `lostNote` is added to the first two.
    void reportLink(const QString& lostNote);

    Console& console;
    RealClock clock;
    SharedState state;
    ConsoleDialogs dialogs;
    AppContext context;
    std::unique_ptr<SerialPort> port;
    std::unique_ptr<PollCycle> poll;

private:
    // No command prints.
    class NoPrinter : public Printer {
    public:
        bool beginJob(const QString&) override { return false; }
        void printLine(const QString&) override {}
        bool endJob() override { return false; }
        void abortJob() override {}
        bool printImage(const QImage&, const QString&) override { return false; }
    };

    void linkLabel(const QString& label);

    NoPrinter m_printer;
    bool m_reportLink = false;
    QString m_lostNote;
    bool m_linkLost = false;
};

// Stops a session once `seconds` have passed on its clock; without them, never. Timers take an
// int of milliseconds: a long run is waited for in pieces.
class SessionDeadline {
public:
    SessionDeadline(CliSession& session, std::optional<qint64> seconds);

    // Whether the run ended because its time was up.
    bool reached() const { return m_seconds && m_session.clock.monotonic() >= m_endAt; }
    void stop() { m_timer.stop(); }

private:
    void arm();

    CliSession& m_session;
    std::optional<qint64> m_seconds;
    double m_endAt;
    QTimer m_timer;
};
