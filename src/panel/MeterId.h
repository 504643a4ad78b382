#pragma once

#include "common/Value.h"

#include <optional>

struct AppContext;

// The meter's ID code from its settings, for the header of a recording or a live list. The live
// poll is paused meanwhile; a silent meter is reported (kMeterNotResponding) and gives nullopt,
// as does the program closing.
std::optional<Value> readMeterId(AppContext& context);
