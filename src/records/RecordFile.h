#pragma once

#include "common/Value.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>

// The header line of a record file: "*ID=12 Range:2000/LUX".
QString recordHeader(const Value& id, std::optional<qint16> range, const QString& unit);

// Writes a record file line by line. A write that fails (disk full, medium removed) leaves the
// file ending at its last complete line, so a half line never reads back as a record.
class RecordWriter {
public:
    enum class Flush {
        // Every line goes to the operating system as it is written: a crash loses at most the
        // line being written, and a full disk shows up at the line that hit it (PC recording).
        EveryLine,
        // Lines gather in a buffer written in large pieces, for saving a whole list at once.
        Buffered,
    };

    RecordWriter() = default;
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;
    ~RecordWriter();

    // Creates the file, replacing an existing one; false when it cannot be created.
    bool create(const QString& path, Flush flush = Flush::EveryLine);
    // Writes onto a descriptor the program holds open already (standard output). close() leaves
    // it open, and a failed write leaves what came before untouched: the stream may hold more
    // than this writer wrote.
    bool open(int descriptor, Flush flush = Flush::Buffered);
    // Writes the line and CR LF; false when it (or an earlier line) could not be written.
    bool writeLine(QStringView line);
    // The same for a line that is bytes already (Latin-1 for a record file), with `tabs` TABs
    // after it: a list's row whose last cells are empty.
    bool writeLine(QByteArrayView line, qsizetype tabs = 0);
    // Writes what is buffered and closes the file; false when any line could not be written.
    bool close();
    bool isOpen() const { return m_file.isOpen(); }
    QString errorString() const { return m_file.errorString(); }

private:
    bool writePending();

    QFile m_file;
    Flush m_flush = Flush::EveryLine;
    QByteArray m_pending;
    // Bytes of the file up to the end of its last complete line.
    qint64 m_complete = 0;
    bool m_failed = false;
    bool m_ownFile = true;
};

// Reads a record file item by item. An item ends at CR, LF, CR LF or a comma; blanks before it
// are skipped and an item in double quotes is taken without them; a last line without a line
// end is still an item. Bytes are Latin-1, so any file reads without a decoding error. The
// work per byte is constant and an item keeps at most kMaxItemLength characters, so neither a
// binary file nor a line of megabytes can exhaust memory.
class RecordReader {
public:
    static constexpr qsizetype kMaxItemLength = 4096;

    RecordReader() = default;
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    bool open(const QString& path);
    qint64 size() const { return m_file.size(); }
    // The next item, or nullopt at the end of the file (also after a read error).
    std::optional<QString> nextItem();
    // The same without a copy: the item's bytes, valid until the next call.
    std::optional<QLatin1StringView> nextItemView();
    // A read error ended the file early.
    bool failed() const { return m_failed; }
    QString errorString() const { return m_file.errorString(); }
    void close();

private:
    // At least one byte is there to read; false at the end.
    bool available();
    bool fill();
    // Offset of the first CR, LF or comma at or after m_pos, or the buffer's end.
    qsizetype plainEnd();
    // The item goes on past the buffer: keeps its bytes up to the limit.
    void keep(qsizetype from, qsizetype to);
    QLatin1StringView quotedItem();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    // Where the next CR, LF and comma are in the buffer (its size: none); -1 when unknown.
    std::array<qsizetype, 3> m_next{-1, -1, -1};
    // An item that did not end within one buffer.
    QByteArray m_item;
    // The last item ended at a CR: an LF right after it belongs to the same line end.
    bool m_afterCr = false;
    bool m_atEnd = true;
    bool m_failed = false;
};
