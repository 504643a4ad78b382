#pragma once

#include <QIcon>
#include <QString>

// The small toolbar pictures of the list and chart windows, drawn at run time: "Save" (a disk),
// "Print" (a printer), "Plot" (a curve over axes), "Limit" (an axis between two limit marks)
// and "SavePicture" (a framed picture).
QIcon smallToolbarIcon(const QString& key);
