#include "common/Value.h"

#include "common/NumberText.h"

#include <algorithm>

Value Value::fromNumber(double number) {
    Value v;
    v.m_value = number;
    return v;
}

Value Value::fromText(QString text) {
    Value v;
    v.m_value = std::move(text);
    return v;
}

QString Value::text() const {
    if (const auto* n = std::get_if<double>(&m_value))
        return numberText(*n);
    if (const auto* t = std::get_if<QString>(&m_value))
        return *t;
    return {};
}

double Value::number() const {
    if (const auto* n = std::get_if<double>(&m_value))
        return *n;
    if (const auto* t = std::get_if<QString>(&m_value))
        return readingNumber(*t);
    return 0;
}

std::optional<double> Value::comparable() const {
    if (const auto* n = std::get_if<double>(&m_value))
        return *n;
    if (const auto* t = std::get_if<QString>(&m_value)) {
        // The number rule would read "1D5" or "1.E9" as an exponent.
        if (std::any_of(t->begin(), t->end(), [](QChar c) { return c.isLetter(); }))
            return std::nullopt;
        return exactNumber(*t);
    }
    return std::nullopt;
}
