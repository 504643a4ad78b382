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
        // No header in the file: whatever the rules give.
        {"notes.txt---hello", 0, "notes.txt---hello"},
        {"a/b", 0, "b"},
        {"", 0, ""},
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
