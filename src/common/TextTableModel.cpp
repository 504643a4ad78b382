#include "common/TextTableModel.h"

namespace {

// The row up to its last column: later cells are never shown, saved or printed.
QStringView firstCells(QStringView row, int columns) {
    qsizetype tabs = 0;
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (row[i] == u'\t' && ++tabs == columns)
            return row.first(i);
    }
    return row;
}

QStringView cellOf(QStringView row, int column) {
    qsizetype start = 0;
    for (int c = 0; c < column; ++c) {
        const qsizetype tab = row.indexOf(u'\t', start);
        if (tab < 0)
            return {};
        start = tab + 1;
    }
    const qsizetype end = row.indexOf(u'\t', start);
    return end < 0 ? row.sliced(start) : row.sliced(start, end - start);
}

} // namespace

TextTableModel::TextTableModel(int columns, QStringView titles, QObject* parent)
    : QAbstractTableModel(parent)
    , m_columns(columns) {
    m_starts.push_back(0);
    store(titles);
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_starts.size() - 1);
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cell(index.row(), index.column());
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return cell(0, section);
}

QString TextTableModel::cell(int row, int column) const {
    return cellView(row, column).toString();
}

QStringView TextTableModel::cellView(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return {};
    return cellOf(rowText(row), column);
}

QStringView TextTableModel::rowView(int row) const {
    if (row < 0 || row >= rowCount())
        return {};
    return rowText(row);
}

QStringView TextTableModel::rowText(int row) const {
    const qsizetype start = m_starts[static_cast<size_t>(row)];
    return QStringView(m_text).sliced(start, m_starts[static_cast<size_t>(row) + 1] - start);
}

void TextTableModel::store(QStringView tabSeparated) {
    m_text.append(firstCells(tabSeparated, m_columns));
    m_starts.push_back(m_text.size());
}

void TextTableModel::appendRow(QStringView tabSeparated) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    store(tabSeparated);
    endInsertRows();
}

void TextTableModel::reserve(qsizetype characters, qsizetype rows) {
    m_text.reserve(m_text.size() + characters);
    m_starts.reserve(m_starts.size() + static_cast<size_t>(rows));
}

void TextTableModel::appendRows(const QStringList& rows) {
    if (rows.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (const QString& row : rows)
        store(row);
    endInsertRows();
}
