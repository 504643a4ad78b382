// Plot preparation from a list's caption and cells, and the range dialogs' checks of typed
// texts: whatever they are given, the axes they set are finite with height, and what a check
// accepts lies within the limits it checks against.
//
// Input: lines (read as UTF-8). The first is the caption, the next four the typed texts, the
// rest the list's rows. The rows' times also make a clock-time axis, zoomed by the input's size.

#include "FuzzCheck.h"
#include "charts/PlotExplorer.h"
#include "charts/PlotPreparation.h"
#include "charts/PlotTimes.h"
#include "charts/RangeEntry.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <cmath>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
            .split(u'\n');
    const auto line = [&](int i) { return lines.value(i); };
    RecordTableModel list;
    list.appendRows(lines.mid(5));

    SharedState s;
    preparePlot(line(0), list, true, s);
    FUZZ_CHECK(std::isfinite(s.PlotMax) && std::isfinite(s.PlotMin));
    FUZZ_CHECK(s.PlotMax > s.PlotMin);
    FUZZ_CHECK(s.PlotRecords == list.dataRowCount());

    const auto plot = checkPlotRange({line(1), line(2), line(3), line(4)}, s);
    if (const auto* accepted = std::get_if<AcceptedPlotRange>(&plot)) {
        FUZZ_CHECK(accepted->bottom >= s.PlotMin && accepted->bottom < accepted->top &&
                   accepted->top <= s.PlotMax);
        FUZZ_CHECK(accepted->first >= 1 && accepted->first < accepted->last &&
                   accepted->last <= s.PlotRecords);
    }

    // On a clock-time axis every view of the list, whatever its times, draws records of it.
    const PlotTimes times(list);
    s.PlotLayout.AxisX = 60;
    s.PlotLayout.PlotWidth = 330;
    PlotExplorer explorer;
    explorer.follow(s);
    if (explorer.setTimeAxis(true, times, s, 1)) {
        FUZZ_CHECK(s.PlotTimeFrom <= s.PlotTimeTo);
        const double whole = static_cast<double>(explorer.zoom().count());
        explorer.zoom().select(whole * static_cast<double>(size % 7) / 7,
                               whole * static_cast<double>(size % 5) / 5);
        explorer.zoom().wheel(explorer.positionAt(s, 60 + static_cast<double>(size % 331)), 3);
        explorer.show(s);
        FUZZ_CHECK(s.PlotFirst >= 1 && s.PlotFirst <= s.PlotLast &&
                   s.PlotLast <= list.dataRowCount());
        FUZZ_CHECK(s.PlotTimeFrom <= s.PlotTimeTo);
    }

    s.GraphMax = s.PlotMax;
    s.GraphMin = 0;
    s.GraphLayout.PlotWidth = 270;
    const auto graph = checkGraphRange({line(1), line(2), line(3)}, s);
    if (const auto* accepted = std::get_if<AcceptedGraphRange>(&graph)) {
        FUZZ_CHECK(accepted->bottom >= s.GraphMin && accepted->bottom < accepted->top &&
                   accepted->top <= s.GraphMax);
        FUZZ_CHECK(std::isfinite(accepted->step) && accepted->step > 0);
    }
    return 0;
}
