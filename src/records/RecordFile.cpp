#include "records/RecordFile.h"

#include "common/SharedState.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 kReadChunk = qint64{64} * 1024;
constexpr qsizetype kWriteChunk = qsizetype{256} * 1024;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool endsItem(char c) {
    return c == ',' || isLineEnd(c);
}

} // namespace

QString recordHeader(const Value& id, std::optional<qint16> range, const QString& unit) {
    return QStringLiteral("*ID=") + id.text() + QStringLiteral(" Range:") + rangeText(range) +
           u'/' + unit;
}

RecordWriter::~RecordWriter() {
    close();
}

bool RecordWriter::create(const QString& path, Flush flush) {
    close();
    m_flush = flush;
    m_pending.clear();
    m_complete = 0;
    m_failed = false;
    m_ownFile = true;
    m_file.setFileName(path);
    // Unbuffered: what write() accepted is with the operating system, so the count of bytes
    // on disk is known when a write fails.
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

bool RecordWriter::open(int descriptor, Flush flush) {
    close();
    m_flush = flush;
    m_pending.clear();
    m_complete = 0;
    m_failed = false;
    m_ownFile = false;
    return m_file.open(descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered,
                       QFileDevice::DontCloseHandle);
}

bool RecordWriter::writeLine(QStringView line) {
    if (!m_file.isOpen() || m_failed)
        return false;
    // Latin-1 as the reader reads it; a character beyond it becomes "?".
    const qsizetype at = m_pending.size();
    m_pending.resize(at + line.size() + 2);
    char* out = m_pending.data() + at;
    for (const QChar c : line)
        *out++ = c.unicode() < 256 ? static_cast<char>(c.unicode()) : '?';
    *out++ = '\r';
    *out = '\n';
    if (m_flush == Flush::EveryLine || m_pending.size() >= kWriteChunk)
        return writePending();
    return true;
}

bool RecordWriter::writeLine(QByteArrayView line, qsizetype tabs) {
    if (!m_file.isOpen() || m_failed)
        return false;
    const qsizetype at = m_pending.size();
    m_pending.resize(at + line.size() + tabs + 2);
    char* out = m_pending.data() + at;
    if (!line.isEmpty())
        std::memcpy(out, line.data(), static_cast<size_t>(line.size()));
    out = std::fill_n(out + line.size(), tabs, '\t');
    out[0] = '\r';
    out[1] = '\n';
    if (m_flush == Flush::EveryLine || m_pending.size() >= kWriteChunk)
        return writePending();
    return true;
}

bool RecordWriter::writePending() {
    if (m_pending.isEmpty())
        return true;
    const qint64 written = m_file.write(m_pending);
    if (written == m_pending.size()) {
        m_complete += written;
        m_pending.clear();
        return true;
    }
    // Cut the file back to the last line that reached the disk whole.
    const qsizetype lastEnd = m_pending.left(std::max<qint64>(written, 0)).lastIndexOf('\n');
    if (m_ownFile)
        m_file.resize(m_complete + lastEnd + 1);
    m_pending.clear();
    m_failed = true;
    return false;
}

bool RecordWriter::close() {
    if (!m_file.isOpen())
        return true;
    const bool written = !m_failed && writePending();
    m_file.close();
    return written;
}

bool RecordReader::open(const QString& path) {
    close();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly))
        return false;
    m_atEnd = false;
    return true;
}

void RecordReader::close() {
    m_file.close();
    m_buffer.clear();
    m_item.clear();
    m_pos = 0;
    m_next = {-1, -1, -1};
    m_afterCr = false;
    m_atEnd = true;
    m_failed = false;
}

bool RecordReader::fill() {
    if (m_atEnd)
        return false;
    m_buffer.resize(kReadChunk);
    m_pos = 0;
    m_next = {-1, -1, -1};
    const qint64 got = m_file.read(m_buffer.data(), kReadChunk);
    if (got <= 0) {
        m_failed = got < 0;
        m_atEnd = true;
        m_buffer.clear();
        return false;
    }
    m_buffer.resize(got);
    return true;
}

bool RecordReader::available() {
    return m_pos < m_buffer.size() || fill();
}

qsizetype RecordReader::plainEnd() {
    static constexpr std::array<char, 3> kEnds = {'\r', '\n', ','};
    const char* const bytes = m_buffer.constData();
    const qsizetype size = m_buffer.size();
    qsizetype end = size;
    // Each search runs on from where the last one of its byte ended, so every byte of the
    // buffer is searched once for each of the three.
    for (size_t i = 0; i < kEnds.size(); ++i) {
        qsizetype& next = m_next[i];
        if (next < m_pos) {
            const void* hit =
                std::memchr(bytes + m_pos, kEnds[i], static_cast<size_t>(size - m_pos));
            next = hit ? static_cast<const char*>(hit) - bytes : size;
        }
        end = std::min(end, next);
    }
    return end;
}

void RecordReader::keep(qsizetype from, qsizetype to) {
    const qsizetype room = kMaxItemLength - m_item.size();
    if (room > 0)
        m_item.append(m_buffer.constData() + from, std::min(to - from, room));
}

QLatin1StringView RecordReader::quotedItem() {
    ++m_pos;
    // A quoted item may hold commas; an unclosed quote still ends at the line end.
    while (available()) {
        const char c = m_buffer[m_pos];
        if (c == '"' || isLineEnd(c))
            break;
        if (m_item.size() < kMaxItemLength)
            m_item.append(c);
        ++m_pos;
    }
    if (available() && m_buffer[m_pos] == '"') {
        ++m_pos;
        while (available() && !endsItem(m_buffer[m_pos]))
            ++m_pos;
    }
    if (available()) {
        m_afterCr = m_buffer[m_pos] == '\r';
        ++m_pos;
    }
    return QLatin1StringView(m_item);
}

std::optional<QLatin1StringView> RecordReader::nextItemView() {
    m_item.resize(0);
    if (m_afterCr) {
        m_afterCr = false;
        if (available() && m_buffer[m_pos] == '\n')
            ++m_pos;
    }
    if (!available())
        return std::nullopt;

    while (available() && m_buffer[m_pos] == ' ')
        ++m_pos;
    if (available() && m_buffer[m_pos] == '"')
        return quotedItem();

    while (available()) {
        const qsizetype end = plainEnd();
        if (end == m_buffer.size()) {
            keep(m_pos, end);
            m_pos = end;
            continue;
        }
        QLatin1StringView item;
        if (m_item.isEmpty()) {
            // The whole item lies in the buffer: no copy.
            item = QLatin1StringView(m_buffer.constData() + m_pos,
                                     std::min(end - m_pos, kMaxItemLength));
        } else {
            keep(m_pos, end);
            item = QLatin1StringView(m_item);
        }
        m_afterCr = m_buffer[end] == '\r';
        m_pos = end + 1;
        return item;
    }
    // The last line has no line end.
    return QLatin1StringView(m_item);
}

std::optional<QString> RecordReader::nextItem() {
    const std::optional<QLatin1StringView> item = nextItemView();
    if (!item)
        return std::nullopt;
    return QString(*item);
}
