#pragma once

#include <QIcon>
#include <QString>

// The chart windows' toolbar pictures, drawn at run time: "Limit" (an axis between two limit
// marks) and "Print" (a printer).
QIcon chartToolbarIcon(const QString& key);
