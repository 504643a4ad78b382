// The charts: the drawing cost of one sweep tick of the real-time graph, the whole program's
// CPU with the graph open on the demo meter, and plotting a day and a million records from the
// Plot click to the finished chart, with the memory the plot adds.
#include "bench/BenchProgram.h"
#include "bench/Benchmarks.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/GraphSweep.h"
#include "charts/ui/ListPlot.h"
#include "charts/ui/RealTimeGraph.h"
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/SerialPort.h"
#include "panel/PortOpener.h"
#include "panel/ui/PanelWindow.h"
#include "records/RecordFile.h"
#include "records/ui/FileList.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

double msOf(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) * 1e-6;
}

// Drawing time of `ticks` sweep ticks on a client area of the given size: the mean over the
// first and over the last thousand (nothing may grow with the ticks), and the 99th percentile.
std::vector<Figure> sweepTicks(QSize size, int ticks) {
    SharedState s;
    s.GraphLayout =
        ComputeChartLayout(static_cast<float>(size.width()), static_cast<float>(size.height()));
    s.GraphTop = 2000;
    s.GraphBottom = 0;
    s.GraphStep = 1;
    s.GraphX = -1;
    s.GridColour = kGridColourIndex;
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSizeF(8.25);
    const QString time = QStringLiteral("14:05:09");
    std::vector<double> ms;
    ms.reserve(static_cast<size_t>(ticks));
    for (int i = 0; i < ticks; ++i) {
        s.Value = Value::fromNumber(1000 + 800 * std::sin(i * 0.01) + (i * 37) % 50);
        QElapsedTimer t;
        t.start();
        QPainter painter(&image);
        painter.setFont(font);
        drawSweepTick(painter, s, s, time);
        painter.end();
        ms.push_back(msOf(t));
    }
    auto mean = [](auto from, auto to) {
        double sum = 0;
        for (auto it = from; it != to; ++it)
            sum += *it;
        return sum / static_cast<double>(to - from);
    };
    const QString tag = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    std::vector<Figure> figures = {
        {"sweep_tick_first1000_ms_" + tag, mean(ms.begin(), ms.begin() + 1000), "ms"},
        {"sweep_tick_last1000_ms_" + tag, mean(ms.end() - 1000, ms.end()), "ms"},
    };
    std::sort(ms.begin(), ms.end());
    figures.push_back({"sweep_tick_p99_ms_" + tag, ms[ms.size() * 99 / 100], "ms"});
    return figures;
}

template <typename T> T* visible(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible())
            return qobject_cast<T*>(w);
    }
    return nullptr;
}

QString recordLine(int n) {
    const int s = (n - 1) % 86400;
    return QStringLiteral("%1\t22/06/2010 %2:%3:%4\t%5\t")
        .arg(n)
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'))
        .arg(1000 + std::lround(700 * std::sin(n * 0.0001)) + n % 97);
}

bool writeRecordFile(const QString& path, int records, bool header) {
    RecordWriter writer;
    if (!writer.create(path))
        return false;
    if (header && !writer.writeLine(QStringLiteral("*ID=1234 Range:2000/LUX")))
        return false;
    for (int n = 1; n <= records; ++n) {
        if (!writer.writeLine(recordLine(n)))
            return false;
    }
    return writer.close();
}

double statusMiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.sliced(static_cast<qsizetype>(qstrlen(field)))
                       .trimmed()
                       .split(' ')
                       .first()
                       .toDouble() /
                   1024.0;
    }
    return -1;
}

// Starts the peak of the resident set again from the present one.
void resetPeakMemory() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

// A record file opened into the file list of a running program, then its Plot clicked: the
// time until the chart is finished on screen, the longest the event loop waited meanwhile, and
// the peak memory the plot added.
std::vector<Figure> plotFile(const QString& tag, int records, bool header) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.txt"));
    if (!writeRecordFile(path, records, header))
        return {{"plot_error_" + tag, 1, "cannot_write_source"}};
    BenchProgram program(QStringLiteral("Demo"));
    std::vector<Figure> figures;
    PanelWindow panel(program.context,
                      [](const AppContext& c) { return openerForChoice(c.state, c.clock); });
    panel.show();
    if (!panel.Form_Load())
        return {{"plot_error_" + tag, 1, "open_failed"}};
    program.dialogs.openAnswers = {path};
    {
        // Loading lets events run between batches of rows, and every poll tick that comes
        // due waits for the meter inside them: without the poll the file loads in seconds.
        ScopedPause loading(program.context.timers);
        panel.Toolbar1_ButtonClick(QStringLiteral("Open"));
    }
    auto* list = visible<FileList>(QStringLiteral("FileList"));
    if (!list || list->model().dataRowCount() != records - (header ? 0 : 1))
        return {{"plot_error_" + tag, 1, "list_not_read"}};
    QApplication::processEvents();

    // The event loop's pace while it plots: a timer that should fire every 5 ms.
    QElapsedTimer beat;
    double longestGap = 0;
    QTimer heartbeat;
    heartbeat.setInterval(5);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, msOf(beat));
        beat.restart();
    });

    const double rssBefore = statusMiB("VmRSS:");
    resetPeakMemory();
    QElapsedTimer t;
    t.start();
    list->findChild<QAction*>(QStringLiteral("Plot"))->trigger();
    beat.start();
    heartbeat.start();
    auto* plot = visible<ListPlot>(QStringLiteral("ListPlot"));
    while (plot && plot->plotting())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    if (plot)
        plot->repaint();
    QApplication::processEvents();
    const double ms = msOf(t);
    heartbeat.stop();
    figures.push_back({"plot_" + tag + "_ms", ms, "ms"});
    figures.push_back({"plot_" + tag + "_longest_event_wait_ms", longestGap, "ms"});
    figures.push_back(
        {"plot_" + tag + "_peak_memory_added_mib", statusMiB("VmHWM:") - rssBefore, "MiB"});
    if (!plot)
        figures.push_back({"plot_error_" + tag, 1, "no_plot_window"});
    panel.timer1().stop();
    panel.timer2().stop();
    return figures;
}

} // namespace

std::vector<Figure> chartFigures(const BenchOptions& o) {
    std::vector<Figure> figures = sweepTicks(QSize(349, 364), 20000);
    for (const Figure& f : sweepTicks(QSize(1920, 1080), 20000))
        figures.push_back(f);

    // The whole program with the graph open on the demo meter.
    {
        BenchProgram program(QStringLiteral("Demo"));
        PanelWindow panel(program.context,
                          [](const AppContext& c) { return openerForChoice(c.state, c.clock); });
        panel.show();
        if (panel.Form_Load()) {
            while (!program.state.Range)
                program.clock.WaitSeconds(0.1);
            panel.Toolbar1_ButtonClick(QStringLiteral("Graph"));
            auto* graph = visible<RealTimeGraph>(QStringLiteral("RealTimeGraph"));
            int ticks = 0;
            if (graph)
                QObject::connect(&graph->timer1(), &QTimer::timeout, [&] { ++ticks; });
            program.clock.WaitSeconds(1.0);
            ticks = 0;
            const double cpu0 = processCpuSeconds();
            QElapsedTimer wall;
            wall.start();
            program.clock.WaitSeconds(o.pollSeconds);
            const double elapsed = msOf(wall) / 1000;
            figures.push_back(
                {"graph_cpu_demo", (processCpuSeconds() - cpu0) / elapsed, "cpu_s_per_s"});
            figures.push_back({"graph_ticks_per_s", ticks / elapsed, "ticks_per_s"});
            if (!graph)
                figures.push_back({"graph_error", 1, "no_graph_window"});
        } else {
            figures.push_back({"graph_error", 1, "open_failed"});
        }
        panel.timer1().stop();
        panel.timer2().stop();
    }

    for (const Figure& f : plotFile(QStringLiteral("86400"), 86400, true))
        figures.push_back(f);
    // A foreign file: a million records and no header line, so its first line goes into the
    // caption and the rest into the list.
    for (const Figure& f : plotFile(QStringLiteral("1000000"), 1000001, false))
        figures.push_back(f);
    return figures;
}
