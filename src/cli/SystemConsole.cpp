#include "cli/SystemConsole.h"

#include <QSocketNotifier>
#include <cstdio>

#if defined(Q_OS_UNIX)
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#if defined(Q_OS_UNIX)

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
// The self-pipe: the handler writes a byte, the event loop reads it.
int g_pipe[2] = {-1, -1};

bool setFlags(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

} // namespace

extern "C" {
static void noteStopSignal(int number) {
    const int saved = errno;
    const char byte = 1;
    if (::write(g_pipe[1], &byte, 1) < 0) {
        // Full pipe: a stop is pending already.
    }
    // A second signal is not caught: it ends a program that does not stop.
    ::signal(number, SIG_DFL);
    errno = saved;
}
}

bool stderrIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void setStdoutBinary() {}

int stdoutDescriptor() {
    return STDOUT_FILENO;
}

StopSignals::StopSignals(std::function<void()> onStop)
    : m_onStop(std::move(onStop)) {
    if (::pipe(g_pipe) != 0)
        return;
    if (!setFlags(g_pipe[0]) || !setFlags(g_pipe[1])) {
        ::close(g_pipe[0]);
        ::close(g_pipe[1]);
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        deliver();
    });
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kStopSignals)
        ::sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals() {
    if (!m_notifier)
        return;
    for (const int signal : kStopSignals)
        ::signal(signal, SIG_DFL);
    delete m_notifier;
    m_notifier = nullptr;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

#elif defined(Q_OS_WIN)

namespace {

StopSignals* g_stopSignals = nullptr;
volatile LONG g_signalled = 0;

// Runs on a thread of its own: hands the stop to the event loop's thread.
BOOL WINAPI noteConsoleEvent(DWORD) {
    if (InterlockedExchange(&g_signalled, 1) != 0)
        return FALSE; // the second one ends the program
    if (StopSignals* target = g_stopSignals)
        QMetaObject::invokeMethod(
            target, [target] { target->deliver(); }, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

bool stderrIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

void setStdoutBinary() {
    _setmode(_fileno(stdout), _O_BINARY);
}

int stdoutDescriptor() {
    return _fileno(stdout);
}

StopSignals::StopSignals(std::function<void()> onStop)
    : m_onStop(std::move(onStop)) {
    g_stopSignals = this;
    SetConsoleCtrlHandler(noteConsoleEvent, TRUE);
}

StopSignals::~StopSignals() {
    SetConsoleCtrlHandler(noteConsoleEvent, FALSE);
    g_stopSignals = nullptr;
}

#else

bool stderrIsTerminal() {
    return false;
}

void setStdoutBinary() {}

int stdoutDescriptor() {
    return 1;
}

StopSignals::StopSignals(std::function<void()> onStop)
    : m_onStop(std::move(onStop)) {}

StopSignals::~StopSignals() = default;

#endif

void StopSignals::deliver() {
    if (m_onStop)
        m_onStop();
}
