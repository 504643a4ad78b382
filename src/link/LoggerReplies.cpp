#include "link/LoggerReplies.h"

#include "common/SharedState.h"
#include "link/MeterDigits.h"

#include <algorithm>

namespace {

quint8 at(QByteArrayView bytes, qsizetype index) {
    return static_cast<quint8>(bytes[index]);
}

int lowFirst(QByteArrayView bytes, qsizetype index) {
    return at(bytes, index) | at(bytes, index + 1) << 8;
}

QChar tab() {
    return u'\t';
}

} // namespace

int setIndexSize(int setCount) {
    return 1 + kSetEntrySize * setCount;
}

int setDumpSize(int sampleCount) {
    return kSetHeaderSize + 2 * sampleCount;
}

std::optional<SettingsReply> SettingsReply::decode(QByteArrayView reply) {
    if (reply.size() != kSettingsReplySize)
        return std::nullopt;
    SettingsReply s;
    // The one two-byte number that travels high byte first.
    s.id = at(reply, 0) << 8 | at(reply, 1);
    s.capacityK = at(reply, 3) * 16;
    s.setCount = at(reply, 4);
    s.memoryUsed = lowFirst(reply, 5);
    s.interval = lowFirst(reply, 7);
    return s;
}

double SettingsReply::memoryPercent(bool memFull) const {
    if (memFull)
        return 100;
    return std::min(100.0, memoryUsed * 100.0 / kMemoryUnits);
}

QString SettingsReply::capacityText() const {
    return QStringLiteral("Capacity : ") + QString::number(capacityK) + QStringLiteral(" K");
}

SetEntry SetEntry::decode(QByteArrayView entry) {
    SetEntry e;
    for (int i = 0; i < 6; ++i)
        e.start[i] = at(entry, i);
    e.rangeUnit = at(entry, 6);
    e.interval = lowFirst(entry, 7);
    e.sampleCount = lowFirst(entry, 9);
    return e;
}

std::optional<std::vector<SetEntry>> decodeSetIndex(QByteArrayView index, int setCount) {
    if (setCount < 0 || index.size() < 1 + qint64{kSetEntrySize} * setCount)
        return std::nullopt;
    std::vector<SetEntry> entries;
    entries.reserve(static_cast<size_t>(setCount));
    // The first byte carries nothing.
    for (int i = 0; i < setCount; ++i)
        entries.push_back(SetEntry::decode(index.sliced(1 + kSetEntrySize * i, kSetEntrySize)));
    return entries;
}

QString setRowText(SharedState& state, int setNumber, const SetEntry& entry) {
    DecodeLogRangeUnit(state, entry.rangeUnit);
    const auto& s = entry.start;
    return QString::number(setNumber) + tab() + bcdText(s[2]) + u'/' + bcdText(s[1]) +
           QStringLiteral("/20") + bcdText(s[0]) + tab() + bcdText(s[3]) + u':' + bcdText(s[4]) +
           u':' + bcdText(s[5]) + tab() + rangeText(state.LogRange) + u' ' + state.LogUnit + tab() +
           QString::number(entry.interval) + tab() + QString::number(entry.sampleCount);
}

void DecodeLogRangeUnit(SharedState& state, quint8 code) {
    state.LogUnit = (code & 1) ? QStringLiteral("Fc") : QStringLiteral("LUX");
    state.LogRange = rangeFromIndex(code / 2 % 4);
}

void DecodeLogValue(SharedState& state, quint8 flag, quint8 digit) {
    state.LogBatLow = (flag & 0x40) != 0;
    // The flag byte carries the first digit and the leading one like digit byte A of a live
    // frame; its battery bit is not part of the digit.
    const MeterDigits digits = decodeMeterDigits(state.LogRange, flag, digit);
    if (digits.value)
        state.LogValue = *digits.value;
}

QString bcdText(quint8 byte) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    return QString(QChar(kHex[byte >> 4])) + QChar(kHex[byte & 0xF]);
}

QString setStartText(QByteArrayView header) {
    return QStringLiteral("20") + bcdText(at(header, 0)) + u'/' + bcdText(at(header, 1)) + u'/' +
           bcdText(at(header, 2)) + u' ' + bcdText(at(header, 3)) + u':' + bcdText(at(header, 4)) +
           u':' + bcdText(at(header, 5));
}

std::optional<CalendarTime> setStartTime(QByteArrayView header) {
    // A nibble above 9 shows as a letter, which the held form rejects like a date that does
    // not exist.
    return CalendarTime::parse(setStartText(header));
}

SetRows decodeSetDump(SharedState& state, QByteArrayView dump, int interval, int sampleCount) {
    SetRows out;
    if (dump.size() < 7) {
        out.error = QStringLiteral("The set's header is incomplete.");
        return out;
    }
    DecodeLogRangeUnit(state, at(dump, 6));
    const QString startText = setStartText(dump);
    const std::optional<CalendarTime> start = setStartTime(dump);
    std::optional<CalendarTime> time;
    // The count comes from the index: no more rows than the dump holds samples.
    const qsizetype held = std::max<qsizetype>(0, (dump.size() - kSetHeaderSize) / 2);
    out.rows.reserve(std::min<qsizetype>(std::max(0, sampleCount), held));
    for (int j = 1; j <= sampleCount; ++j) {
        if (j == 1) {
            time = start;
        } else if (!time) {
            out.error = QStringLiteral("The set's start time %1 is no valid date and time; "
                                       "the samples after the first cannot be dated.")
                            .arg(startText);
            return out;
        } else {
            time = time->plusSeconds(interval);
        }
        // Only the first sample can be undated: it shows the header's fields as they are.
        const QString shown = time ? time->shown() : shownFromHeld(startText);
        const qsizetype digitAt = kSetHeaderSize + 2 * (j - 1);
        if (dump.size() < digitAt + 2) {
            out.error = QStringLiteral("The set's data ends before sample %1.").arg(j);
            return out;
        }
        DecodeLogValue(state, at(dump, digitAt + 1), at(dump, digitAt));
        out.rows << QString::number(j) + tab() + shown + tab() + state.LogValue.text() + tab() +
                        (state.LogBatLow ? QStringLiteral("Low") : QString());
    }
    return out;
}

QString downloadTitleSuffix(const SharedState& state) {
    return QStringLiteral("---*ID=") + state.MeterID.text() + QStringLiteral(" Range:") +
           rangeText(state.LogRange) + u'/' + state.LogUnit;
}
