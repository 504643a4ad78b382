#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Texts typed by the user, read from the meter or from files become numbers by one rule
// everywhere: blanks are ignored, then an optional sign, digits with at most one "." (whatever
// the locale), an optional exponent; reading stops at the first other character and a text
// without a leading number gives 0.
double leadingNumber(QStringView text);

// A meter reading as a number: the leading-number rule, except that a letter never starts an
// exponent. Letters in a reading come from garbled digits ("1D5"), never from an exponent, and
// read as one they would make a reading of 100000 out of nothing.
double readingNumber(QStringView reading);

// The leading number of the text, by the rule above; nullopt when the text has none.
std::optional<double> leadingNumberIn(QStringView text);

// The whole text is one decimal number (blanks around it allowed); nullopt otherwise.
std::optional<double> exactNumber(QStringView text);

// Shortest decimal text of a number: "0", "1230", "0.5", "-12".
QString numberText(double value);

// Round half to even, as the sampling time entry does.
double roundHalfEven(double value);
