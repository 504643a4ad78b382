#pragma once

#include <QIcon>
#include <QString>

// The list windows' toolbar pictures, drawn at run time: "Save" (a disk), "Print" (a printer)
// and "Plot" (a curve over axes).
QIcon listToolbarIcon(const QString& key);
