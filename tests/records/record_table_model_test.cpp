#include "records/RecordTableModel.h"

#include <gtest/gtest.h>
#include <map>

namespace {

QStringList rowCells(const RecordTableModel& model, int row) {
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
        cells << model.cell(row, c);
    return cells;
}

TEST(RecordTableModel, RowsSplitAtTabsIntoFourColumns) {
    struct Case {
        const char* row;
        QStringList cells;
    };
    const Case cases[] = {
        {"1\t22/06/2010 14:05:09\t1230\t", {"1", "22/06/2010 14:05:09", "1230", ""}},
        {"2\t22/06/2010 14:05:11\tOL\tLow", {"2", "22/06/2010 14:05:11", "OL", "Low"}},
        // Saved lists end every cell with a TAB; cells past the fourth are dropped.
        {"3\tt\tv\tLow\t", {"3", "t", "v", "Low"}},
        {"4\tt\tv\tb\textra\tmore", {"4", "t", "v", "b"}},
        {"5\tt", {"5", "t", "", ""}},
        {"", {"", "", "", ""}},
        {"\t\t\t", {"", "", "", ""}},
    };
    RecordTableModel model;
    for (const Case& c : cases)
        model.appendRow(QString::fromLatin1(c.row));
    ASSERT_EQ(model.rowCount(), 1 + int(std::size(cases)));
    for (int i = 0; i < int(std::size(cases)); ++i)
        EXPECT_EQ(rowCells(model, i + 1), cases[i].cells) << cases[i].row;
    EXPECT_EQ(model.data(model.index(2, 2)).toString(), QStringLiteral("OL"));
    // Saving writes the stored row: the cells past the fourth are gone from it too.
    EXPECT_EQ(model.rowView(4), QStringLiteral("4\tt\tv\tb"));
    EXPECT_EQ(model.rowView(3), QStringLiteral("3\tt\tv\tLow"));
    EXPECT_EQ(model.cell(99, 0), QString());
    EXPECT_EQ(model.cell(1, 4), QString());
    // The first row past the end, whose start the offsets still hold.
    EXPECT_EQ(model.cell(model.rowCount(), 0), QString());
    EXPECT_TRUE(model.rowView(model.rowCount()).isEmpty());
}

// Rows of every length, long ones beyond what a byte counts among them, in blocks of rows that
// share a stored start: each reads back whole wherever it lies.
TEST(RecordTableModel, RowsOfEveryLengthReadBackWhole) {
    // Value lengths of some rows; the others hold their number.
    const std::map<int, int> longValues = {{40, 300},  {41, 226},  {130, 70000},
                                           {191, 255}, {192, 254}, {250, 1000}};
    RecordTableModel model;
    QStringList rows;
    for (int n = 1; n <= 300; ++n) {
        const auto found = longValues.find(n);
        QString value =
            found != longValues.end() ? QString(found->second, u'9') : QString::number(n);
        if (n == 75)
            value.clear();
        rows << QString::number(n) + QStringLiteral("\t22/06/2010 14:05:09\t") + value;
    }
    model.appendRows(rows.mid(0, 150));
    for (const QString& row : rows.mid(150))
        model.appendRow(row);
    ASSERT_EQ(model.dataRowCount(), 300);
    for (int n = 1; n <= 300; ++n) {
        SCOPED_TRACE(n);
        const auto found = longValues.find(n);
        EXPECT_EQ(model.cell(n, 0), QString::number(n));
        EXPECT_EQ(model.cell(n, 1), QStringLiteral("22/06/2010 14:05:09"));
        EXPECT_EQ(model.cell(n, 2).size(), n == 75                     ? 0
                                           : found != longValues.end() ? found->second
                                                                       : QString::number(n).size());
    }
    // Read backwards too, each row found from its block's start.
    for (int n = 300; n >= 1; --n)
        EXPECT_EQ(model.cell(n, 0), QString::number(n));
    EXPECT_EQ(model.cell(130, 2).back(), u'9');
    EXPECT_EQ(model.cell(193, 2), QStringLiteral("193"));
}

// The model holds Latin-1, as the files it reads and writes; empty cells at the end of a row
// are not kept, and read as empty all the same.
TEST(RecordTableModel, HoldsLatin1AndDropsEmptyCellsAtTheEnd) {
    const struct {
        QString row;
        const char* stored;
    } cases[] = {
        {QStringLiteral("1\tt\t1230\t"), "1\tt\t1230"},
        {QStringLiteral("2\t\t\t"), "2"},
        {QStringLiteral("3\tt\tOL\tLow\t\tmore"), "3\tt\tOL\tLow"},
        {QString::fromUtf8("4\t\u00e9t\u00e9\t\u20ac5\t"), "4\t\xe9t\xe9\t?5"},
    };
    RecordTableModel model;
    for (const auto& c : cases)
        model.appendRow(c.row);
    for (int i = 0; i < int(std::size(cases)); ++i) {
        EXPECT_EQ(model.rowText(i + 1), QLatin1StringView(cases[i].stored));
        EXPECT_EQ(model.rowView(i + 1), QString::fromLatin1(cases[i].stored));
    }
    EXPECT_EQ(model.cell(2, 3), QString());
    EXPECT_EQ(model.cell(4, 1), QString::fromUtf8("\u00e9t\u00e9"));
    EXPECT_EQ(model.data(model.index(4, 2)).toString(), QStringLiteral("?5"));
}

// Rows staged while a file loads stay out of every count and cell until they are shown, and
// then come in one insertion.
TEST(RecordTableModel, StagedRowsComeInOneInsertionWhenShown) {
    RecordTableModel model;
    model.appendRow(u"1\tt\t5");
    std::vector<std::pair<int, int>> inserted;
    QObject::connect(
        &model, &QAbstractItemModel::rowsInserted,
        [&](const QModelIndex&, int first, int last) { inserted.emplace_back(first, last); });
    model.stageRow(QLatin1StringView("2\tt\t6"));
    model.stageRow(QLatin1StringView("3\tt\t7\tLow\textra"));
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.cell(2, 0), QString());
    EXPECT_TRUE(inserted.empty());

    model.showStagedRows();
    model.showStagedRows();
    ASSERT_EQ(inserted.size(), 1U);
    EXPECT_EQ(inserted[0], std::make_pair(2, 3));
    EXPECT_EQ(rowCells(model, 3), QStringList({"3", "t", "7", "Low"}));
}

// A view of a cell stays what it was while a few more views are taken, as text functions that
// hold one cell while they read the next need.
TEST(RecordTableModel, ViewsOutliveTheNextFewViews) {
    RecordTableModel model;
    model.appendRows({"1\t22/06/2010 14:05:09\t1230\t", "2\t22/06/2010 14:05:11\tOL\tLow"});
    const QStringView value = model.cellView(2, 2);
    const QStringView row = model.rowView(1);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(model.cellView(1, i % 4), model.cell(1, i % 4));
        EXPECT_EQ(model.cellView(2, 3), QStringLiteral("Low"));
    }
    EXPECT_EQ(value, QStringLiteral("OL"));
    EXPECT_EQ(row, QStringLiteral("1\t22/06/2010 14:05:09\t1230"));
    EXPECT_EQ(model.cellView(3, 0), QString());
    EXPECT_EQ(model.rowView(-1), QString());
}

} // namespace
