#pragma once

#include <QString>
#include <functional>

class Clock;
class SerialPort;
struct SharedState;

// The live poll: one request, a 0.2 s wait, a framed five-byte reading decoded into the shared
// state; after eight failed attempts the "No COM" loop holds until the meter answers again, or,
// when the meter answers but never with a whole frame, the port label says so.
class PollCycle {
public:
    enum class Outcome {
        Decoded, // a frame was decoded; the display update follows
        NoData,  // the "No COM" loop ran and the meter answers again; nothing decoded
        Garbled, // eight attempts brought bytes but no whole frame; nothing decoded
        Stopped, // the program is closing
        Yielded, // another exchange took the line during a wait; nothing decoded
    };

    // The port label while answers arrive but none holds a whole frame.
    static inline const QString kGarbledLabel = QStringLiteral("Bad data");

    PollCycle(SharedState& state, SerialPort& port, Clock& clock);

    // One poll tick.
    Outcome poll();
    // Sends " " every 0.2 s until a byte arrives; false when the program closes meanwhile.
    bool NoDataRoutine();

    // True once another exchange has switched the poll off since this tick began.
    std::function<bool()> yielded;
    // The port label shown while the loop runs ("No COM") and after it (the port's label).
    std::function<void(const QString&)> setPortLabel;

private:
    void showPortLabel(const QString& text);

    SharedState& m_state;
    SerialPort& m_port;
    Clock& m_clock;
    bool m_garbledShown = false;
};
