#pragma once

#include <QString>

// The key filter of the tools' number boxes (distance, alarm limits): digits, "." and Backspace
// get through; every other typed character is dropped, Enter and "-" included. `typed` is the
// text the key produces.
bool numberKeyAccepted(const QString& typed);
