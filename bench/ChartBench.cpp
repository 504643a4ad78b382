// The charts: the drawing cost of one sweep tick of the real-time graph, the whole program's
// CPU with the graph open on the demo meter, and plotting a day and a million records from the
// Plot click to the finished chart, with the memory the plot adds.
#include "bench/BenchProgram.h"
#include "bench/Benchmarks.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/GraphSweep.h"
#include "charts/PlotTimes.h"
#include "charts/PlotValues.h"
#include "charts/RecordPlot.h"
#include "charts/TimeAxis.h"
#include "charts/ui/ListPlot.h"
#include "charts/ui/RealTimeGraph.h"
#include "common/AppContext.h"
#include "common/SharedState.h"
#include "link/SerialPort.h"
#include "panel/PortOpener.h"
#include "panel/ui/PanelWindow.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"
#include "records/ui/FileList.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <charconv>
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

// One plot of records first..last of `grid` on an image of the given size, straight through
// the plotter (no window): ms.
double plotRecords(const RecordTableModel& grid, PlotValues* values, QSize size, long long first,
                   long long last, const PlotTimes* times = nullptr) {
    SharedState s;
    s.PlotLayout =
        ComputeChartLayout(static_cast<float>(size.width()), static_cast<float>(size.height()));
    s.PlotFirst = static_cast<double>(first);
    s.PlotLast = static_cast<double>(last);
    s.PlotCount = static_cast<double>(last - first + 1);
    s.PlotStep = s.PlotLayout.PlotWidth / s.PlotCount;
    s.PlotBottom = 0;
    s.PlotTop = 2000;
    s.GridColour = kGridColourIndex;
    if (times) {
        s.PlotTimeAxis = true;
        s.PlotTimeFrom = times->at(first - 1);
        s.PlotTimeTo = times->at(last - 1);
        s.PlotInterval = 1;
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QElapsedTimer t;
    t.start();
    QPainter painter(&image);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    painter.setFont(font);
    DrawChartFrame(painter, s.PlotLayout, s.PlotBottom, s.PlotTop, QStringLiteral("LUX"));
    std::optional<RecordPlotter> plotter;
    if (values)
        plotter.emplace(grid, *values, s, times);
    else
        plotter.emplace(grid, s, times);
    while (!plotter->finished())
        plotter->plotNext(painter, 4096);
    painter.end();
    return msOf(t);
}

// The floor under a plot: the value texts read by the C library and every segment handed to
// the painter in one call, without marks, grid or progress.
double plainPlot(const RecordTableModel& grid, QSize size) {
    const ChartLayout l =
        ComputeChartLayout(static_cast<float>(size.width()), static_cast<float>(size.height()));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QElapsedTimer t;
    t.start();
    const int n = grid.dataRowCount();
    const double step = l.PlotWidth / n;
    std::vector<QLineF> lines;
    lines.reserve(static_cast<size_t>(n));
    QPointF previous;
    char text[64];
    for (int r = 1; r <= n; ++r) {
        const QStringView cell = grid.cellView(r, RecordTableModel::kValueColumn);
        const qsizetype length = std::min<qsizetype>(cell.size(), 63);
        for (qsizetype i = 0; i < length; ++i)
            text[i] = static_cast<char>(cell[i].unicode());
        double v = 0;
        std::from_chars(text, text + length, v);
        const QPointF point(l.AxisX + step * (r - 1), l.Baseline - v / 2000 * l.PlotHeight);
        if (r > 1)
            lines.emplace_back(previous, point);
        previous = point;
    }
    QPainter painter(&image);
    QPen pen(Qt::black, 1);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    painter.end();
    return msOf(t);
}

} // namespace

// The plotter alone on lists in memory: a day and a million records plotted at the window's
// first size and full screen, reading the values and with them kept, zoom steps into the
// million with the values kept, and the plain floor of a million.
std::vector<Figure> recordPlotFigures(const BenchOptions&) {
    std::vector<Figure> figures;
    auto best = [](int runs, const std::function<double()>& run) {
        double ms = run();
        for (int i = 1; i < runs; ++i)
            ms = std::min(ms, run());
        return ms;
    };
    for (const int records : {86400, 1000000}) {
        RecordTableModel grid;
        QStringList rows;
        rows.reserve(records);
        for (int n = 1; n <= records; ++n)
            rows << recordLine(n);
        grid.appendRows(rows);
        rows.clear();
        const QString tag = QString::number(records);
        for (const QSize size : {QSize(392, 364), QSize(1920, 1080)}) {
            const QString at = QStringLiteral("_%1x%2").arg(size.width()).arg(size.height());
            figures.push_back(
                {"plotter_" + tag + at + "_ms",
                 best(3, [&] { return plotRecords(grid, nullptr, size, 1, records); }), "ms"});
            PlotValues values;
            figures.push_back({"plotter_" + tag + at + "_values_read_ms",
                               plotRecords(grid, &values, size, 1, records), "ms"});
            figures.push_back(
                {"plotter_" + tag + at + "_values_kept_ms",
                 best(3, [&] { return plotRecords(grid, &values, size, 1, records); }), "ms"});
            if (records == 1000000) {
                for (const auto& [first, last] : {std::pair{400000, 600000}, {490000, 510000}}) {
                    figures.push_back(
                        {QStringLiteral("plotter_zoom_%1_%2%3_ms").arg(first).arg(last).arg(at),
                         best(3, [&] { return plotRecords(grid, &values, size, first, last); }),
                         "ms"});
                }
                figures.push_back({"plotter_plain_" + tag + at + "_ms",
                                   best(3, [&] { return plainPlot(grid, size); }), "ms"});
            }
        }
    }
    // A million records a second apart over 12 days, on the clock-time axis.
    RecordTableModel days;
    QStringList rows;
    rows.reserve(1000000);
    for (int n = 1; n <= 1000000; ++n)
        rows << QStringLiteral("%1\t%2\t%3\t")
                    .arg(n)
                    .arg(shownTimeText(1277164800.0 + n - 1))
                    .arg(1000 + std::lround(700 * std::sin(n * 0.0001)) + n % 97);
    days.appendRows(rows);
    rows.clear();
    QElapsedTimer read;
    read.start();
    const PlotTimes times(days);
    figures.push_back({"plotter_time_1000000_times_read_ms", msOf(read), "ms"});
    PlotValues values(days);
    for (const QSize size : {QSize(392, 364), QSize(1920, 1080)}) {
        const QString at = QStringLiteral("_%1x%2").arg(size.width()).arg(size.height());
        figures.push_back(
            {"plotter_time_1000000" + at + "_ms",
             best(3, [&] { return plotRecords(days, &values, size, 1, 1000000, &times); }), "ms"});
        figures.push_back(
            {"plotter_time_zoom_490000_510000" + at + "_ms",
             best(3, [&] { return plotRecords(days, &values, size, 490000, 510000, &times); }),
             "ms"});
    }
    return figures;
}

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
