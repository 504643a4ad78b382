#pragma once

#include "common/PauseGate.h"
#include "link/MeterExchange.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <utility>

struct AppContext;

// The clock window does not open while the meter logs.
inline const QString kMeterLogging = QStringLiteral("Recording mode, stop record then try again !");

// The meter clock window as its procedures see it, so that they run without widgets.
class ClockView {
public:
    virtual ~ClockView() = default;
    // The user closed the window; an exchange still running ends at its next wait.
    virtual bool closed() const = 0;
    // LblMeterTime and LblPCTime.
    virtual void setMeterTimeText(const QString& text) = 0;
    virtual void setPcTimeText(const QString& text) = 0;
};

// The procedures of the meter clock window: the meter's clock beside the PC clock, and setting
// the one to the other. Without a PC recording or live list the live poll stays paused from
// construction until release(), the window's whole life, and the meter clock is read on every
// tick while shown. While one runs, only the window's exchanges pause the poll: the meter clock
// is read once and then counted on from the monotonic clock, since each read holds the line for
// longer than a one-second sample leaves; a read waits until the poll has brought a fresh
// reading since the previous one. Each exchange pauses the poll for its own length.
//
// Exchanges wait and let other handlers run, so they never overlap: a tick that finds one
// running leaves the meter alone, and "Set" pressed during a tick's read runs as soon as that
// read is done (the reads follow each other so closely that refusing it would leave the button
// dead while the meter time shows); pressed during a set it does nothing. A silent meter ends the
// exchange with kMeterNotResponding; the meter time display then goes off, so that the next tick
// does not wait for it again.
class MeterClock {
public:
    MeterClock(AppContext& context, ClockView& view);

    // The window closed: the poll may run again.
    void release();

    bool showMeterTime() const { return m_showMeterTime; }
    bool showPcTime() const { return m_showPcTime; }
    // An exchange of this window is under way.
    bool busy() const { return m_running != Running::Nothing; }

    // Clicks on LblMeterTime and LblPCTime.
    void toggleMeterTime() {
        m_showMeterTime = !m_showMeterTime;
        m_meterTimeRead.reset();
    }
    void togglePcTime() { m_showPcTime = !m_showPcTime; }

    // Timer1: reads the meter clock while it is shown, then refreshes both labels.
    void tick();
    // CmdSetTime: sets the meter clock to the PC clock.
    void setMeterTime();

private:
    enum class Running { Nothing, Read, Set };

    // Holds or lets go of the poll for the window's life, by whether samples are being taken.
    void updateWindowPause();
    bool samplesRunning() const;

    void readMeterTime();
    MeterExchange exchange();

    AppContext& m_context;
    ClockView& m_view;
    std::optional<ScopedPause> m_windowPause;
    bool m_showMeterTime = false;
    bool m_showPcTime = false;
    Running m_running = Running::Nothing;
    bool m_setPending = false;
    // The poll's frame count when the last clock read ended; none before the first.
    std::optional<quint64> m_framesAtRead;
    bool m_released = false;
    // The meter's clock as last read, and the monotonic clock then: counted on while samples
    // are taken.
    std::optional<std::pair<QDateTime, double>> m_meterTimeRead;
};
