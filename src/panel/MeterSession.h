#pragma once

#include "common/AppContext.h"
#include "panel/LivePoll.h"
#include "panel/SamplingTimer.h"

#include <functional>
#include <memory>
#include <optional>

class SampleSinks;
struct ChosenPort;
class SerialPort;

// The detail under "No device found, try again!": the device tried, the system's reason (none
// when no port goes by the chosen name), and the way to try the program without a meter.
QString notFoundDetail(const ChosenPort& chosen, const QString& reason);

// The meter's line for the main window's life, without the window: the port opened at the start
// (or the failure said), polled by LivePoll and sampled by SamplingTimer, and let go in order at
// the end.
class MeterSession {
public:
    using PortFactory = std::function<std::unique_ptr<SerialPort>(const AppContext&)>;

    MeterSession(AppContext& context, PortFactory portFactory, SampleSinks& sinks);
    ~MeterSession();

    // Opens the port and starts the poll and the sampling; false after the failure message.
    bool open();
    // No more poll or sampling ticks (the program closes).
    void stop();
    // Lends the port to nobody any more and closes it: exchanges still waiting end at their
    // next wait.
    void release();

    LivePoll& poll() { return m_poll; }
    SamplingTimer& sampling() { return m_sampling; }

private:
    AppContext& m_context;
    PortFactory m_portFactory;
    std::unique_ptr<SerialPort> m_port;
    std::optional<ScopedHook<SerialPort*>> m_portHook;
    LivePoll m_poll;
    SamplingTimer m_sampling;
};
