#include "charts/PlotPreparation.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <gtest/gtest.h>

TEST(PreparePlot, RangeAndUnitFromTheCaption) {
    struct Case {
        const char* caption;
        double max;
        const char* unit;
    };
    const Case cases[] = {
        {"Data List---*ID=12 Range:2000/LUX", 2000, "LUX"},
        {"Data List---*ID=12 Range:20/Fc", 20, "Fc"},
        {"rec.txt---*ID=1 Range:20000/LUX", 20000, "LUX"},
        {"rec.txt---*ID=1 Range:200/Fc", 200, "Fc"},
        // No header in the file: the unit is whatever the rules give.
        {"notes.txt---hello", 20, "notes.txt---hello"},
        {"a/b", 20, "b"},
        {"", 20, ""},
    };
    RecordTableModel grid;
    for (const Case& c : cases) {
        SharedState state;
        preparePlot(QString::fromLatin1(c.caption), grid, true, state);
        EXPECT_EQ(state.PlotMax, c.max) << c.caption;
        EXPECT_EQ(state.PlotTop, c.max);
        EXPECT_EQ(state.PlotUnit, QString::fromLatin1(c.unit)) << c.caption;
    }
}

TEST(PreparePlot, CaptionWithoutARangeTakesTheSmallestRangeHoldingTheValues) {
    const struct {
        const char* caption;
        std::vector<const char*> values;
        double max;
    } cases[] = {
        {"notes.txt---hello", {"15", "OL", "150"}, 200},
        {"notes.txt---hello", {"200"}, 200},
        {"notes.txt---hello", {"200.1", "-OL"}, 2000},
        {"notes.txt---hello", {"OL", "----"}, 20},
        {"notes.txt---hello", {"25000"}, 20000},
        {"notes.txt---hello", {}, 20},
        {"rec.txt---*ID=1 Range:0/LUX", {"1500"}, 2000},
        {"rec.txt---*ID=1 Range:-5/LUX", {"3"}, 20},
        // A range too large for a number is no range either.
        {"rec.txt---*ID=1 Range:1e309/LUX", {"1500"}, 2000},
        {"rec.txt---*ID=1 Range:9e999/Fc", {"15", "OL"}, 20},
        // A range number that is there stays, whatever the values.
        {"rec.txt---*ID=1 Range:20/LUX", {"1500"}, 20},
    };
    for (const auto& c : cases) {
        RecordTableModel grid;
        int n = 0;
        for (const char* value : c.values)
            grid.appendRow(QStringLiteral("%1\t22/06/2010 14:05:09\t%2\t").arg(++n).arg(value));
        SharedState state;
        preparePlot(QString::fromLatin1(c.caption), grid, false, state);
        EXPECT_EQ(state.PlotMax, c.max) << c.caption << " " << c.values.size();
        EXPECT_EQ(state.PlotTop, c.max);
        EXPECT_EQ(state.PlotMin, 0);
        EXPECT_EQ(state.PlotRecords, c.values.size());
    }
}
