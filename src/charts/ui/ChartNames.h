#pragma once

#include <QString>

// The names the chart windows are kept under by the window owner.
inline const QString kRealTimeGraph = QStringLiteral("RealTimeGraph");
inline const QString kRealTimeRange = QStringLiteral("RealTimeRange");
inline const QString kListPlot = QStringLiteral("ListPlot");
inline const QString kPlotRange = QStringLiteral("PlotRange");
