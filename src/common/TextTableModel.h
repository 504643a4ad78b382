#pragma once

#include <QAbstractTableModel>
#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <vector>

// A grid of texts with a fixed number of columns: row 0 holds the column titles, data rows
// follow in the order they were added. The texts are Latin-1, as record files hold them (a
// character beyond it is kept as "?"), all rows in one byte buffer with an offset per row: a
// million rows take little more than the file they came from, appending never copies earlier
// rows, and a cell becomes a QString only when it is shown.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // How many views from cellView() and rowView() stay valid at once.
    static constexpr int kViewSlots = 8;

    // `titles`: the cells of row 0, TAB separated.
    TextTableModel(int columns, QStringView titles, QObject* parent = nullptr);

    // Rows including the title row, as the grid counts them.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The horizontal header repeats the titles of row 0, so a view can show them fixed.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    int dataRowCount() const { return rowCount() - 1; }
    // Text of one cell; empty outside the grid.
    QString cell(int row, int column) const;
    // The cell's bytes where the model holds them, valid until rows are added: the way to read
    // many cells.
    QLatin1StringView cellText(int row, int column) const;
    // A whole row as stored: its cells up to the last non-empty one within the columns, TAB
    // separated.
    QLatin1StringView rowText(int row) const;
    // The same two as UTF-16 views for text functions that take them. A view lives in one of
    // kViewSlots slots and stays valid until that many more views were made; keep cell() for
    // text that must last.
    QStringView cellView(int row, int column) const;
    QStringView rowView(int row) const;

    // A row as one text with TAB between the cells; cells past the last column are dropped and
    // missing ones stay empty.
    void appendRow(QStringView tabSeparated);
    // Many rows in one insertion, for filling a list from a file or a download.
    void appendRows(const QStringList& rows);
    // Filling from a file: each row is stored as it is read, and views learn of the rows stored
    // so far in one insertion by showStagedRows(). Until then no count or cell includes them.
    void stageRow(QLatin1StringView tabSeparated);
    void showStagedRows();
    // Room for rows of `bytes` in all, known in advance (a file's size): growing the buffer
    // step by step would hold the old and the new one at once.
    void reserve(qsizetype bytes, qsizetype rows);

private:
    // Rows per block: a row's start is its block's plus the lengths before it.
    static constexpr size_t kBlockRows = 64;
    // A length that does not fit a row's byte: the length is in m_longLengths.
    static constexpr quint8 kLongRow = 0xFF;

    struct Block {
        qsizetype start;
        // Where the lengths of the block's long rows begin in m_longLengths.
        size_t firstLong;
    };

    void store(QStringView tabSeparated);
    // The row whose text m_text holds from `start` to its end is complete.
    void endRow(qsizetype start);
    QStringView view(QLatin1StringView text) const;

    int m_columns;
    QByteArray m_text;
    // A byte a row and sixteen every kBlockRows rows, where offsets would take eight a row:
    // a million rows keep 6.5 MiB less.
    std::vector<quint8> m_lengths;
    std::vector<Block> m_blocks;
    // The lengths of the rows of kLongRow bytes or more, in row order.
    std::vector<qsizetype> m_longLengths;
    // The last row found: where it ends, and where the next long row's length is.
    struct Found {
        size_t row = size_t(-2);
        qsizetype end = 0;
        size_t nextLong = 0;
    };
    mutable Found m_last;
    // Rows that views know of (the title row included); staged rows follow them.
    int m_shown = 0;
    mutable std::array<QString, kViewSlots> m_views;
    mutable int m_nextView = 0;
};
