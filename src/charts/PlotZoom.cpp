#include "charts/PlotZoom.h"

#include <algorithm>
#include <cmath>

PlotZoom::PlotZoom(long long count)
    : m_count(std::max(count, 0LL))
    , m_view(whole()) {}

PlotView PlotZoom::whole() const {
    return {0, static_cast<double>(std::max(m_count - 1, 0LL))};
}

double PlotZoom::minimumSpan() const {
    return std::min(kMinimumSpan, whole().span());
}

void PlotZoom::place(double first, double span) {
    const PlotView all = whole();
    span = std::max(span, minimumSpan());
    // Exactly the whole, so that showsWhole() holds after zooming all the way out.
    if (span >= all.span()) {
        m_view = all;
        return;
    }
    first = std::clamp(first, all.firstShown, all.lastShown - span);
    m_view = {first, std::min(first + span, all.lastShown)};
}

void PlotZoom::zoomAround(double anchor, double factor) {
    const double span = m_view.span();
    if (!(factor > 0) || !std::isfinite(factor) || !std::isfinite(anchor) || span <= 0)
        return;
    const double newSpan = std::max(span / factor, minimumSpan());
    // The anchor stays at the same fraction of the view, so at the same pixel.
    const double fraction = (anchor - m_view.firstShown) / span;
    place(anchor - fraction * newSpan, newSpan);
}

void PlotZoom::wheel(double anchor, double notches) {
    zoomAround(anchor, std::pow(kWheelFactor, notches));
}

void PlotZoom::zoomAtCentre(double factor) {
    zoomAround((m_view.firstShown + m_view.lastShown) / 2, factor);
}

void PlotZoom::pan(double records) {
    if (!std::isfinite(records))
        return;
    place(m_view.firstShown + records, m_view.span());
}

void PlotZoom::select(double from, double to) {
    if (!std::isfinite(from) || !std::isfinite(to))
        return;
    const PlotView all = whole();
    const double low = std::clamp(std::min(from, to), all.firstShown, all.lastShown);
    const double high = std::clamp(std::max(from, to), all.firstShown, all.lastShown);
    const double span = high - low;
    const double minimum = minimumSpan();
    if (span < minimum)
        place((low + high - minimum) / 2, minimum);
    else
        place(low, span);
}

void PlotZoom::home() {
    m_view = whole();
}

double PlotMapping::recordAt(double x) const {
    if (width <= 0)
        return view.firstShown;
    return view.firstShown + (x - left) / width * view.span();
}

double PlotMapping::xOf(double record) const {
    if (view.span() <= 0)
        return left;
    return left + (record - view.firstShown) / view.span() * width;
}

double PlotMapping::recordsPerPixel() const {
    return width > 0 ? view.span() / width : 0;
}
