#pragma once

#include <QString>
#include <functional>
#include <optional>

class Clock;
class SerialPort;
struct SharedState;

// The live poll: one request, a 0.2 s wait, a framed five-byte reading decoded into the shared
// state; after eight failed attempts the "No COM" loop holds until the meter answers again, or,
// when the meter answers but never with a whole frame, the port label says so.
//
// A tick runs as steps between its waits, so that the main window can wait on its event loop
// instead of inside a nested one: a dialog opened meanwhile never sits on top of a suspended
// poll. poll() runs the same steps with the clock's own waits, for the command line.
class PollCycle {
public:
    enum class Outcome {
        Decoded, // a frame was decoded; the display update follows
        NoData,  // the "No COM" loop ran and the meter answers again; nothing decoded
        Garbled, // eight attempts brought bytes but no whole frame; nothing decoded
        Stopped, // the program is closing
        Yielded, // another exchange took the line during a wait; nothing decoded
    };

    // Either the tick's outcome, or how long to wait before resume().
    struct Step {
        std::optional<Outcome> outcome;
        double wait = 0;
    };

    // The port label while answers arrive but none holds a whole frame.
    static inline const QString kGarbledLabel = QStringLiteral("Bad data");
    // The port label while the meter does not answer at all.
    static inline const QString kNoComLabel = QStringLiteral("No COM");

    PollCycle(SharedState& state, SerialPort& port, Clock& clock);

    // One poll tick, waiting through the clock.
    Outcome poll();

    // The same tick in steps: begin() sends the first request, resume() goes on after the wait
    // the previous step asked for.
    Step begin();
    Step resume();
    // Another exchange took the line: the tick ends where it stands, without touching the port.
    void abandon();

    // True once another exchange has switched the poll off since this tick began (poll() only).
    std::function<bool()> yielded;
    // The port label shown while the loop runs ("No COM") and after it (the port's label).
    std::function<void(const QString&)> setPortLabel;

private:
    enum class Phase { Idle, Attempt, NoData };

    Step startAttempt();
    Step request(Phase phase);
    Step finish(Outcome outcome);
    void showPortLabel(const QString& text);

    SharedState& m_state;
    SerialPort& m_port;
    Clock& m_clock;
    Phase m_phase = Phase::Idle;
    int m_attempt = 0;
    // An attempt brought a complete answer that held no frame: the meter talks, but garbles.
    bool m_garbled = false;
    double m_attemptStart = 0;
    bool m_garbledShown = false;
};
