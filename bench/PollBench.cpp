// Poll CPU and poll rate: the main window polling a meter, as the program runs it.
#include "bench/BenchProgram.h"
#include "bench/Benchmarks.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/RealClock.h"
#include "link/SystemSerialPort.h"
#include "panel/PortOpener.h"
#include "panel/ui/PanelWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <ctime>
#include <memory>

namespace {

// Counts the well-framed live readings the poll takes from the port.
class CountingPort : public SerialPort {
public:
    explicit CountingPort(std::unique_ptr<SerialPort> inner)
        : m_inner(std::move(inner)) {}
    bool open(QString* error) override { return m_inner->open(error); }
    bool isOpen() const override { return m_inner->isOpen(); }
    void close() override { m_inner->close(); }
    void output(const QByteArray& bytes) override { m_inner->output(bytes); }
    int inBufferCount() override { return m_inner->inBufferCount(); }
    void discardInput() override { m_inner->discardInput(); }
    QByteArray input() override {
        QByteArray bytes = m_inner->input();
        if (bytes.size() >= 5 && bytes[0] == '\x02' && bytes[4] == '\x03')
            ++frames;
        return bytes;
    }
    static inline int frames = 0;

private:
    std::unique_ptr<SerialPort> m_inner;
};

std::vector<Figure> pollRun(const QString& suffix, const QString& device, double seconds) {
    BenchProgram program(device);
    RealClock& clock = program.clock;
    PanelWindow panel(program.context, [](const AppContext& c) -> std::unique_ptr<SerialPort> {
        auto inner = openerForChoice(c.state, c.clock);
        if (!inner)
            return nullptr;
        return std::make_unique<CountingPort>(std::move(inner));
    });
    panel.show();
    if (!panel.Form_Load())
        return {{"poll_error_" + suffix, 1, "open_failed"}};
    // Let the link settle (the first request only wakes the meter).
    clock.WaitSeconds(1.0);
    CountingPort::frames = 0;
    const double cpu0 = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    clock.WaitSeconds(seconds);
    const double elapsed = wall.nsecsElapsed() * 1e-9;
    const double cpu = processCpuSeconds() - cpu0;
    const int frames = CountingPort::frames;
    panel.timer1().stop();
    panel.timer2().stop();
    return {{"poll_cpu_" + suffix, cpu / elapsed, "cpu_s_per_s"},
            {"poll_rate_" + suffix, frames / elapsed, "readings_per_s"}};
}

} // namespace

std::vector<Figure> pollDemo(const BenchOptions& o) {
    return pollRun("demo", "Demo", o.pollSeconds);
}

std::vector<Figure> pollPty(const BenchOptions& o) {
    const QString path = startMetersim(o.metersim, {});
    if (path.isEmpty())
        return {{"poll_error_pty", 1, "metersim_failed"}};
    auto figures = pollRun("pty", path, o.pollSeconds);
    stopMetersim();
    return figures;
}
