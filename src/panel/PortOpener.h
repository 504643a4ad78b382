#pragma once

#include <memory>

class Clock;
class SerialPort;
struct SharedState;

// The port the chosen name opens: a COM port's device, a device path, or the built-in "Demo"
// meter; nullptr when the choice matched nothing.
std::unique_ptr<SerialPort> openerForChoice(const SharedState& state, Clock& clock);
