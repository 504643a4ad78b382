#include "charts/PlotPicture.h"

#include "charts/ChartDrawing.h"
#include "charts/ChartScale.h"
#include "charts/RecordPlot.h"
#include "charts/TimeAxis.h"
#include "common/NumberText.h"
#include "common/SharedState.h"
#include "records/RecordTableModel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegularExpression>
#include <cmath>

namespace {

// 96 dots per inch, as on screen, so the fonts come out as in the window.
constexpr int kDotsPerMeter = 3780;

} // namespace

std::optional<QSize> parsePictureSize(QStringView text) {
    static const QRegularExpression size(
        QStringLiteral(R"(^\s*(\d{1,5})\s*[xX×\s]\s*(\d{1,5})\s*$)"));
    const QRegularExpressionMatch m = size.match(text.toString());
    if (!m.hasMatch())
        return std::nullopt;
    const QSize picture(m.captured(1).toInt(), m.captured(2).toInt());
    if (picture.width() < kSmallestPicture.width() ||
        picture.height() < kSmallestPicture.height() || picture.width() > kLargestPictureSide ||
        picture.height() > kLargestPictureSide)
        return std::nullopt;
    return picture;
}

QString plotPictureTitle(const SharedState& state, const RecordTableModel& records) {
    const auto time = [&](double row) {
        return records.cellView(static_cast<int>(std::llround(row)), RecordTableModel::kTimeColumn)
            .trimmed()
            .toString();
    };
    QString title = state.PlotTitle.trimmed();
    // On a clock-time axis the axis's ends; the records drawn lead the trace past them.
    const QString from =
        state.PlotTimeAxis ? shownTimeText(state.PlotTimeFrom) : time(state.PlotFirst);
    const QString to = state.PlotTimeAxis ? shownTimeText(state.PlotTimeTo) : time(state.PlotLast);
    if (!from.isEmpty())
        title += QStringLiteral(", %1 to %2").arg(from, to);
    return title + QStringLiteral(" (%1)").arg(state.PlotUnit);
}

QImage plotPicture(const RecordTableModel& records, const SharedState& state, QSize size,
                   const QStringList& lines, const QFont& font, const PlotTimes* times) {
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    const QFontMetrics metrics(font, &image);
    const int lineHeight = metrics.height();
    int top = 0;
    for (const QString& line : lines) {
        top += 2;
        painter.setPen(Qt::black);
        painter.drawText(QRect(6, top, size.width() - 12, lineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(line, Qt::ElideRight, size.width() - 12));
        top += lineHeight;
    }
    // The chart below the lines, laid out and drawn as the window draws it at that size.
    painter.translate(0, top);
    SharedState plot = state;
    plot.PlotLayout = ComputeChartLayout(static_cast<float>(size.width()),
                                         static_cast<float>(size.height() - top));
    plot.PlotStep = plot.PlotLayout.PlotWidth / plot.PlotCount;
    DrawChartFrame(painter, plot.PlotLayout, plot.PlotBottom, plot.PlotTop, plot.PlotUnit);
    RecordPlotter plotter(records, plot, times);
    while (!plotter.finished())
        plotter.plotNext(painter, 1 << 20);
    return image;
}
