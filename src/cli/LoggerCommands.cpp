#include "cli/CliSession.h"
#include "cli/CliValues.h"
#include "cli/Commands.h"
#include "cli/Console.h"
#include "cli/SystemConsole.h"
#include "common/SharedState.h"
#include "logger/DataLogger.h"
#include "logger/LoggerWindow.h"
#include "logger/SetListExport.h"
#include "logger/SetListModel.h"
#include "records/FileTransfer.h"
#include "records/RecordExport.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"

#include <cmath>
#include <memory>

namespace {

// The data logger window's labels, usage bar, transfer bar and set list.
class ConsoleLoggerWindow : public LoggerWindow {
public:
    explicit ConsoleLoggerWindow(CliSession& session)
        : m_session(session) {}

    void showWindow() override {}
    bool closed() const override { return m_session.stopped(); }
    void closeWindow() override {}
    void setCapacityText(const QString& text) override { capacity = text; }
    QString idText() const override { return id; }
    void setIdText(const QString& text) override { id = text; }
    QString intervalText() const override { return interval; }
    void setIntervalText(const QString& text) override { interval = text; }
    void setUsagePercent(double percent) override { usage = percent; }
    void setTransferPercent(double percent) override {
        if (transferCaption.isEmpty())
            return;
        const auto whole = static_cast<int>(std::floor(percent));
        if (whole != m_shownPercent)
            m_session.console.progress(transferCaption + QString::number(whole) + u'%');
        m_shownPercent = whole;
    }
    int setRowCount() const override { return sets.rowCount(); }
    QString setCell(int row, int column) const override { return sets.cell(row, column); }
    void appendSetRow(const QString& tabSeparated) override { sets.appendRow(tabSeparated); }

    QString capacity;
    QString id;
    QString interval;
    std::optional<double> usage;
    SetListModel sets;
    // The transfer bar shows as a progress line while this is set.
    QString transferCaption;

private:
    CliSession& m_session;
    int m_shownPercent = -1;
};

// The downloaded-data list a download fills.
class ConsoleDataList : public DownloadedList {
public:
    explicit ConsoleDataList(CliSession& session)
        : m_session(session) {}

    QString caption() const override { return m_caption; }
    void setCaption(const QString& caption) override { m_caption = caption; }
    bool closing() const override { return m_session.stopped(); }
    void show() override {}
    void close() override {}
    void appendRows(const QStringList& rows) override { grid.appendRows(rows); }
    void setFilling(bool filling) override { m_filling = filling; }

    // Every sample decoded and the title given its header.
    bool complete() const { return !m_filling && m_caption.contains(QStringLiteral("---")); }

    RecordTableModel grid;

private:
    CliSession& m_session;
    QString m_caption = QStringLiteral("Data List");
    bool m_filling = false;
};

// The "Memory" button refuses silently while the meter logs or holds its display; a command
// says why.
bool loggerMayOpen(CliSession& session) {
    const SharedState& state = session.state;
    if (state.MeterRec)
        session.console.message(
            QStringLiteral("the meter is logging (REC): its memory can be read once it stops"));
    else if (state.HoldOn)
        session.console.message(
            QStringLiteral("the meter holds its display (H): release it to read its memory"));
    return dataLoggerMayOpen(state);
}

bool onlyEmptyMemory(const QStringList& errors) {
    return errors == QStringList{kNoDataInMemory};
}

} // namespace

int runSets(CliSession& session, OutputFormat format) {
    if (!session.firstReading() || !loggerMayOpen(session))
        return 1;
    ConsoleLoggerWindow window(session);
    DataLogger logger(session.context, window, nullptr);
    logger.readSetList();
    const QStringList& errors = session.dialogs.errors();
    if (session.stopped() || (!errors.isEmpty() && !onlyEmptyMemory(errors)))
        return 1;
    Console& console = session.console;
    if (format != OutputFormat::Text) {
        if (format == OutputFormat::Csv)
            console.line(setCsvHeader());
        for (int row = 1; row < window.sets.rowCount(); ++row) {
            const SetExportRow set = setExportRow(window.sets, row, window.id);
            console.line(format == OutputFormat::Csv ? setCsvLine(set) : setJsonLine(set));
        }
        return 0;
    }
    console.line(QStringLiteral("ID\t") + window.id);
    console.line(QStringLiteral("Int.(sec.)\t") + window.interval);
    console.line(window.capacity);
    if (window.usage)
        console.line(QStringLiteral("Memory Size\t") + QString::number(*window.usage, 'f', 2) +
                     QStringLiteral(" %"));
    for (int row = 0; row < window.sets.rowCount(); ++row)
        console.line(window.sets.rowView(row).toString());
    return 0;
}

int runDownload(CliSession& session, int setNumber, const std::optional<QString>& path,
                OutputFormat format) {
    if (!session.firstReading() || !loggerMayOpen(session))
        return 1;
    ConsoleLoggerWindow window(session);
    std::shared_ptr<ConsoleDataList> list;
    DataLogger logger(session.context, window, [&] {
        list = std::make_shared<ConsoleDataList>(session);
        return list;
    });
    logger.readSetList();
    if (session.stopped() || !session.dialogs.errors().isEmpty())
        return 1;
    const int sets = window.sets.dataRowCount();
    if (setNumber > sets) {
        session.console.message(sets == 0 ? QStringLiteral("the meter holds no sets")
                                          : QStringLiteral("the meter holds no set %1, only "
                                                           "sets 1 to %2")
                                                .arg(setNumber)
                                                .arg(sets));
        return 1;
    }
    window.transferCaption = QStringLiteral("downloading set %1: ").arg(setNumber);
    // Set n is row n of the list, as a click on it would choose.
    logger.downloadSet(setNumber);
    session.console.endProgress();
    if (session.stopped() || !session.dialogs.errors().isEmpty() || !list || !list->complete())
        return 1;

    if (format != OutputFormat::Text) {
        RecordWriter out;
        bool written =
            path ? out.create(*path, RecordWriter::Flush::Buffered) : out.open(stdoutDescriptor());
        written = written &&
                  writeExport(out, list->grid, ListHeader::parse(list->caption()),
                              format == OutputFormat::Csv ? ExportForm::Csv : ExportForm::Jsonl);
        written = out.close() && written;
        if (!written) {
            session.dialogs.message(kCannotWriteFile, {}, Dialogs::Icon::Critical);
            return 1;
        }
        return 0;
    }
    if (path) {
        // The list's "Save": the save dialog answers with the path, then the grid is written.
        session.dialogs.answerSaveWith(*path);
        saveList(session.state, session.dialogs, *list, list->grid);
        return session.dialogs.errors().isEmpty() ? 0 : 1;
    }
    RecordWriter out;
    bool written =
        out.open(stdoutDescriptor()) && writeGridLines(out, list->caption(), *list, list->grid);
    written = out.close() && written;
    if (!written) {
        session.dialogs.message(kCannotWriteFile, {}, Dialogs::Icon::Critical);
        return 1;
    }
    return 0;
}
