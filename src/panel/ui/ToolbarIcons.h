#pragma once

#include <QIcon>
#include <QString>

// The main toolbar's pictures, drawn at run time: one per button key ("Save", "Open", "List",
// "Graph", "AVG", "PC", "Memory", "Stop", "Save1", "Light", "TimeSet", "Alarm").
QIcon toolbarIcon(const QString& key);
