// Opening, saving, exporting and printing an 86,400-record list, each beside a plain C++ read or
// write of the same file; the memory of three full lists; opening a million-line file.
#include "bench/Benchmarks.h"

#include "common/AppContext.h"
#include "common/SharedState.h"
#include "common/ui/QtPrinter.h"
#include "link/RealClock.h"
#include "records/FileTransfer.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"
#include "records/ui/DataList.h"
#include "records/ui/FileList.h"
#include "records/ui/RealTimeList.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 86400;
constexpr int kMillion = 1000000;

QString recordLine(int n) {
    const int s = n - 1;
    return QStringLiteral("%1\t22/06/2010 %2:%3:%4\t%5\t")
        .arg(n)
        .arg(s / 3600 % 24, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'))
        .arg(1000 + n % 900);
}

bool writeRecordFile(const QString& path, int records = kRecords) {
    RecordWriter writer;
    if (!writer.create(path, RecordWriter::Flush::Buffered) ||
        !writer.writeLine(QStringLiteral("*ID=1234 Range:2000/LUX")))
        return false;
    for (int n = 1; n <= records; ++n) {
        if (!writer.writeLine(recordLine(n)))
            return false;
    }
    return writer.close();
}

double peakMemoryMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return -1;
}

// Starts the peak over from what is resident now, so that a benchmark run before leaves no peak
// of its own in the next one's figure.
void resetPeakMemory() {
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

double msSince(const QElapsedTimer& t) {
    return t.nsecsElapsed() * 1e-6;
}

// The "Open" command's reading into a shown FileList, until the window is drawn.
FileList* openShown(AppContext& context, const QString& source) {
    auto* fileList = new FileList(context);
    fileList->show();
    RecordReader reader;
    reader.open(source);
    fileList->readFile(reader, QFileInfo(source).fileName());
    QApplication::processEvents();
    return fileList;
}

// The baseline of opening: the file's lines read into strings with the standard library.
double plainReadMs(const QString& path) {
    QElapsedTimer t;
    t.start();
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(std::move(line));
    return lines.size() > 1 ? msSince(t) : -1;
}

// Lines made beforehand written through a buffered standard stream, each ending in CR LF.
double plainWriteMs(const QString& path, const std::vector<std::string>& lines) {
    QElapsedTimer t;
    t.start();
    std::ofstream out(path.toStdString(), std::ios::binary);
    for (const std::string& line : lines)
        out << line << "\r\n";
    out.close();
    return out ? msSince(t) : -1;
}

// The baseline of saving: the same lines written through a buffered standard stream.
double plainWriteMs(const QString& path, const RecordTableModel& grid) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(grid.rowCount()));
    lines.emplace_back("*ID=1234 Range:2000/LUX");
    for (int r = 1; r < grid.rowCount(); ++r) {
        std::string line;
        for (int c = 0; c < RecordTableModel::kColumns; ++c)
            line += grid.cell(r, c).toStdString() + '\t';
        lines.push_back(std::move(line));
    }
    return plainWriteMs(path, lines);
}

// The baseline of exporting: the exported file's own lines written the same way.
double plainExportWriteMs(const QString& path, const QString& exported) {
    QFile file(exported);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    std::vector<std::string> lines;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.isEmpty())
            lines.emplace_back(line.chopped(1).toStdString());
    }
    return plainWriteMs(path, lines);
}

} // namespace

std::vector<Figure> listFigures(const BenchOptions&) {
    QTemporaryDir dir;
    const QString source = dir.filePath("day.txt");
    if (!writeRecordFile(source))
        return {{"list_error", 1, "cannot_write_source"}};

    SharedState state;
    state.Range = 2000;
    state.Unit = QStringLiteral("LUX");
    RealClock clock;
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs);
    AppContext context{state, clock, dialogs, printer};
    std::vector<Figure> figures;
    const double baseMemory = peakMemoryMiB();

    QElapsedTimer t;
    t.start();
    FileList* fileList = openShown(context, source);
    const double openMs = msSince(t);
    const double readMs = plainReadMs(source);
    figures.push_back({"open_86400_ms", openMs, "ms"});
    figures.push_back({"open_86400_plain_read_ms", readMs, "ms"});
    figures.push_back({"open_86400_ratio", openMs / readMs, "x"});
    if (fileList->model().dataRowCount() != kRecords)
        figures.push_back({"open_rows_wrong", double(fileList->model().dataRowCount()), "rows"});

    // Save: the same rows written as a record file by SaveGridToFile.
    state.FileName = dir.filePath("saved.txt");
    state.FileSelected = true;
    t.restart();
    const bool saved = SaveGridToFile(state, dialogs, *fileList, fileList->model());
    QApplication::processEvents();
    const double saveMs = msSince(t);
    const double writeMs = plainWriteMs(dir.filePath("plain.txt"), fileList->model());
    figures.push_back({"save_86400_ms", saveMs, "ms"});
    figures.push_back({"save_86400_plain_write_ms", writeMs, "ms"});
    figures.push_back({"save_86400_ratio", saveMs / writeMs, "x"});
    if (!saved)
        figures.push_back({"save_failed", 1, "flag"});

    // Export: the same rows as CSV through the list window's Export.
    const QString exported = dir.filePath("exported.csv");
    dialogs.saveAnswers = {exported};
    t.restart();
    const bool exportedOk = exportList(dialogs, *fileList, fileList->model());
    const double exportMs = msSince(t);
    const double exportWriteMs = plainExportWriteMs(dir.filePath("plain.csv"), exported);
    figures.push_back({"export_86400_ms", exportMs, "ms"});
    figures.push_back({"export_86400_plain_write_ms", exportWriteMs, "ms"});
    figures.push_back({"export_86400_ratio", exportMs / exportWriteMs, "x"});
    if (!exportedOk)
        figures.push_back({"export_failed", 1, "flag"});

    // Print: to a PDF (the machine has no printer; the dialog answers the path).
    dialogs.saveAnswers = {dir.filePath("printed.pdf")};
    t.restart();
    const bool printed = PrintGrid(context, *fileList, fileList->model());
    figures.push_back({"print_86400_ms", msSince(t), "ms"});
    figures.push_back(
        {"print_86400_pdf_kib", QFileInfo(dir.filePath("printed.pdf")).size() / 1024.0, "KiB"});
    if (!printed)
        figures.push_back({"print_failed", 1, "flag"});

    // Memory: all three lists full.
    auto* live = new RealTimeList(context);
    auto* data = new DataList(context);
    live->show();
    data->show();
    QStringList rows;
    rows.reserve(kRecords);
    for (int n = 1; n <= kRecords; ++n)
        rows << recordLine(n);
    live->model().appendRows(rows);
    data->model().appendRows(rows);
    rows.clear();
    QApplication::processEvents();
    figures.push_back({"peak_memory_three_lists_mib", peakMemoryMiB(), "MiB"});
    figures.push_back({"peak_memory_before_lists_mib", baseMemory, "MiB"});
    for (QWidget* w : {static_cast<QWidget*>(fileList), static_cast<QWidget*>(live),
                       static_cast<QWidget*>(data)})
        w->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return figures;
}

std::vector<Figure> millionFigures(const BenchOptions&) {
    QTemporaryDir dir;
    const QString source = dir.filePath("foreign.txt");
    if (!writeRecordFile(source, kMillion))
        return {{"million_error", 1, "cannot_write_source"}};
    SharedState state;
    RealClock clock;
    ScriptedDialogs dialogs;
    QtPrinter printer(dialogs);
    AppContext context{state, clock, dialogs, printer};
    resetPeakMemory();
    const double baseMemory = peakMemoryMiB();

    QElapsedTimer t;
    t.start();
    FileList* fileList = openShown(context, source);
    std::vector<Figure> figures;
    figures.push_back({"open_1000000_ms", msSince(t), "ms"});
    // Before the baseline, whose strings take memory of their own.
    figures.push_back({"open_1000000_peak_memory_mib", peakMemoryMiB(), "MiB"});
    figures.push_back({"open_1000000_plain_read_ms", plainReadMs(source), "ms"});
    figures.push_back({"open_1000000_memory_before_mib", baseMemory, "MiB"});
    if (fileList->model().dataRowCount() != kMillion)
        figures.push_back(
            {"open_1000000_rows_wrong", double(fileList->model().dataRowCount()), "rows"});
    fileList->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return figures;
}
