#pragma once

#include <QString>

class MeterEngine;

// One line of the simulator's control input ("silent on", "range 200", "split 3"...), applied
// to the engine. Returns an empty text when applied, else what was wrong with the line.
// "quit" is the caller's business and is reported as unknown here.
QString applySimControl(MeterEngine& meter, const QString& line);
