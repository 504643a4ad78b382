#include "charts/PlotZoom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>

void PrintTo(const PlotView& view, std::ostream* out) {
    *out << "[" << view.firstShown << ", " << view.lastShown << "]";
}

namespace {

PlotZoom zoomShowing(long long count, PlotView view) {
    PlotZoom zoom(count);
    zoom.select(view.firstShown, view.lastShown);
    return zoom;
}

} // namespace

TEST(PlotZoom, StartsOnTheWholeList) {
    const struct {
        long long count;
        PlotView whole;
    } cases[] = {{1001, {0, 1000}}, {2, {0, 1}}, {1, {0, 0}}, {0, {0, 0}}, {-3, {0, 0}}};
    for (const auto& c : cases) {
        const PlotZoom zoom(c.count);
        EXPECT_EQ(zoom.view(), c.whole) << c.count;
        EXPECT_TRUE(zoom.showsWhole()) << c.count;
    }
}

TEST(PlotZoom, WheelZoomsAroundThePointer) {
    const struct {
        PlotView from;
        double anchor;
        double notches;
        PlotView to;
    } cases[] = {
        {{0, 1000}, 500, 1, {100, 900}},
        {{0, 1000}, 0, 1, {0, 800}},
        {{0, 1000}, 1000, 1, {200, 1000}},
        {{0, 1000}, 250, 1, {50, 850}},
        {{0, 1000}, 500, 2, {180, 820}},
        {{100, 300}, 150, -1, {87.5, 337.5}},
        // Out to the whole and no further.
        {{100, 900}, 500, -1, {0, 1000}},
        {{0, 1000}, 500, -1, {0, 1000}},
        // Meeting an end, the view stops there and the anchor moves.
        {{900, 1000}, 990, -1, {875, 1000}},
        {{0, 100}, 50, -3, {0, 195.3125}},
        // In to the minimum span and no further.
        {{499, 503}, 500, 10, {499.5, 501.5}},
        {{499.5, 501.5}, 500, 1, {499.5, 501.5}},
        {{0, 2}, 0, 1, {0, 2}},
    };
    for (const auto& c : cases) {
        PlotZoom zoom = zoomShowing(1001, c.from);
        ASSERT_EQ(zoom.view(), c.from);
        zoom.wheel(c.anchor, c.notches);
        EXPECT_DOUBLE_EQ(zoom.view().firstShown, c.to.firstShown)
            << c.from.firstShown << " " << c.anchor << " " << c.notches;
        EXPECT_DOUBLE_EQ(zoom.view().lastShown, c.to.lastShown)
            << c.from.firstShown << " " << c.anchor << " " << c.notches;
    }
}

// Wherever the pointer is and however far the wheel turns, the record under it stays under it
// unless the view meets an end of the list, and the view stays inside the list.
TEST(PlotZoom, RecordUnderThePointerStaysThere) {
    int checked = 0;
    for (const double first : {0.0, 3.0, 120.5, 700.0}) {
        for (const double span : {2.0, 10.0, 99.5, 300.0}) {
            for (const double fraction : {0.0, 0.1, 0.5, 0.93, 1.0}) {
                for (const double notches : {-4.0, -1.0, 1.0, 3.0, 0.5}) {
                    PlotZoom zoom = zoomShowing(1001, {first, first + span});
                    const PlotMapping before{zoom.view(), 60, 400};
                    const double pointer = 60 + fraction * 400;
                    const double anchor = before.recordAt(pointer);
                    zoom.wheel(anchor, notches);
                    const PlotView v = zoom.view();
                    ASSERT_GE(v.firstShown, 0);
                    ASSERT_LE(v.lastShown, 1000);
                    ASSERT_GE(v.span(), PlotZoom::kMinimumSpan - 1e-9);
                    const double expectedSpan = span / std::pow(PlotZoom::kWheelFactor, notches);
                    if (expectedSpan < PlotZoom::kMinimumSpan || v.firstShown == 0 ||
                        v.lastShown == 1000)
                        continue;
                    EXPECT_NEAR(v.span(), expectedSpan, 1e-9);
                    const PlotMapping after{v, 60, 400};
                    EXPECT_NEAR(after.xOf(anchor), pointer, 1e-6)
                        << first << " " << span << " " << fraction << " " << notches;
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 100);
}

TEST(PlotZoom, KeysZoomAroundTheMiddle) {
    const struct {
        PlotView from;
        double factor;
        PlotView to;
    } cases[] = {
        {{100, 300}, 2, {150, 250}},
        {{100, 300}, 0.5, {0, 400}},
        {{0, 1000}, 0.5, {0, 1000}},
        {{100, 300}, 1000, {199, 201}},
        // Factors that mean nothing leave the view.
        {{100, 300}, 0, {100, 300}},
        {{100, 300}, -2, {100, 300}},
        {{100, 300}, INFINITY, {100, 300}},
        {{100, 300}, NAN, {100, 300}},
    };
    for (const auto& c : cases) {
        PlotZoom zoom = zoomShowing(1001, c.from);
        zoom.zoomAtCentre(c.factor);
        EXPECT_EQ(zoom.view(), c.to) << c.factor;
    }
}

TEST(PlotZoom, PanKeepsTheSpanWithinTheList) {
    const struct {
        PlotView from;
        double records;
        PlotView to;
    } cases[] = {
        {{100, 300}, 50, {150, 350}},   {{100, 300}, -150, {0, 200}},
        {{100, 300}, 800, {800, 1000}}, {{100, 300}, 1e12, {800, 1000}},
        {{100, 300}, -1e12, {0, 200}},  {{0, 1000}, 10, {0, 1000}},
        {{100, 300}, NAN, {100, 300}},  {{100, 300}, 0.25, {100.25, 300.25}},
    };
    for (const auto& c : cases) {
        PlotZoom zoom = zoomShowing(1001, c.from);
        zoom.pan(c.records);
        EXPECT_EQ(zoom.view(), c.to) << c.records;
    }
}

TEST(PlotZoom, SelectionBecomesTheView) {
    const struct {
        long long count;
        double from;
        double to;
        PlotView view;
    } cases[] = {
        {1001, 100, 300, {100, 300}},
        {1001, 300, 100, {100, 300}},
        {1001, -50, 100, {0, 100}},
        {1001, -10, 5000, {0, 1000}},
        // Narrower than the minimum: widened about its middle, inside the list.
        {1001, 500, 500.5, {499.25, 501.25}},
        {1001, 0, 0.5, {0, 2}},
        {1001, 999.9, 2000, {998, 1000}},
        {2, 0.2, 0.4, {0, 1}},
        {1, 0, 5, {0, 0}},
    };
    for (const auto& c : cases) {
        PlotZoom zoom(c.count);
        zoom.select(c.from, c.to);
        EXPECT_EQ(zoom.view(), c.view) << c.count << " " << c.from << " " << c.to;
    }
}

TEST(PlotZoom, HomeShowsTheWholeListAgain) {
    PlotZoom zoom(86400);
    zoom.select(100, 200);
    zoom.pan(1000);
    EXPECT_FALSE(zoom.showsWhole());
    zoom.home();
    EXPECT_TRUE(zoom.showsWhole());
    EXPECT_EQ(zoom.view(), (PlotView{0, 86399}));
}

TEST(PlotZoom, ListsTooShortToZoomStayWhole) {
    for (const long long count : {0LL, 1LL, 2LL}) {
        PlotZoom zoom(count);
        zoom.wheel(0, 5);
        zoom.zoomAtCentre(2);
        zoom.pan(1);
        zoom.select(0, 0);
        EXPECT_TRUE(zoom.showsWhole()) << count;
    }
}

TEST(PlotZoom, MapsPixelsToRecords) {
    const PlotMapping mapping{{100, 300}, 60, 400};
    const struct {
        double x;
        double record;
    } cases[] = {{60, 100}, {460, 300}, {260, 200}, {110, 125}, {40, 90}, {500, 320}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(mapping.recordAt(c.x), c.record) << c.x;
        EXPECT_DOUBLE_EQ(mapping.xOf(c.record), c.x) << c.record;
    }
    EXPECT_DOUBLE_EQ(mapping.recordsPerPixel(), 0.5);
    // A single record sits at the left edge; an area without width maps to the first record.
    EXPECT_EQ((PlotMapping{{0, 0}, 60, 400}.xOf(0)), 60);
    EXPECT_EQ((PlotMapping{{5, 9}, 60, 0}.recordAt(100)), 5);
    EXPECT_EQ((PlotMapping{{5, 9}, 60, 0}.recordsPerPixel()), 0);
}
