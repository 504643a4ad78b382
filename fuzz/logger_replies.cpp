// The logger's replies: settings reply, set index, set dump and the clock reply text.
//
// Input: four bytes of a count and four of an interval (both int32, low byte first), then the
// reply bytes. The count serves as the set count of the index and the sample count of the dump.

#include "FuzzCheck.h"
#include "common/SharedState.h"
#include "link/LoggerReplies.h"
#include "link/MeterExchange.h"
#include "tools/ClockTexts.h"

#include <QStringList>
#include <cstdint>
#include <cstring>

namespace {

qint32 int32At(const uint8_t* data) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | data[i];
    qint32 out = 0;
    std::memcpy(&out, &v, sizeof out);
    return out;
}

void checkSettings(QByteArrayView reply) {
    for (const QByteArrayView bytes : {reply, reply.first(std::min<qsizetype>(reply.size(), 9))}) {
        const std::optional<SettingsReply> s = SettingsReply::decode(bytes);
        FUZZ_CHECK(s.has_value() == (bytes.size() == kSettingsReplySize));
        if (!s)
            continue;
        FUZZ_CHECK(s->id >= 0 && s->id <= 65535);
        FUZZ_CHECK(s->setCount >= 0 && s->setCount <= 255);
        FUZZ_CHECK(s->interval >= 0 && s->interval <= 65535);
        const double percent = s->memoryPercent(false);
        FUZZ_CHECK(percent >= 0 && percent <= 100);
        FUZZ_CHECK(s->memoryPercent(true) == 100);
    }
}

void checkIndex(QByteArrayView index, qint32 setCount) {
    const auto entries = decodeSetIndex(index, setCount);
    const bool whole = setCount >= 0 && index.size() >= 1 + qint64{kSetEntrySize} * setCount;
    FUZZ_CHECK(entries.has_value() == whole);
    if (!entries)
        return;
    FUZZ_CHECK(static_cast<qint64>(entries->size()) == setCount);
    SharedState state;
    int number = 0;
    for (const SetEntry& e : *entries) {
        const QStringList fields = setRowText(state, ++number, e).split(u'\t');
        FUZZ_CHECK(fields.size() == 6);
        FUZZ_CHECK(fields[0] == QString::number(number));
        FUZZ_CHECK(fields[4] == QString::number(e.interval));
        FUZZ_CHECK(fields[5] == QString::number(e.sampleCount));
    }
}

void checkDump(QByteArrayView dump, qint32 interval, qint32 sampleCount) {
    SharedState state;
    const SetRows out = decodeSetDump(state, dump, interval, sampleCount);
    const qint64 wanted = std::max<qint32>(sampleCount, 0);
    FUZZ_CHECK(out.rows.size() <= wanted);
    if (out.rows.size() < wanted)
        FUZZ_CHECK(!out.error.isEmpty());
    if (dump.size() < 7) {
        FUZZ_CHECK(!out.error.isEmpty());
        return;
    }
    FUZZ_CHECK(out.error.isEmpty() == (out.rows.size() == wanted));
    const std::optional<CalendarTime> start = setStartTime(dump);
    if (start)
        FUZZ_CHECK(start->held() == setStartText(dump));
    else
        FUZZ_CHECK(out.rows.size() <= 1);
    for (qsizetype i = 0; i < out.rows.size(); ++i) {
        const QStringList fields = out.rows[i].split(u'\t');
        FUZZ_CHECK(fields.size() == 4);
        FUZZ_CHECK(fields[0] == QString::number(i + 1));
        // Stepping sample by sample lands where one addition of the whole span does.
        if (start)
            FUZZ_CHECK(fields[1] == start->plusSeconds(qint64{interval} * i).shown());
        const quint8 digit = static_cast<quint8>(dump[kSetHeaderSize + 2 * i]);
        const quint8 flag = static_cast<quint8>(dump[kSetHeaderSize + 2 * i + 1]);
        FUZZ_CHECK((fields[2] == u"OL") == (digit == 0xFF || flag == 0xFF));
        FUZZ_CHECK(fields[3] == ((flag & 0x40) ? u"Low" : u""));
    }
}

void checkClockText(const QByteArray& reply) {
    const QString text = clockReplyText(reply);
    if (reply.size() < kClockReplySize) {
        FUZZ_CHECK(text.isEmpty());
        return;
    }
    // Second, year, month, day, hour, minute arrive; month/day/year hour:minute:second show.
    auto b = [&](int i) { return bcdText(static_cast<quint8>(reply[i])); };
    FUZZ_CHECK(text == b(2) + u'/' + b(3) + u'/' + b(1) + u' ' + b(4) + u':' + b(5) + u':' + b(0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 8)
        return 0;
    const qint32 count = int32At(data);
    const qint32 interval = int32At(data + 4);
    const QByteArray reply(reinterpret_cast<const char*>(data) + 8,
                           static_cast<qsizetype>(size - 8));
    checkSettings(reply);
    checkIndex(reply, count);
    // The set count a settings reply can give.
    checkIndex(reply, count & 0xFF);
    checkDump(reply, interval, count);
    checkClockText(reply);
    return 0;
}
