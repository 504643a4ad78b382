#include "charts/PlotValues.h"

#include "common/NumberText.h"
#include "records/RecordTableModel.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Marks for the meter's texts: NaN compares false with every limit, its sign tells them apart.
const double kAbove = std::numeric_limits<double>::quiet_NaN();
const double kBelow = -std::numeric_limits<double>::quiet_NaN();

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Longer mantissas are rare enough to go the slow way, whose rounding of them is then certain.
constexpr int kLongestMantissa = 40;

} // namespace

double readingValue(QStringView reading) {
    // The leading-number rule without an exponent: a letter ends a reading's number before one
    // could start, so the number is the digits and point up to the first other character.
    char mantissa[kLongestMantissa];
    int length = 0;
    bool digits = false;
    const qsizetype n = reading.size();
    qsizetype i = 0;
    while (i < n && isBlank(reading[i].unicode()))
        ++i;
    if (i < n && (reading[i] == u'+' || reading[i] == u'-')) {
        if (reading[i] == u'-')
            mantissa[length++] = '-';
        ++i;
    }
    bool point = false;
    for (; i < n; ++i) {
        const char16_t c = reading[i].unicode();
        if (isBlank(c))
            continue;
        if (c >= u'0' && c <= u'9') {
            digits = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        if (length == kLongestMantissa)
            return readingNumber(reading);
        mantissa[length++] = static_cast<char>(c);
    }
    if (!digits)
        return 0;
    double value = 0;
    const auto [end, error] = std::from_chars(mantissa, mantissa + length, value);
    if (error != std::errc() || end != mantissa + length)
        return readingNumber(reading);
    return value;
}

double plotValue(QStringView text) {
    if (text == u"OL" || text == u"----")
        return kAbove;
    if (text == u"-OL")
        return kBelow;
    return readingValue(text);
}

std::optional<double> plotValueHeight(double value, double axisMin, double axisMax,
                                      double plotHeight) {
    if (std::isnan(value)) {
        // "-OL" reads as 0, which lies above an axis that ends below 0.
        if (!std::signbit(value) || 0 > axisMax)
            return plotHeight + 5;
        return -3;
    }
    if (value > axisMax)
        return plotHeight + 5;
    if (value < axisMin)
        return -3;
    if (axisMax == axisMin)
        return std::nullopt;
    return (value - axisMin) / (axisMax - axisMin) * plotHeight;
}

void PlotValues::update(const RecordTableModel& records) {
    const auto rows = static_cast<size_t>(records.dataRowCount());
    if (rows < m_values.size())
        m_values.clear();
    m_values.reserve(rows);
    for (size_t row = m_values.size() + 1; row <= rows; ++row)
        m_values.push_back(
            plotValue(records.cellView(static_cast<int>(row), RecordTableModel::kValueColumn)));
}
