#pragma once

#include <QRect>
#include <functional>

class Clock;
class Dialogs;
class Printer;
class SerialPort;
struct SharedState;

// What every window is handed: the shared state and the program's seams. The main window fills
// in the port once it has opened it, and the live-poll switch and its own frame.
struct AppContext {
    SharedState& state;
    Clock& clock;
    Dialogs& dialogs;
    Printer& printer;
    SerialPort* port = nullptr;
    // Panel.Timer1.Enabled: exchanges other than the live poll switch it off and on again.
    std::function<void(bool)> setPollEnabled;
    // The main window's frame on screen, for windows placed beside it.
    std::function<QRect()> panelFrame;
    // The main window's port label (LblCOM), restored after a download.
    std::function<void(const QString&)> setPortLabel;
};
