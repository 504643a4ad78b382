#pragma once

#include <QString>

class Value;

// What the luminous intensity window shows on each refresh.
struct LightReadout {
    QString unit;         // LblUnit
    QString reading;      // LblLight
    QString distanceUnit; // LblMF: "F" for feet with Fc, otherwise "M"
    QString candela;      // Lblcd
    // The result could not be computed (it overflowed): the distance box is emptied.
    bool clearDistance = false;
};

// Luminous intensity from the live reading and the typed distance: distance squared times the
// illuminance, metres with LUX and feet with Fc. An overload reading gives "OL", an empty
// distance or "." alone gives "0".
LightReadout lightReadout(const QString& unit, const Value& reading, const QString& distance);

// A number as the result shows it: a blank before a non-negative number and "-" before a
// negative one, up to 15 significant digits, no zero before the point (" .25"), exponent form
// from 1E+15 up and below 1E-04 (" 1.5E+16").
QString signedNumberText(double value);
