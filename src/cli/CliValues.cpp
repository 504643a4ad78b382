#include "cli/CliValues.h"

#include "common/NumberText.h"
#include "common/SharedState.h"
#include "records/RecordExport.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype kMaxDigits = 12;

qint64 unitSeconds(QChar unit) {
    switch (unit.unicode()) {
    case u's':
        return 1;
    case u'm':
        return 60;
    case u'h':
        return 3600;
    case u'd':
        return 86400;
    default:
        return 0;
    }
}

// The digits at `at`, moving `at` past them; nullopt when there are none or too many.
std::optional<qint64> takeDigits(QStringView text, qsizetype& at) {
    const qsizetype start = at;
    qint64 value = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
        if (at - start == kMaxDigits)
            return std::nullopt;
        value = value * 10 + (text[at].unicode() - u'0');
        ++at;
    }
    if (at == start)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<qint64> parseWholeNumber(QStringView text, qint64 min, qint64 max) {
    qsizetype at = 0;
    const std::optional<qint64> value = takeDigits(text, at);
    if (!value || at != text.size() || *value < min || *value > max)
        return std::nullopt;
    return value;
}

std::optional<qint64> parseDuration(QStringView text) {
    qint64 total = 0;
    qsizetype at = 0;
    while (at < text.size()) {
        const std::optional<qint64> number = takeDigits(text, at);
        if (!number)
            return std::nullopt;
        qint64 unit = 1;
        if (at < text.size()) {
            unit = unitSeconds(text[at]);
            if (unit == 0)
                return std::nullopt;
            ++at;
        }
        // Twelve digits times a day stays far inside 64 bits; the cap keeps the sum there too.
        total += *number * unit;
        if (total > kMaxDurationSeconds)
            return std::nullopt;
    }
    if (total < 1)
        return std::nullopt;
    return total;
}

QString isoTimeWithOffset(const QDateTime& time) {
    const int offset = time.offsetFromUtc();
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) + (offset < 0 ? u'-' : u'+') +
           QString::number(minutes / 60).rightJustified(2, u'0') + u':' +
           QString::number(minutes % 60).rightJustified(2, u'0');
}

QString elapsedText(double seconds) {
    const auto whole = static_cast<qint64>(std::max(0.0, std::floor(seconds)));
    return QStringLiteral("%1:%2:%3")
        .arg(whole / 3600)
        .arg(whole / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

std::optional<OutputFormat> parseOutputFormat(QStringView text) {
    if (text == u"text")
        return OutputFormat::Text;
    if (text == u"csv")
        return OutputFormat::Csv;
    if (text == u"jsonl")
        return OutputFormat::Jsonl;
    return std::nullopt;
}

ExportRow readingRow(const SharedState& state, qint64 number, const QDateTime& decodedAt) {
    ExportRow row;
    row.number = QString::number(number);
    row.time = isoTimeWithOffset(decodedAt);
    row.reading = state.Value.text();
    row.value = exactNumber(row.reading);
    row.unit = state.Unit;
    if (state.Range)
        row.range = *state.Range;
    row.batteryLow = state.BatLow;
    return row;
}

QString readingLine(const SharedState& state, const QDateTime& decodedAt) {
    QString line = isoTimeWithOffset(decodedAt) + u' ' + state.Value.text() + u' ' + state.Unit +
                   u' ' + rangeText(state.Range);
    const std::pair<bool, const char16_t*> flags[] = {
        {state.BatLow, u" BAT"},   {state.HoldOn, u" HOLD"},  {state.MaxOn, u" MAX"},
        {state.MemFull, u" FULL"}, {state.MeterRec, u" REC"},
    };
    for (const auto& [on, name] : flags) {
        if (on)
            line += QStringView(name);
    }
    return line;
}
