#include "records/RecordFile.h"

#include "common/SharedState.h"

namespace {

constexpr qint64 kReadChunk = qint64{64} * 1024;

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

bool RecordWriter::create(const QString& path) {
    close();
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool RecordWriter::writeLine(QStringView line) {
    if (!m_file.isOpen())
        return false;
    QByteArray bytes = line.toLatin1();
    bytes.append("\r\n", 2);
    return m_file.write(bytes) == bytes.size() && m_file.flush();
}

bool RecordWriter::close() {
    if (!m_file.isOpen())
        return true;
    const bool flushed = m_file.flush();
    m_file.close();
    return flushed;
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
