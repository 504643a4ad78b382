#pragma once

#include <QString>

struct SharedState;

// What the main window shows of the live reading; the window copies it onto its labels.
struct LiveDisplay {
    bool full = false;
    bool hold = false;
    bool rec = false;
    bool max = false;
    bool fc = false;
    bool lux = true;
    bool battery = false;
    QString range;
    QString value;
    bool over = false;  // LblOver visible
    bool under = false; // LblUnder visible
    // The meter stopped confirming the reading ("No COM", "Bad data"): it shows grey until the
    // next decoded frame.
    bool stale = false;
};

// True for the port labels that say the shown reading is no longer the meter's.
bool readingLostWith(const QString& portLabel);

// The display update after a decoded frame (which makes the reading live again), alarm evaluation
// included. `display` holds the previous state, since the alarm marks blink by inverting their
// visibility. Returns true when the system beep is due.
bool updateLiveDisplay(SharedState& state, LiveDisplay& display);

// The alarm evaluation alone (part of the update above).
bool evaluateAlarm(SharedState& state, LiveDisplay& display);
