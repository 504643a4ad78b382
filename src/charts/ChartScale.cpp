#include "charts/ChartScale.h"

#include "common/NumberText.h"

#include <cmath>

ChartLayout ComputeChartLayout(float cw, float ch) {
    ChartLayout layout;
    layout.AxisX = 60;
    layout.Baseline = ch - 27;
    layout.PlotHeight = ch - 100;
    const float room = cw - 60;
    const long whole = std::lround(room);
    layout.PlotWidth = room - static_cast<float>(whole % 30);
    return layout;
}

// Written the same whatever the PC's locale, so no decimal comma ever needs mending here.
QString FormatAxisLabel(double value) {
    // "%G"'s form with a period: up to 15 significant digits, "1E+16", "1E-05".
    const QString t = QString::number(value, 'G', 15);
    const qsizetype exponent = t.indexOf(u'E');
    QString mantissa = exponent >= 0 ? t.left(exponent) : t;
    if (mantissa.startsWith(QStringLiteral("0.")))
        mantissa.remove(0, 1);
    else if (mantissa.startsWith(QStringLiteral("-0.")))
        mantissa.remove(1, 1);
    const QString sign = mantissa.startsWith(u'-') ? QString() : QStringLiteral(" ");
    return sign + mantissa + (exponent >= 0 ? t.mid(exponent) : QString());
}

std::optional<double> ValueHeight(QStringView text, double axisMin, double axisMax,
                                  double plotHeight) {
    const double v = readingNumber(text);
    if (text == u"OL" || v > axisMax || text == u"----")
        return plotHeight + 5;
    if (text == u"-OL" || v < axisMin)
        return -3;
    if (axisMax == axisMin)
        return std::nullopt;
    return (v - axisMin) / (axisMax - axisMin) * plotHeight;
}
