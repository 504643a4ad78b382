#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

// What the program needs from the operating system's console. Everything specific to one system
// lives in SystemConsole.cpp, so the rest builds anywhere.

// Standard error is a terminal, where a progress line may be redrawn in place.
bool stderrIsTerminal();

// Standard output carries record files byte for byte: no line-end translation.
void setStdoutBinary();
// The descriptor of standard output, for writing a file onto it.
int stdoutDescriptor();

// Ctrl-C, SIGTERM and SIGHUP (on Windows, the console's Ctrl-C, Ctrl-Break and close) end the
// program cleanly: the handler only notes the signal, and `onStop` runs from the event loop,
// inside the next wait. A second signal ends the program at once.
class StopSignals : public QObject {
public:
    explicit StopSignals(std::function<void()> onStop);
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Runs the stop, on the event loop's thread.
    void deliver();

private:
    std::function<void()> m_onStop;
    // The self-pipe's reading end, where signals are caught.
    [[maybe_unused]] QSocketNotifier* m_notifier = nullptr;
};
