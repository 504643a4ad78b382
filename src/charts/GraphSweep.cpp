#include "charts/GraphSweep.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "common/GraphState.h"
#include "common/LiveReading.h"
#include "common/NumberText.h"

#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

SweepAdvance advanceSweep(double x, double step, double plotWidth) {
    const double next = x + step;
    if (next >= plotWidth)
        return {0, next};
    return {next, std::nullopt};
}

SweepMark sweepMarkAt(double x) {
    const auto n = static_cast<long long>(roundHalfEven(x));
    if (n % 60 == 0)
        return SweepMark::Time;
    if (n % 30 == 0)
        return SweepMark::Mid;
    return SweepMark::None;
}

bool ReadingFreshness::fresh(quint64 frameCount, double monotonicNow) {
    if (m_frames != frameCount) {
        // The first look finds a reading of unknown age: it counts from now.
        m_frames = frameCount;
        m_frameSeen = monotonicNow;
    }
    return monotonicNow - m_frameSeen <= kFreshSeconds;
}

QRect drawSweepTick(QPainter& painter, GraphState& state, const LiveReading& reading,
                    const QString& timeOfDay, bool fresh) {
    const ChartLayout& layout = state.GraphLayout;
    const double step = state.GraphStep;
    const double left = layout.AxisX;
    const double base = layout.Baseline;
    const double below = base + 3;
    const double above = base - layout.PlotHeight - 5;
    const QColor white = paletteColour(15);
    const QColor grid = paletteColour(state.GridColour);
    const int deviceHeight = painter.device() ? painter.device()->height() : 0;
    auto band = [&](double from, double to) {
        return QRect(QPoint(static_cast<int>(std::floor(from)) - 2, 0),
                     QPoint(static_cast<int>(std::ceil(to)) + 2, deviceHeight));
    };

    QRect changed;
    const SweepAdvance advance = advanceSweep(state.GraphX, step, layout.PlotWidth);
    if (advance.wrappedFrom) {
        const double at = left + *advance.wrappedFrom;
        changed |= fillBox(painter, {at, below}, {at + 2 + step, above}, white);
    }
    const double x = advance.x;
    state.GraphX = x;
    changed |=
        fillBox(painter, {left + x + 1, below}, {left + x + 1 + step, above}, paletteColour(12));
    changed |= fillBox(painter, {left + x, below}, {left + x + step, above}, white);

    DrawChartGrid(painter, layout, grid);

    QString text = reading.Value.text();
    if (const qsizetype comma = text.indexOf(u','); comma >= 0)
        text[comma] = u'.';
    const std::optional<double> h =
        fresh ? ValueHeight(text, state.GraphBottom, state.GraphTop, layout.PlotHeight)
              : std::nullopt;
    if (h) {
        const QPointF point(left + x, base - *h);
        if (state.GraphPrevX != 0 && x != 0) {
            drawSegment(painter, QPointF(state.GraphPrevX, state.GraphPrevY), point, Qt::black);
            changed |= band(std::min(state.GraphPrevX, point.x()), point.x());
        }
        state.GraphPrevY = point.y();
        state.GraphPrevX = point.x();
    } else {
        // A stale reading, or an axis without height that has nowhere to put it: the trace
        // resumes with the next reading that can be drawn.
        state.GraphPrevX = 0;
    }

    switch (sweepMarkAt(x)) {
    case SweepMark::Time: {
        DrawTimeGridLine(painter, layout, x, grid);
        const double w = textWidth(painter, timeOfDay);
        changed |=
            fillBox(painter, {left + x - w / 2, base + 10}, {left + x + w / 2, base + 20}, white);
        changed |= drawTextAt(painter, {left + x - 5 - w / 2, base + 10}, timeOfDay);
        changed |= band(left + x, left + x);
        break;
    }
    case SweepMark::Mid:
        DrawMidTick(painter, layout, x, grid);
        changed |= band(left + x, left + x);
        break;
    case SweepMark::None:
        break;
    }
    return changed;
}

QImage withoutSweepFront(const QImage& image, const GraphState& state) {
    QImage picture = image.convertToFormat(QImage::Format_RGB32);
    const ChartLayout& layout = state.GraphLayout;
    if (!(state.GraphX >= 0) || !(state.GraphStep > 0))
        return picture;
    // The box the tick filled red, a pixel wider on each side for the rounding of its corners.
    const double from = layout.AxisX + state.GraphX + 1;
    const double to = from + state.GraphStep;
    const int left = std::max(0, static_cast<int>(std::floor(from)) - 1);
    const int right = std::min(picture.width() - 1, static_cast<int>(std::ceil(to)) + 1);
    const int top =
        std::max(0, static_cast<int>(std::floor(layout.Baseline - layout.PlotHeight - 5)) - 1);
    const int bottom =
        std::min(picture.height() - 1, static_cast<int>(std::ceil(layout.Baseline + 3)) + 1);
    const QRgb red = paletteColour(12).rgb();
    const QRgb white = paletteColour(15).rgb();
    for (int y = top; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = left; x <= right; ++x) {
            if (line[x] == red)
                line[x] = white;
        }
    }
    return picture;
}
