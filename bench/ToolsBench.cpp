// The tools: the program's CPU while it polls with the candela window open, and how long a
// meter clock read takes against its pauses and the reply's time on the wire.
#include "bench/BenchProgram.h"
#include "bench/Benchmarks.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/MeterExchange.h"
#include "link/RealClock.h"
#include "link/SystemSerialPort.h"
#include "panel/PortOpener.h"
#include "panel/ui/PanelWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedPrinter.h"
#include "tools/MeterClock.h"
#include "tools/ui/LightWindow.h"
#include "tools/ui/OpenTools.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>

namespace {

constexpr double kByteSeconds = 10.0 / 9600.0;
constexpr int kClockReads = 5;

// The real clock, adding up the pauses the exchanges ask for.
class PauseCountingClock : public Clock {
public:
    double monotonic() const override { return m_clock.monotonic(); }
    QDateTime wallNow() const override { return m_clock.wallNow(); }
    bool WaitSeconds(double seconds) override {
        paused += seconds;
        return m_clock.WaitSeconds(seconds);
    }
    void after(double seconds, QObject* context, std::function<void()> then) override {
        m_clock.after(seconds, context, std::move(then));
    }
    bool processEvents() override { return m_clock.processEvents(); }
    bool idle() override { return m_clock.idle(); }
    bool stopping() const override { return m_clock.stopping(); }

    double paused = 0;

private:
    RealClock m_clock;
};

struct LabelsOnly : ClockView {
    bool closed() const override { return false; }
    void setMeterTimeText(const QString& text) override { meter = text; }
    void setPcTimeText(const QString&) override {}
    QString meter;
};

std::vector<Figure> lightDemo(const BenchOptions& o) {
    BenchProgram program(QStringLiteral("Demo"));
    PanelWindow panel(program.context,
                      [](const AppContext& c) { return openerForChoice(c.state, c.clock); });
    panel.show();
    if (!panel.Form_Load())
        return {{"light_error", 1, "open_failed"}};
    program.clock.WaitSeconds(1.0);
    const QPointer<LightWindow> light = openLight(program.context, panel.windows());
    if (!light)
        return {{"light_error", 1, "window_failed"}};
    light->findChild<QLineEdit*>(QStringLiteral("TxtDistance"))->setText(QStringLiteral("2.5"));
    int refreshes = 0;
    QObject::connect(&light->timer1(), &QTimer::timeout, [&refreshes] { ++refreshes; });
    program.clock.WaitSeconds(0.5);
    refreshes = 0;

    const double cpu0 = processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    program.clock.WaitSeconds(o.pollSeconds);
    const double elapsed = static_cast<double>(wall.nsecsElapsed()) * 1e-9;
    const double cpu = processCpuSeconds() - cpu0;
    const bool showing = !light->findChild<QLabel*>(QStringLiteral("Lblcd"))->text().isEmpty();
    panel.close();
    if (!showing)
        return {{"light_error", 1, "no_result"}};
    return {{"light_cpu_demo", cpu / elapsed, "cpu_s_per_s"},
            {"light_refresh_rate", refreshes / elapsed, "refreshes_per_s"}};
}

std::vector<Figure> clockReadPty(const BenchOptions& o) {
    const QString path = startMetersim(o.metersim, {"--paced"});
    if (path.isEmpty())
        return {{"clock_read_error", 1, "metersim_failed"}};
    SystemSerialPort port(path);
    PauseCountingClock clock;
    SharedState state;
    ScriptedDialogs dialogs;
    ScriptedPrinter printer;
    AppContext context(state, clock, dialogs, printer);
    std::vector<Figure> figures;
    if (port.open(nullptr)) {
        context.port = &port;
        LabelsOnly view;
        MeterClock meterClock(context, view);
        meterClock.toggleMeterTime();
        double seconds = 0;
        double pauses = 0;
        int reads = 0;
        for (int i = 0; i < kClockReads; ++i) {
            // Spaced out so that every read finds the meter asleep, as the window's first does.
            clock.WaitSeconds(0.5);
            view.meter.clear();
            clock.paused = 0;
            QElapsedTimer timer;
            timer.start();
            meterClock.tick();
            const double took = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
            if (view.meter.size() != 17)
                break;
            seconds += took;
            pauses += clock.paused;
            ++reads;
        }
        if (reads == kClockReads) {
            const double wire = kClockReplySize * kByteSeconds;
            seconds /= reads;
            pauses /= reads;
            figures = {{"clock_read_seconds", seconds, "s"},
                       {"clock_read_pauses_seconds", pauses, "s"},
                       {"clock_read_wire_seconds", wire, "s"},
                       {"clock_read_ratio", seconds / (pauses + wire), "x_pauses_plus_wire"}};
        }
    }
    if (figures.empty())
        figures = {{"clock_read_error", 1, "exchange_failed"}};
    stopMetersim();
    return figures;
}

} // namespace

std::vector<Figure> toolsFigures(const BenchOptions& o) {
    std::vector<Figure> figures = lightDemo(o);
    const std::vector<Figure> clock = clockReadPty(o);
    figures.insert(figures.end(), clock.begin(), clock.end());
    return figures;
}
