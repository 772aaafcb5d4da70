#include "support/Value.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "platform/AppError.h"
#include "support/Conversions.h"

namespace {
bool sameWord(const QString& text, const QString& word)
{
    return text.trimmed().compare(word, Qt::CaseInsensitive) == 0;
}

// Text read as a boolean word, when it is one.
std::optional<bool> boolWord(const QString& text)
{
    const LocaleFacts& locale = Platform::facts().locale();
    if (sameWord(text, QStringLiteral("True")) || sameWord(text, locale.trueWord))
        return true;
    if (sameWord(text, QStringLiteral("False")) || sameWord(text, locale.falseWord))
        return false;
    return std::nullopt;
}
}

Value Value::whole(std::int64_t v)
{
    if (v >= INT16_MIN && v <= INT16_MAX)
        return Value(static_cast<std::int16_t>(v));
    if (v >= INT32_MIN && v <= INT32_MAX)
        return Value(static_cast<std::int32_t>(v));
    return Value(static_cast<double>(v));
}

bool Value::isNumber() const
{
    return type() == Type::Integer || type() == Type::Long || type() == Type::Double;
}

QString Value::toText() const
{
    switch (type()) {
    case Type::Empty: return QString();
    case Type::Integer: return Conversions::numberText(static_cast<std::int64_t>(*get<std::int16_t>()));
    case Type::Long: return Conversions::numberText(static_cast<std::int64_t>(*get<std::int32_t>()));
    case Type::Double: return Conversions::numberText(*get<double>());
    case Type::Date: return get<OleDate>()->generalForm();
    case Type::Text: return *get<QString>();
    case Type::Boolean: return *get<bool>() ? QStringLiteral("True") : QStringLiteral("False");
    }
    return QString();
}

QString Value::displayForm() const
{
    if (!isNumber())
        return toText();
    const QString digits = toText();
    return (digits.startsWith('-') ? QString() : QStringLiteral(" ")) + digits + ' ';
}

double Value::toDouble() const
{
    switch (type()) {
    case Type::Empty: return 0;
    case Type::Integer: return *get<std::int16_t>();
    case Type::Long: return *get<std::int32_t>();
    case Type::Double: return *get<double>();
    case Type::Date: return get<OleDate>()->days;
    case Type::Boolean: return *get<bool>() ? -1 : 0;
    case Type::Text: {
        const QString& text = *get<QString>();
        if (const auto word = boolWord(text))
            return *word ? -1 : 0;
        return Conversions::textToNumber(text);
    }
    }
    return 0;
}

bool Value::toBool() const
{
    if (type() == Type::Boolean)
        return *get<bool>();
    return toDouble() != 0;
}

std::int16_t Value::toInt16() const { return Conversions::CInt(toDouble()); }
std::int32_t Value::toInt32() const { return Conversions::CLng(toDouble()); }

OleDate Value::toDate() const
{
    if (type() == Type::Date)
        return *get<OleDate>();
    if (type() == Type::Text) {
        const QString& text = *get<QString>();
        if (const auto date = OleDate::parse(text))
            return *date;
        if (Conversions::isNumericText(text))
            return OleDate{Conversions::textToNumber(text)};
        throw AppError(AppError::TypeMismatch);
    }
    if (type() == Type::Empty)
        return OleDate{0};
    return OleDate{toDouble()};
}

bool Value::equalsNumber(double number) const
{
    if (type() == Type::Text)
        return Conversions::textToNumber(*get<QString>()) == number;
    return toDouble() == number;
}
