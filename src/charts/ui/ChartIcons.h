#pragma once

#include <QIcon>
#include <QString>

// The chart windows' toolbar pictures, drawn at run time: "Limit" (an axis between two limit
// marks), "Print" (a printer) and "SavePicture" (a framed picture).
QIcon chartToolbarIcon(const QString& key);
