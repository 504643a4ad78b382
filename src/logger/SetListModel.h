#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QStringView>
#include <vector>

// The data logger window's list of logged sets: row 0 holds the column titles, one row per set
// follows. Six columns: set number, start date, start time, range and unit, interval, samples.
class SetListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 6;
    // Each column is as wide as its template in the window's font.
    static const QStringList& titles();
    static const QStringList& widthTemplates();

    explicit SetListModel(QObject* parent = nullptr);

    // Rows including the title row, as the grid counts them.
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The horizontal header repeats the titles of row 0, so a view can show them fixed.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Text of one cell; empty outside the grid.
    QString cell(int row, int column) const;
    // A row as one text with TAB between the cells; cells past the sixth are dropped.
    void appendRow(QStringView tabSeparated);

private:
    std::vector<QStringList> m_rows;
};
