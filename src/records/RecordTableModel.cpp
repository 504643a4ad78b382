#include "records/RecordTableModel.h"

namespace {

// The row up to its fourth cell: later cells are never shown, saved or printed.
QStringView firstCells(QStringView row) {
    qsizetype tabs = 0;
    for (qsizetype i = 0; i < row.size(); ++i) {
        if (row[i] == u'\t' && ++tabs == RecordTableModel::kColumns)
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

RecordTableModel::RecordTableModel(QObject* parent)
    : QAbstractTableModel(parent) {
    m_starts.push_back(0);
    store(u"No.s\t   Time\tValue\tBat");
}

int RecordTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_starts.size() - 1);
}

int RecordTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cell(index.row(), index.column());
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return cell(0, section);
}

QString RecordTableModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return {};
    return cellOf(rowText(row), column).toString();
}

QStringView RecordTableModel::rowText(int row) const {
    const qsizetype start = m_starts[row];
    return QStringView(m_text).sliced(start, m_starts[row + 1] - start);
}

void RecordTableModel::store(QStringView tabSeparated) {
    m_text.append(firstCells(tabSeparated));
    m_starts.push_back(m_text.size());
}

void RecordTableModel::appendRow(QStringView tabSeparated) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    store(tabSeparated);
    endInsertRows();
}

void RecordTableModel::appendRows(const QStringList& rows) {
    if (rows.isEmpty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    m_starts.reserve(m_starts.size() + rows.size());
    for (const QString& row : rows)
        store(row);
    endInsertRows();
}
