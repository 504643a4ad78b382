#include "records/FileTransfer.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/NumberText.h"
#include "common/PauseGate.h"
#include "common/Printer.h"
#include "common/SharedState.h"
#include "link/Clock.h"
#include "records/ExportEncoder.h"
#include "records/ProgressCaption.h"
#include "records/RecordExport.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <algorithm>

namespace {

// Rows read from a file between two looks at the clock.
constexpr int kReadBatch = 1024;
constexpr qint64 kMaxReserve = qint64{64} * 1024 * 1024;
// Rows saved between two looks at the clock.
constexpr int kRowsPerClockRead = 256;
// Exported text goes to the file in pieces of about this many bytes.
constexpr qsizetype kExportChunk = qsizetype{256} * 1024;

void setBusy(const BusyPointer& busy, bool on) {
    if (busy)
        busy(on);
}

// The header is what follows the first "---". A caption without one has no header to give; the
// same offset arithmetic then starts at its third character, which keeps saving such a list
// predictable rather than special.
QString headerFromCaption(const QString& caption) {
    const qsizetype dashes = caption.indexOf(QStringLiteral("---"));
    return caption.mid(dashes >= 0 ? dashes + 3 : 2);
}

QString paddedCell(const QString& text, qsizetype width, bool separated) {
    if (text.size() < width)
        return text.leftJustified(width);
    return separated ? text + u' ' : text;
}

} // namespace

bool ChooseSaveFile(SharedState& state, Dialogs& dialogs) {
    state.FileSelected = false;
    const std::optional<QString> path =
        dialogs.saveFile(QStringLiteral("Save As"), kAllFilesFilter);
    if (!path)
        return false;
    state.FileName = *path;
    state.FileSelected = !QFileInfo(*path).fileName().isEmpty();
    return state.FileSelected;
}

bool writeGridLines(RecordWriter& file, const QString& caption, CaptionedWindow& window,
                    const RecordTableModel& grid) {
    bool written = file.writeLine(headerFromCaption(caption));
    const int rows = grid.rowCount();
    const auto completed = [](int r) {
        return QString::number(r) + QStringLiteral("Records Completed");
    };
    ProgressCaption progress(window);
    int r = 1;
    for (; written && r < rows; ++r) {
        // The clock is read every few hundred rows: reading it for each would add a third.
        if (r % kRowsPerClockRead == 1 && progress.due())
            progress.show(completed(r));
        // Every cell ends with a TAB, the missing ones too.
        const QLatin1StringView row = grid.rowText(r);
        written =
            file.writeLine(QByteArrayView(row.data(), row.size()),
                           RecordTableModel::kColumns - std::count(row.begin(), row.end(), '\t'));
    }
    if (r > 1)
        progress.show(completed(r - 1));
    return written;
}

bool SaveGridToFile(SharedState& state, Dialogs& dialogs, CaptionedWindow& window,
                    const RecordTableModel& grid, const BusyPointer& busy) {
    setBusy(busy, true);
    const QString caption = window.caption();
    RecordWriter file;
    bool written = file.create(state.FileName, RecordWriter::Flush::Buffered) &&
                   writeGridLines(file, caption, window, grid);
    written = file.close() && written;

    window.setCaption(caption);
    state.FileSelected = false;
    setBusy(busy, false);
    if (!written)
        dialogs.message(kCannotWriteFile, {}, Dialogs::Icon::Critical);
    return written;
}

void saveList(SharedState& state, Dialogs& dialogs, CaptionedWindow& window,
              const RecordTableModel& grid, const BusyPointer& busy) {
    if (state.Recording) {
        dialogs.message(kAlreadyRecording, {}, Dialogs::Icon::Critical);
        return;
    }
    // The hourglass waits until the dialog has closed, so the dialog keeps a normal pointer.
    if (ChooseSaveFile(state, dialogs))
        SaveGridToFile(state, dialogs, window, grid, busy);
}

QString printedRow(const QString& number, const QString& time, const QString& value) {
    return paddedCell(number, 7, true) + paddedCell(time, 18, true) + paddedCell(value, 7, false);
}

bool PrintGrid(AppContext& app, CaptionedWindow& window, const RecordTableModel& grid,
               const BusyPointer& busy) {
    setBusy(busy, true);
    std::optional<ScopedPause> pause(std::in_place, app.poll);
    const QString caption = window.caption();

    bool printed = app.printer.beginJob(caption);
    if (printed) {
        app.printer.printLine(caption);
        app.printer.printLine(kDashLine);
        // The row count is read on every pass: the live list may grow while it prints. Events
        // run with each progress caption, a few dozen times a second.
        const auto completed = [](int r) {
            return QString::number(r) + QStringLiteral(" record(s) completed");
        };
        ProgressCaption progress(window);
        int r = 1;
        for (; r < grid.rowCount(); ++r) {
            const QString line = printedRow(grid.cell(r, 0), grid.cell(r, 1), grid.cell(r, 2));
            if (progress.due() || r + 1 == grid.rowCount()) {
                progress.show(completed(r));
                if (!app.clock.processEvents() || window.closing()) {
                    printed = false;
                    break;
                }
            }
            app.printer.printLine(line);
        }
        if (printed)
            printed = app.printer.endJob();
        else
            app.printer.abortJob();
    }

    setBusy(busy, false);
    window.setCaption(caption);
    pause.reset();
    return printed;
}

std::optional<QString> chooseFileToOpen(const SharedState& state, Dialogs& dialogs) {
    if (state.Recording) {
        dialogs.message(kStopRecordingFirst, {}, Dialogs::Icon::Critical);
        return std::nullopt;
    }
    std::optional<QString> path = dialogs.openFile(QStringLiteral("Open"), kAllFilesFilter);
    if (!path || path->isEmpty())
        return std::nullopt;
    return path;
}

QString readFailureDetail(const QString& path, const QString& error) {
    const QFileInfo file(path);
    if (file.isDir())
        return QStringLiteral("%1 is a folder, not a record file.").arg(file.fileName());
    if (file.exists() && !file.isReadable())
        return QStringLiteral("You may not read %1.").arg(file.fileName());
    return QStringLiteral("%1: %2").arg(file.fileName(), error);
}

bool readRecordFile(RecordReader& reader, const QString& fileTitle, CaptionedWindow& window,
                    RecordTableModel& grid, Clock* clock) {
    // A file without a single item leaves the caption empty.
    QString caption;
    std::optional<QString> header = reader.nextItem();
    if (header) {
        caption = fileTitle + QStringLiteral("---") + *header;
        window.setCaption(caption);
    }

    // A file's rows hold at most its bytes (a record line has some 30); the cap keeps a file of
    // foreign data from reserving more than a large list needs.
    const qsizetype bytes = std::min<qint64>(reader.size(), kMaxReserve);
    grid.reserve(bytes, bytes / 30);
    int records = 0;
    bool more = header.has_value();
    const auto completed = [&records] {
        return QString::number(records) + QStringLiteral(" Records Completed");
    };
    // The list and its caption catch up a few dozen times a second, the rows read meanwhile in
    // one insertion: a view takes each insertion's rows in at a cost of its own, and repainting
    // the grid more often would cost more than reading the file.
    ProgressCaption progress(window);
    while (more) {
        if (const std::optional<QLatin1StringView> item = reader.nextItemView()) {
            grid.stageRow(*item);
            ++records;
        } else {
            more = false;
        }
        if (!more) {
            grid.showStagedRows();
            if (records > 0)
                progress.show(completed());
        } else if (records % kReadBatch == 0 && progress.due()) {
            grid.showStagedRows();
            progress.show(completed());
            if (clock && (!clock->processEvents() || window.closing()))
                more = false;
        }
    }

    window.setCaption(caption);
    return !reader.failed();
}

bool exportList(Dialogs& dialogs, CaptionedWindow& window, const RecordTableModel& grid,
                const BusyPointer& busy) {
    const std::optional<QString> path =
        dialogs.saveFile(QStringLiteral("Export"),
                         QStringLiteral("CSV (*.csv);;JSON Lines (*.jsonl);;All Files (*)"));
    if (!path || QFileInfo(*path).fileName().isEmpty())
        return false;
    setBusy(busy, true);
    const ExportForm form = path->endsWith(QStringLiteral(".jsonl"), Qt::CaseInsensitive)
                                ? ExportForm::Jsonl
                                : ExportForm::Csv;
    ExportEncoder encoder(ListHeader::parse(window.caption()), form);
    // A whole file under a temporary name, put in place only once complete.
    QSaveFile file(*path);
    bool written = file.open(QIODevice::WriteOnly);
    QByteArray pending = encoder.headerLine();
    if (!pending.isEmpty())
        pending += "\r\n";
    for (int r = 1; written && r < grid.rowCount(); ++r) {
        encoder.appendRow(pending, grid, r);
        pending += "\r\n";
        if (pending.size() >= kExportChunk) {
            written = file.write(pending) == pending.size();
            pending.resize(0);
        }
    }
    written = written && file.write(pending) == pending.size();
    written = written ? file.commit() : (file.cancelWriting(), false);
    setBusy(busy, false);
    if (!written)
        dialogs.message(kCannotWriteFile, {}, Dialogs::Icon::Critical);
    return written;
}

QString copiedRows(const RecordTableModel& grid, const std::vector<int>& rows) {
    QString text;
    const auto append = [&](int r) {
        for (int c = 0; c < RecordTableModel::kColumns; ++c) {
            if (c > 0)
                text += u'\t';
            text += grid.cellView(r, c).trimmed();
        }
        text += u'\n';
    };
    append(0);
    for (const int r : rows) {
        if (r >= 1 && r < grid.rowCount())
            append(r);
    }
    return text;
}
