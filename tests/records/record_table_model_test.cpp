#include "records/RecordTableModel.h"

#include <gtest/gtest.h>

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

} // namespace
