#include "records/RecordFile.h"

#include "common/SharedState.h"

#include <algorithm>

namespace {

constexpr qint64 kReadChunk = qint64{64} * 1024;
constexpr qsizetype kWriteChunk = qsizetype{256} * 1024;

bool isLineEnd(int c) {
    return c == '\r' || c == '\n';
}
bool endsItem(int c) {
    return c < 0 || c == ',' || isLineEnd(c);
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
    m_pos = 0;
    m_atEnd = true;
    m_failed = false;
}

bool RecordReader::fill() {
    if (m_atEnd)
        return false;
    m_buffer.resize(kReadChunk);
    const qint64 got = m_file.read(m_buffer.data(), kReadChunk);
    if (got <= 0) {
        m_failed = got < 0;
        m_atEnd = true;
        m_buffer.clear();
        m_pos = 0;
        return false;
    }
    m_buffer.resize(got);
    m_pos = 0;
    return true;
}

int RecordReader::peek() {
    if (m_pos >= m_buffer.size() && !fill())
        return -1;
    return static_cast<unsigned char>(m_buffer[m_pos]);
}

void RecordReader::takeDelimiter() {
    const int c = peek();
    if (c == '\r') {
        skip();
        if (peek() == '\n')
            skip();
    } else if (c == '\n' || c == ',') {
        skip();
    }
}

std::optional<QString> RecordReader::nextItem() {
    if (peek() < 0)
        return std::nullopt;

    while (peek() == ' ')
        skip();

    QByteArray item;
    auto keep = [&item](int c) {
        if (item.size() < kMaxItemLength)
            item.append(static_cast<char>(c));
    };

    if (peek() == '"') {
        skip();
        // A quoted item may hold commas; an unclosed quote still ends at the line end.
        for (int c = peek(); c >= 0 && c != '"' && !isLineEnd(c); c = peek()) {
            keep(c);
            skip();
        }
        if (peek() == '"') {
            skip();
            for (int c = peek(); !endsItem(c); c = peek())
                skip();
        }
    } else {
        for (int c = peek(); !endsItem(c); c = peek()) {
            keep(c);
            skip();
        }
    }
    takeDelimiter();
    return QString::fromLatin1(item);
}
