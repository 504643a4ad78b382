#include "tools/ReadingStatistics.h"

#include "common/LiveReading.h"

#include <algorithm>
#include <cmath>

void RunningStatistics::add(double value) {
    if (m_count == 0) {
        m_max = value;
        m_min = value;
    } else {
        m_max = std::max(m_max, value);
        m_min = std::min(m_min, value);
    }
    ++m_count;
    const double sum = m_sum + value;
    // What the addition rounded away, taken from whichever operand was the smaller.
    if (std::abs(m_sum) >= std::abs(value))
        m_compensation += (m_sum - sum) + value;
    else
        m_compensation += (value - sum) + m_sum;
    m_sum = sum;
}

std::optional<double> RunningStatistics::maximum() const {
    return m_count > 0 ? std::optional(m_max) : std::nullopt;
}

std::optional<double> RunningStatistics::minimum() const {
    return m_count > 0 ? std::optional(m_min) : std::nullopt;
}

std::optional<double> RunningStatistics::mean() const {
    if (m_count == 0)
        return std::nullopt;
    return (m_sum + m_compensation) / static_cast<double>(m_count);
}

ReadingStatistics::ReadingStatistics(const LiveReading& state, double now)
    : m_state(state) {
    reset(now);
}

void ReadingStatistics::reset(double now) {
    m_frames = m_state.FrameCount;
    m_started = now;
    m_unit = m_state.Unit;
    m_range = m_state.Range;
    m_readings = {};
    m_overloads = 0;
}

ReadingStatistics::Event ReadingStatistics::update(double now) {
    if (m_state.FrameCount == m_frames)
        return Event::None;
    Event restarted = Event::None;
    if (!m_range) {
        // Started before the first frame: the first one sets the unit and range.
        m_unit = m_state.Unit;
        m_range = m_state.Range;
    } else if (m_state.Unit != m_unit) {
        restarted = Event::UnitChanged;
    } else if (m_state.Range != m_range) {
        restarted = Event::RangeChanged;
    }
    if (restarted != Event::None)
        reset(now);
    m_frames = m_state.FrameCount;

    Event counted = Event::Skipped;
    if (const std::optional<double> number = m_state.Value.comparable()) {
        m_readings.add(*number);
        counted = Event::Counted;
    } else if (m_state.Value.isText() && m_state.Value.text() == u"OL") {
        ++m_overloads;
        counted = Event::Overload;
    }
    return restarted != Event::None ? restarted : counted;
}

namespace {

// Digits after the point that the meter shows in a range.
int rangeDecimals(std::optional<qint16> range) {
    if (range == 20)
        return 2;
    if (range == 200)
        return 1;
    return 0;
}

QString inUnit(const QString& number, const QString& unit) {
    return unit.isEmpty() ? number : number + u' ' + unit;
}

} // namespace

StatisticsTexts statisticsTexts(const ReadingStatistics& statistics, double now) {
    const RunningStatistics& readings = statistics.readings();
    const int decimals = rangeDecimals(statistics.range());
    const auto shown = [&](std::optional<double> value, int digits) {
        return value ? inUnit(QString::number(*value, 'f', digits), statistics.unit()) : QString();
    };
    StatisticsTexts texts;
    texts.maximum = shown(readings.maximum(), decimals);
    texts.minimum = shown(readings.minimum(), decimals);
    texts.average = shown(readings.mean(), decimals + 1);
    texts.count = QString::number(readings.count());
    texts.overloads = QString::number(statistics.overloads());
    const auto seconds =
        static_cast<long long>(std::floor(std::max(0.0, now - statistics.started())));
    texts.elapsed = QStringLiteral("%1:%2:%3")
                        .arg(seconds / 3600)
                        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return texts;
}

QString restartNote(ReadingStatistics::Event event, const ReadingStatistics& statistics) {
    switch (event) {
    case ReadingStatistics::Event::UnitChanged:
        return QStringLiteral("Unit changed to %1: started again").arg(statistics.unit());
    case ReadingStatistics::Event::RangeChanged:
        return QStringLiteral("Range changed to %1: started again")
            .arg(rangeText(statistics.range()));
    default:
        return {};
    }
}
