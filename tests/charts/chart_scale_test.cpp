#include "charts/ChartScale.h"

#include <gtest/gtest.h>

TEST(ChartScale, LayoutFromTheClientArea) {
    const struct {
        float cw, ch;
        ChartLayout layout;
    } cases[] = {
        {349, 364, {60, 337, 264, 270}}, // the real-time graph as it opens
        {392, 364, {60, 337, 264, 330}}, // the record plot as it opens
        {330, 364, {60, 337, 264, 270}},
        {331, 364, {60, 337, 264, 270}},
        {359, 400, {60, 373, 300, 270}},
        {360, 400, {60, 373, 300, 300}},
        {1920, 1080, {60, 1053, 980, 1860}},
        // The remainder is taken of the nearest whole number.
        {359.6f, 364, {60, 337, 264, 299.6f}},
    };
    for (const auto& c : cases) {
        const ChartLayout l = ComputeChartLayout(c.cw, c.ch);
        EXPECT_EQ(l, c.layout) << c.cw << " x " << c.ch << ": " << l.AxisX << " " << l.Baseline
                               << " " << l.PlotHeight << " " << l.PlotWidth;
    }
}

TEST(ChartScale, AxisLabels) {
    const struct {
        double min, max;
        const char* labels[9];
    } cases[] = {
        {0, 2000, {" 0", " 250", " 500", " 750", " 1000", " 1250", " 1500", " 1750", " 2000"}},
        {0, 20, {" 0", " 2.5", " 5", " 7.5", " 10", " 12.5", " 15", " 17.5", " 20"}},
        {0, 4, {" 0", " .5", " 1", " 1.5", " 2", " 2.5", " 3", " 3.5", " 4"}},
        {-4, 0, {"-4", "-3.5", "-3", "-2.5", "-2", "-1.5", "-1", "-.5", " 0"}},
        // Steps that are not exact in binary still read as the decimals they stand for.
        {0, 0.8, {" 0", " .1", " .2", " .3", " .4", " .5", " .6", " .7", " .8"}},
        {100,
         20000,
         {" 100", " 2587.5", " 5075", " 7562.5", " 10050", " 12537.5", " 15025", " 17512.5",
          " 20000"}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i <= 8; ++i) {
            EXPECT_EQ(FormatAxisLabel(c.min + i * (c.max - c.min) / 8),
                      QString::fromLatin1(c.labels[i]))
                << c.min << ".." << c.max << " label " << i;
        }
    }
}

TEST(ChartScale, LabelsOfExtremeMagnitudes) {
    const struct {
        double value;
        const char* label;
    } cases[] = {
        {0.0001, " .0001"}, {0.00001, " 1E-05"},
        {-0.25, "-.25"},    {123456789012345, " 123456789012345"},
        {1e15, " 1E+15"},   {-0.0, " 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatAxisLabel(c.value), QString::fromLatin1(c.label)) << c.value;
}

TEST(ChartScale, ValueHeights) {
    const struct {
        const char* text;
        double min, max;
        std::optional<double> height;
    } cases[] = {
        {"1000", 0, 2000, 132},
        {"2000", 0, 2000, 264}, // the maximum lies on the top grid line
        {"0", 0, 2000, 0},
        {"OL", 0, 2000, 269},
        {"----", 0, 2000, 269},
        {"2000.5", 0, 2000, 269},
        {"-OL", 0, 2000, -3},
        {"-0.1", 0, 2000, -3},
        {"50", 100, 2000, -3},
        {"ol", 0, 2000, 0}, // the texts are matched exactly
        {" 1 000", 0, 2000, 132},
        // Letters in a reading are garbled digits, never an exponent: no huge value from them.
        {"5E2", 0, 2000, 5 * 264.0 / 2000},
        {"1D5", 0, 2000, 264.0 / 2000},
        {"12,5", 0, 20, 12 * 264.0 / 20}, // a comma ends the number
        {"15", 10, 20, 132},
        // An axis without height has no place for a reading between its limits.
        {"5", 5, 5, std::nullopt},
        {"OL", 5, 5, 269},
        {"-OL", 5, 5, -3},
        {"6", 5, 5, 269},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValueHeight(QString::fromLatin1(c.text), c.min, c.max, 264), c.height)
            << c.text << " on " << c.min << ".." << c.max;
    }
}
