#pragma once

#include <QDateTime>
#include <functional>

class QObject;

// Every wait of the meter link goes through the clock, so tests run on virtual time.
class Clock {
public:
    virtual ~Clock() = default;

    // Monotonic seconds from an arbitrary start; never jumps with the PC clock or at midnight.
    virtual double monotonic() const = 0;
    // The PC's date and time, for time stamps and for setting the meter's clock.
    virtual QDateTime wallNow() const = 0;

    // WaitSeconds: waits while other events go on being handled. Returns false once the
    // program is closing; every exchange then ends at once.
    virtual bool WaitSeconds(double seconds) = 0;
    // Runs `then` from the event loop once `seconds` have passed, and returns at once; nothing
    // runs when `context` is gone by then or the program is closing. Unlike WaitSeconds, nothing
    // is suspended meanwhile, so a dialog opened in between holds nothing up.
    virtual void after(double seconds, QObject* context, std::function<void()> then) = 0;
    // Lets pending events run once; false once the program is closing.
    virtual bool processEvents() = 0;
    // Like processEvents(), for a loop that found nothing new to do: it may sleep a moment
    // when no event is pending, so a loop polling for input does not burn the processor.
    virtual bool idle() { return processEvents(); }
    virtual bool stopping() const = 0;
};
