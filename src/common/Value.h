#pragma once

#include <QString>
#include <optional>
#include <variant>

// A reading as the meter shows it: empty, a number (ranges 20000 and 2000) or a text
// ("10.5", "0.23", "1023", "OL").
class Value {
public:
    Value() = default;
    static Value fromNumber(double number);
    static Value fromText(QString text);

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isNumber() const { return std::holds_alternative<double>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }

    // What the windows show.
    QString text() const;
    // Numeric form by the leading-number rule, letters ending it (0 for "OL" and for empty).
    double number() const;
    // The number when the reading is a plain decimal number, nullopt for "OL" and for texts
    // with letters; comparisons against limits use this so that odd texts are skipped.
    std::optional<double> comparable() const;

    friend bool operator==(const Value&, const Value&) = default;

private:
    std::variant<std::monostate, double, QString> m_value;
};
