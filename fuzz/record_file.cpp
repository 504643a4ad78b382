// Record files: the item reader over a file of arbitrary bytes, and the file loaded into a list.
//
// Input: the file's bytes.

#include "FuzzCheck.h"
#include "records/FileTransfer.h"
#include "records/RecordFile.h"
#include "records/RecordTableModel.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryFile>
#include <cstdint>

namespace {

// The reader refills its buffer every 64 KiB.
constexpr qsizetype kChunk = qsizetype{64} * 1024;

class Window : public CaptionedWindow {
public:
    QString caption() const override { return m_caption; }
    void setCaption(const QString& caption) override { m_caption = caption; }

private:
    QString m_caption;
};

const QString& scratchPath() {
    static QTemporaryFile file;
    static const QString path = [] {
        FUZZ_CHECK(file.open());
        return file.fileName();
    }();
    return path;
}

void writeFile(const QByteArray& bytes) {
    QFile file(scratchPath());
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

QStringList readItems(const QByteArray& bytes) {
    writeFile(bytes);
    RecordReader reader;
    FUZZ_CHECK(reader.open(scratchPath()));
    QStringList items;
    while (std::optional<QString> item = reader.nextItem()) {
        FUZZ_CHECK(item->size() <= RecordReader::kMaxItemLength);
        FUZZ_CHECK(!item->contains(u'\r') && !item->contains(u'\n'));
        items << *item;
        // Every item but the last takes at least its delimiter.
        FUZZ_CHECK(items.size() <= bytes.size() + 1);
    }
    FUZZ_CHECK(!reader.failed());
    return items;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList items = readItems(bytes);

    // Bytes that start with a byte below 16 are read once more behind a long first line, so
    // that the buffer refills at that byte's offset in them: the items come out the same. (Only
    // those: reading 64 KiB costs more than all the rest.)
    if (const qsizetype refillAt = bytes.isEmpty() ? 16 : static_cast<quint8>(bytes[0]);
        refillAt < 16) {
        const QByteArray padded = QByteArray(kChunk - refillAt - 1, 'x') + '\n' + bytes;
        const QStringList paddedItems = readItems(padded);
        FUZZ_CHECK(paddedItems.size() == items.size() + 1);
        FUZZ_CHECK(paddedItems.first() == QString(RecordReader::kMaxItemLength, u'x'));
        FUZZ_CHECK(paddedItems.mid(1) == items);
    }

    writeFile(bytes);
    RecordReader reader;
    FUZZ_CHECK(reader.open(scratchPath()));
    RecordTableModel grid;
    Window window;
    FUZZ_CHECK(readRecordFile(reader, QStringLiteral("f.txt"), window, grid));
    FUZZ_CHECK(window.caption() == (items.isEmpty() ? QString() : "f.txt---" + items.first()));
    FUZZ_CHECK(grid.dataRowCount() == std::max<qsizetype>(items.size() - 1, 0));
    FUZZ_CHECK(grid.columnCount() == RecordTableModel::kColumns);
    for (int row = 1; row <= grid.dataRowCount(); ++row) {
        // The first four TAB-separated cells of the item; later ones are dropped.
        QStringList cells = items[row].split(u'\t');
        cells.resize(RecordTableModel::kColumns);
        for (int column = 0; column < RecordTableModel::kColumns; ++column)
            FUZZ_CHECK(grid.cell(row, column) == cells[column]);
        FUZZ_CHECK(grid.cell(row, RecordTableModel::kColumns).isEmpty());
    }
    return 0;
}
