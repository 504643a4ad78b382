#include "charts/ui/SpanStatisticsWindow.h"

#include "charts/SpanStatistics.h"
#include "common/ui/ValueLabel.h"
#include "common/ui/WindowOwner.h"

#include <QGridLayout>
#include <QLabel>

SpanStatisticsWindow::SpanStatisticsWindow() {
    setObjectName(QStringLiteral("PlotStatistics"));
    setWindowTitle(QStringLiteral("Statistics"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(12);
    // The captions come with the figures; an empty span still names every row.
    const std::vector<CaptionedText> rows = spanStatisticsTexts(SpanStatistics{});
    for (size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        grid->addWidget(new QLabel(rows[i].caption, this), row, 0);
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("LblSpan%1").arg(row));
        value->setAccessibleDescription(rows[i].caption);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setMinimumWidth(150);
        grid->addWidget(value, row, 1);
        m_values.push_back(value);
    }
    setFixedSize(sizeHint());
}

SpanStatisticsWindow* SpanStatisticsWindow::openBeside(WindowOwner& owner, QWidget& plot,
                                                       const std::function<void()>& closed) {
    auto* window = new SpanStatisticsWindow;
    owner.adopt(QStringLiteral("PlotStatistics"), window);
    QObject::connect(window, &SecondaryWindow::finished, &plot, closed);
    window->move(plot.frameGeometry().topRight() + QPoint(4, 0));
    return window;
}

void SpanStatisticsWindow::showStatistics(const SpanStatistics& statistics) {
    const std::vector<CaptionedText> rows = spanStatisticsTexts(statistics);
    for (size_t i = 0; i < rows.size() && i < m_values.size(); ++i)
        showText(m_values[i], rows[i].text);
}
