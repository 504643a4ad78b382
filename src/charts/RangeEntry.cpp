#include "charts/RangeEntry.h"

#include "common/NumberText.h"
#include "common/SharedState.h"

namespace {

constexpr double kMinCounts = 10;
constexpr double kMaxCounts = 864000;

} // namespace

bool keyPasses(QChar typed, BoxKeys keys) {
    const char16_t c = typed.unicode();
    if ((c >= u'0' && c <= u'9') || c == u'\b')
        return true;
    return keys == BoxKeys::Signed && (c == u'-' || c == u'.');
}

GraphRangeTexts graphRangeTexts(const GraphState& state) {
    return {numberText(state.GraphTop), numberText(state.GraphBottom),
            numberText(roundHalfEven(state.GraphLayout.PlotWidth / state.GraphStep))};
}

std::variant<AcceptedGraphRange, QString> checkGraphRange(const GraphRangeTexts& typed,
                                                          const SharedState& state) {
    const double max = leadingNumber(typed.max);
    const double min = leadingNumber(typed.min);
    if (!(max > min) || max > state.GraphMax || min < state.GraphMin) {
        return numberText(state.GraphMin) + QStringLiteral(" <= ") + state.Unit +
               QStringLiteral(" <= ") + numberText(state.GraphMax) + QStringLiteral(", try again!");
    }
    const double counts = leadingNumber(typed.counts);
    if (counts > kMaxCounts || counts < kMinCounts)
        return QStringLiteral("10 <= Counts <= 864000, try again!");
    return AcceptedGraphRange{max, min, state.GraphLayout.PlotWidth / counts};
}

PlotRangeTexts plotRangeTexts(const PlotState& state) {
    return {numberText(state.PlotBottom), numberText(state.PlotTop), numberText(state.PlotFirst),
            numberText(state.PlotLast)};
}

std::variant<AcceptedPlotRange, QString> checkPlotRange(const PlotRangeTexts& typed,
                                                        const SharedState& state) {
    const double t1 = leadingNumber(typed.t1);
    const double t2 = leadingNumber(typed.t2);
    // A pasted "2.5" names no row; the record it rounds to does.
    const double r1 = roundHalfEven(leadingNumber(typed.r1));
    const double r2 = roundHalfEven(leadingNumber(typed.r2));
    if (t1 < state.PlotMin || !(t1 < t2) || t2 > state.PlotMax) {
        return QStringLiteral("Invalid, ") + numberText(state.PlotMin) + QStringLiteral(" <= ") +
               state.PlotUnit + QStringLiteral(" <= ") + numberText(state.PlotMax);
    }
    if (r1 <= 0 || !(r1 < r2) || r2 > state.PlotRecords) {
        return QStringLiteral("Invalid, 0 <= Records <= ") +
               QString::number(static_cast<long long>(state.PlotRecords));
    }
    return AcceptedPlotRange{t1, t2, r1, r2};
}
