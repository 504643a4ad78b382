#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

// A grid of texts with a fixed number of columns: row 0 holds the column titles, data rows
// follow in the order they were added. All rows live in one text buffer with an offset per row,
// so lists of 86,400 rows stay small and appending never copies earlier rows.
class TextTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
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
    QStringView cellView(int row, int column) const;
    // A whole row as stored: its cells up to the last column, TAB separated.
    QStringView rowView(int row) const;

    // A row as one text with TAB between the cells; cells past the last column are dropped and
    // missing ones stay empty.
    void appendRow(QStringView tabSeparated);
    // Many rows in one insertion, for filling a list from a file or a download.
    void appendRows(const QStringList& rows);
    // Room for rows of `characters` in all, known in advance (a file's size): growing the
    // buffer step by step would hold the old and the new one at once.
    void reserve(qsizetype characters, qsizetype rows);

private:
    void store(QStringView tabSeparated);
    QStringView rowText(int row) const;

    int m_columns;
    QString m_text;
    // Start of each row in m_text, plus the end of the last one.
    std::vector<qsizetype> m_starts;
};
