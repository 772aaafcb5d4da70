#pragma once
#include "support/OleDate.h"
#include <QString>
#include <cstdint>
#include <variant>

// A tagged value: empty, 16-bit, 32-bit, double, date-time, text or boolean.
class Value {
public:
    enum class Type { Empty, Integer, Long, Double, Date, Text, Boolean };

    Value() = default;
    Value(std::int16_t v) : m_data(v) {}
    Value(std::int32_t v) : m_data(v) {}
    Value(double v) : m_data(v) {}
    Value(OleDate v) : m_data(v) {}
    Value(const QString& v) : m_data(v) {}
    Value(const char* v) : m_data(QString::fromUtf8(v)) {}
    Value(bool v) : m_data(v) {}
    // A plain literal is a 16-bit whole number when it fits, as in the original language.
    static Value whole(std::int64_t v);

    Type type() const { return static_cast<Type>(m_data.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNumber() const;  // integer, long or double

    // The text form (empty → "", numbers plain, booleans "True"/"False", dates in the general form).
    QString toText() const;
    // The form written to a file: numbers as blank-digits-blank (" 5 ", "-1 "), the rest as toText.
    QString displayForm() const;
    // Conversions; a value that cannot be converted throws AppError 13 (6 when out of range).
    bool toBool() const;
    double toDouble() const;
    std::int16_t toInt16() const;
    std::int32_t toInt32() const;
    OleDate toDate() const;

    // Comparison with a number as the original language made it: text is read as a number
    // (throws 13 when it is not one), empty counts as 0.
    bool equalsNumber(double number) const;

    template <class T>
    const T* get() const { return std::get_if<T>(&m_data); }

private:
    std::variant<std::monostate, std::int16_t, std::int32_t, double, OleDate, QString, bool> m_data;
};
