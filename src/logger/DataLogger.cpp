#include "logger/DataLogger.h"

#include "common/AppContext.h"
#include "common/Dialogs.h"
#include "common/NumberText.h"
#include "common/PauseGate.h"
#include "common/SharedState.h"
#include "link/Clock.h"
#include "link/LoggerReplies.h"
#include "logger/LoggerWindow.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <cmath>

namespace {

// Rows go into the list in batches; the caption counts them and events run in between, so a
// long set neither freezes the program nor floods the view with single insertions.
constexpr int kRowBatch = 1000;

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

struct DataLogger::Setting {
    QString title;
    QString labelPrompt;
    QString panelPrompt;
    quint8 lowAddress;
    quint8 highAddress;
    QString (LoggerWindow::*text)() const;
    void (LoggerWindow::*setText)(const QString&);
    bool isId;
};

bool dataLoggerMayOpen(const SharedState& state) {
    return !state.MemoryOn && !state.MeterRec && !state.HoldOn;
}

DataLogger::DataLogger(AppContext& context, LoggerWindow& window, ListSource obtainList)
    : m_context(context)
    , m_window(window)
    , m_obtainList(std::move(obtainList)) {}

MeterExchange DataLogger::exchange() {
    return MeterExchange(*m_context.port, m_context.clock, [this] { return m_window.closed(); });
}

void DataLogger::restorePortLabel() {
    if (m_context.setPortLabel)
        m_context.setPortLabel(portLabel(m_context.state));
}

void DataLogger::failed(LinkStatus status, std::optional<ScopedPause>& pause) {
    pause.reset();
    m_window.setTransferPercent(0);
    if (status == LinkStatus::NoReply)
        m_context.dialogs.message(kMeterNotResponding, {}, Dialogs::Icon::Critical);
}

void DataLogger::readSetList() {
    SharedState& state = m_context.state;
    if (m_busy || !m_context.port || !dataLoggerMayOpen(state))
        return;
    QScopedValueRollback guard(m_busy, true);
    state.MemoryOn = true;
    std::optional<ScopedPause> pause(std::in_place, m_context.poll);
    // Shown before the exchange, so the user sees at once that the button worked.
    m_window.showWindow();
    MeterExchange line = exchange();
    const LinkResult<QByteArray> reply = line.ReadSettings();
    const std::optional<SettingsReply> settings =
        reply.ok() ? SettingsReply::decode(reply.reply) : std::nullopt;
    if (!settings) {
        failed(reply.status, pause);
        return;
    }
    m_window.setCapacityText(settings->capacityText());
    state.MeterID = Value::fromNumber(settings->id);
    m_window.setIdText(QString::number(settings->id));
    m_window.setIntervalText(QString::number(settings->interval));
    if (settings->holdsNoData()) {
        pause.reset();
        m_context.dialogs.message(kNoDataInMemory, {}, Dialogs::Icon::Critical);
        return;
    }
    m_window.setUsagePercent(settings->memoryPercent(state.MemFull));

    const LinkResult<QByteArray> index = line.ReadSetIndex(
        settings->setCount, [this](double percent) { m_window.setTransferPercent(percent); });
    const auto entries =
        index.ok() ? decodeSetIndex(index.reply, settings->setCount) : std::nullopt;
    if (!entries) {
        failed(index.status, pause);
        return;
    }
    for (size_t i = 0; i < entries->size(); ++i)
        m_window.appendSetRow(setRowText(state, static_cast<int>(i) + 1, (*entries)[i]));
    // Entry 0 is no set the list can show.
    for (size_t s = 1; s < state.SetCache.size(); ++s)
        state.SetCache[s].clear();
}

void DataLogger::downloadSet(int row) {
    SharedState& state = m_context.state;
    // Row 0 holds the titles: it names no set.
    if (m_busy || !m_context.port || row < 1 || row >= m_window.setRowCount())
        return;
    QScopedValueRollback guard(m_busy, true);
    QString fault;
    {
        std::optional<ScopedPause> pause(std::in_place, m_context.poll);
        // However the download ends: the poll runs again and the port label comes back, before
        // a fault found in the set is reported.
        const auto end = qScopeGuard([this, &pause] {
            pause.reset();
            restorePortLabel();
        });
        const std::shared_ptr<DownloadedList> list = m_obtainList ? m_obtainList() : nullptr;
        if (!list)
            return;

        const double setNumber = leadingNumber(m_window.setCell(row, 0));
        const int interval = static_cast<int>(leadingNumber(m_window.setCell(row, 4)));
        const double samples = leadingNumber(m_window.setCell(row, 5));
        if (setNumber < 0 || setNumber >= static_cast<double>(state.SetCache.size()) ||
            samples < 0 || samples > 65535) {
            list->close();
            return;
        }
        const auto s = static_cast<size_t>(setNumber);
        const int sampleCount = static_cast<int>(samples);

        // Only complete dumps are kept, so a transfer that broke off is asked for again next
        // time instead of being decoded short.
        if (state.SetCache[s].size() != setDumpSize(sampleCount)) {
            state.SetCache[s].clear();
            const LinkResult<QByteArray> dump =
                exchange().ReadSet(static_cast<quint8>(s), sampleCount, [this](double percent) {
                    m_window.setTransferPercent(percent);
                });
            if (!dump.ok()) {
                list->close();
                failed(dump.status, pause);
                return;
            }
            state.SetCache[s] = dump.reply;
        }

        const SetRows decoded = decodeSetDump(state, state.SetCache[s], interval, sampleCount);
        list->setFilling(true);
        list->show();
        const QString title = list->caption();
        bool stopped = false;
        for (qsizetype done = 0; done < decoded.rows.size();) {
            const qsizetype batch = std::min<qsizetype>(kRowBatch, decoded.rows.size() - done);
            list->appendRows(decoded.rows.mid(done, batch));
            done += batch;
            list->setCaption(QString::number(done) + kRecordsCompleted);
            if (done < decoded.rows.size() &&
                (!m_context.clock.processEvents() || list->closing())) {
                stopped = true;
                break;
            }
        }
        // Rows decoded before a fault are records like any other: the list keeps its title, so
        // that saving it writes a true header.
        if (!stopped) {
            list->setCaption(title + downloadTitleSuffix(state));
            list->setFilling(false);
        }
        fault = decoded.error;
    }
    if (!fault.isEmpty())
        m_context.dialogs.message(fault, {}, Dialogs::Icon::Critical);
}

void DataLogger::changeId(Origin origin) {
    static const Setting kId{
        QStringLiteral("Input ID Code"),
        QStringLiteral("Input an id code from 0 to 65535 and press OK to confirm.") + kCrLf,
        QStringLiteral("Enter the Willing ID") + kCrLf +
            QStringLiteral("(0 <= ID Code <= 65535 ) "),
        kIdLowAddress,
        kIdHighAddress,
        &LoggerWindow::idText,
        &LoggerWindow::setIdText,
        true};
    changeSetting(kId, origin);
}

void DataLogger::changeInterval(Origin origin) {
    static const Setting kInterval{
        QStringLiteral("Input Interval"),
        QStringLiteral(
            "Input a sample interval time from 1 to 65535 seconds and press OK to confirm.") +
            kCrLf,
        QStringLiteral("Enter the Willing Interval in second") + kCrLf +
            QStringLiteral("(0 <= interval <= 65535 ) "),
        kIntervalLowAddress,
        kIntervalHighAddress,
        &LoggerWindow::intervalText,
        &LoggerWindow::setIntervalText,
        false};
    changeSetting(kInterval, origin);
}

void DataLogger::changeSetting(const Setting& setting, Origin origin) {
    if (m_busy || !m_context.port)
        return;
    QScopedValueRollback guard(m_busy, true);
    Dialogs& dialogs = m_context.dialogs;
    // Before the settings have been read the label is empty: there is no value to offer.
    const std::optional<double> shown = exactNumber((m_window.*setting.text)());
    if (!shown || !std::isfinite(*shown)) {
        dialogs.message(kInvalidSettingValue, {}, Dialogs::Icon::Critical);
        return;
    }
    const std::optional<QString> answer =
        dialogs.input(origin == Origin::Label ? setting.labelPrompt : setting.panelPrompt,
                      setting.title, numberText(std::trunc(*shown)));
    if (!answer || answer->isEmpty())
        return;
    const std::optional<double> typed = exactNumber(*answer);
    if (!typed || !std::isfinite(*typed)) {
        dialogs.message(kInvalidSettingValue, {}, Dialogs::Icon::Critical);
        return;
    }
    // Any value past the top is refused alike; capping it keeps the conversion defined.
    const double whole = std::min(std::floor(std::fabs(*typed)), 65536.0);
    const auto value = static_cast<qint64>(whole);

    LinkStatus written = LinkStatus::Cancelled;
    {
        const ScopedPause pause(m_context.poll);
        written = exchange().WriteSettingWord(setting.lowAddress, setting.highAddress, value);
        if (written == LinkStatus::OutOfRange)
            dialogs.message(kInvalidSettingValue, {}, Dialogs::Icon::Critical);
    }
    if (written == LinkStatus::Ok) {
        (m_window.*setting.setText)(QString::number(value));
        // Only a code the meter was given names the meter in later headers.
        if (setting.isId)
            m_context.state.MeterID = Value::fromNumber(static_cast<double>(value));
    }
}

void DataLogger::eraseMemory() {
    if (m_busy || !m_context.port)
        return;
    LinkStatus status = LinkStatus::Cancelled;
    {
        QScopedValueRollback guard(m_busy, true);
        if (!m_context.dialogs.confirm(kEraseWarning, kEraseWarningTitle))
            return;
        std::optional<ScopedPause> pause(std::in_place, m_context.poll);
        status = exchange().EraseMemory();
        if (status != LinkStatus::Ok) {
            failed(status, pause);
            return;
        }
    }
    m_window.closeWindow();
}
