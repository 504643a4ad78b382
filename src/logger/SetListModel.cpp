#include "logger/SetListModel.h"

const QStringList& SetListModel::titles() {
    static const QStringList kTitles = {QStringLiteral("Set"),      QStringLiteral(" Date"),
                                        QStringLiteral(" Time"),    QStringLiteral(" Range"),
                                        QStringLiteral("Interval"), QStringLiteral("Records")};
    return kTitles;
}

const QStringList& SetListModel::widthTemplates() {
    static const QStringList kTemplates = {
        QStringLiteral(" NoS "),       QStringLiteral(" MMHH:NN:SS"), QStringLiteral(" HH:NN:SS"),
        QStringLiteral(" 20000 LUX "), QStringLiteral(" Interval "),  QStringLiteral(" Records ")};
    return kTemplates;
}

SetListModel::SetListModel(QObject* parent)
    : QAbstractTableModel(parent) {
    m_rows.push_back(titles());
}

int SetListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SetListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant SetListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cell(index.row(), index.column());
}

QVariant SetListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return cell(0, section);
}

QString SetListModel::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return {};
    return m_rows[static_cast<size_t>(row)].value(column);
}

void SetListModel::appendRow(QStringView tabSeparated) {
    QStringList cells;
    for (const QStringView c : tabSeparated.split(u'\t')) {
        if (cells.size() == kColumns)
            break;
        cells << c.toString();
    }
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_rows.push_back(std::move(cells));
    endInsertRows();
}
