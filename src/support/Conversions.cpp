#include "support/Conversions.h"
#include "platform/AppFacts.h"
#include "platform/Platform.h"
#include "platform/AppError.h"
#include <cmath>
#include <limits>

namespace {
bool isBlank(QChar c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Reads digits (blanks between them skipped) starting at pos; returns the digits read.
QString takeDigits(const QString& text, int& pos, bool skipBlanks, int base = 10)
{
    QString digits;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (skipBlanks && isBlank(c)) {
            ++pos;
            continue;
        }
        const int d = c.isDigit() ? c.digitValue()
                    : (base == 16 && c.toLower() >= 'a' && c.toLower() <= 'f') ? c.toLower().unicode() - 'a' + 10
                                                                                 : -1;
        if (d < 0 || d >= base)
            break;
        digits += c;
        ++pos;
    }
    return digits;
}

// &H and &O literals are 16-bit when they fit in four hex digits, else 32-bit, so &HFFFF is -1.
double radixValue(const QString& digits, int base)
{
    double value = 0;
    for (const QChar c : digits)
        value = value * base + (c.isDigit() ? c.digitValue() : c.toLower().unicode() - 'a' + 10);
    if (value <= 0xFFFF)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    if (value <= 0xFFFFFFFFu)
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return value;
}

void skipBlanks(const QString& text, int& pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
}

// The number starting at pos in the given decimal form; pos ends after it. Empty optional when none.
bool readNumber(const QString& text, int& pos, QChar decimal, bool blanksInside, const QString& group,
                double& out)
{
    skipBlanks(text, pos);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
        skipBlanks(text, pos);
    }
    if (pos + 1 < text.size() && text[pos] == '&') {
        const QChar kind = text[pos + 1].toUpper();
        const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
        if (base) {
            pos += 2;
            const QString digits = takeDigits(text, pos, false, base);
            if (digits.isEmpty())
                return false;
            out = (negative ? -1 : 1) * radixValue(digits, base);
            return true;
        }
    }
    QString mantissa;
    while (true) {
        mantissa += takeDigits(text, pos, blanksInside);
        if (!group.isEmpty() && !mantissa.isEmpty() && text.mid(pos, group.size()) == group
            && pos + group.size() < text.size() && text[pos + group.size()].isDigit()) {
            pos += group.size();
            continue;
        }
        break;
    }
    QString fraction;
    if (pos < text.size() && text[pos] == decimal) {
        const int save = pos++;
        fraction = takeDigits(text, pos, blanksInside);
        if (mantissa.isEmpty() && fraction.isEmpty())
            pos = save;
    }
    if (mantissa.isEmpty() && fraction.isEmpty())
        return false;
    QString exponent;
    if (pos < text.size() && (text[pos].toUpper() == 'E' || text[pos].toUpper() == 'D')) {
        int p = pos + 1;
        if (blanksInside)
            skipBlanks(text, p);
        QString sign;
        if (p < text.size() && (text[p] == '-' || text[p] == '+'))
            sign = text[p++];
        const QString digits = takeDigits(text, p, blanksInside);
        if (!digits.isEmpty()) {
            exponent = sign + digits;
            pos = p;
        }
    }
    QString literal = (mantissa.isEmpty() ? QString("0") : mantissa);
    if (!fraction.isEmpty())
        literal += '.' + fraction;
    if (!exponent.isEmpty())
        literal += 'e' + exponent;
    bool ok = false;
    double value = literal.toDouble(&ok);
    if (!ok) {
        // Too large for a double: the runtime reports an overflow; too small is simply 0.
        if (!std::isfinite(value))
            throw AppError(AppError::Overflow);
        value = 0;
    }
    out = negative ? -value : value;
    return true;
}

template <class T>
T checkedWhole(double value)
{
    const double r = Conversions::roundHalfEven(value);
    if (std::isnan(r) || r < static_cast<double>(std::numeric_limits<T>::min())
        || r > static_cast<double>(std::numeric_limits<T>::max()))
        throw AppError(AppError::Overflow);
    return static_cast<T>(r);
}
}

namespace Conversions {

double Val(const QString& text)
{
    int pos = 0;
    double value = 0;
    return readNumber(text, pos, '.', true, QString(), value) ? value : 0;
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::int16_t CInt(double value) { return checkedWhole<std::int16_t>(value); }
std::int32_t CLng(double value) { return checkedWhole<std::int32_t>(value); }

double textToNumber(const QString& text)
{
    const LocaleFacts& locale = Platform::facts().locale();
    const QChar decimal = locale.decimalSeparator.isEmpty() ? QChar('.') : locale.decimalSeparator[0];
    QString group = locale.groupSeparator;
    if (group == QString(decimal))
        group.clear();
    int pos = 0;
    double value = 0;
    if (!readNumber(text, pos, decimal, false, group, value))
        throw AppError(AppError::TypeMismatch);
    skipBlanks(text, pos);
    if (pos != text.size())
        throw AppError(AppError::TypeMismatch);
    return value;
}

bool isNumericText(const QString& text)
{
    try {
        textToNumber(text);
        return true;
    } catch (const AppError& e) {
        return e.number() == AppError::Overflow;
    }
}

std::int16_t CInt(const QString& text) { return CInt(textToNumber(text)); }
std::int32_t CLng(const QString& text) { return CLng(textToNumber(text)); }

QString numberText(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    QString text = QString::number(value, 'g', 15);
    const int e = text.indexOf('e');
    if (e >= 0) {
        // 1E+16, 1.5E-07: the runtime's exponent form
        const QString mantissa = text.left(e);
        const QChar sign = text[e + 1];
        QString digits = text.mid(e + 2);
        while (digits.size() < 2)
            digits.prepend('0');
        text = mantissa + 'E' + sign + digits;
    }
    const QString decimal = Platform::facts().locale().decimalSeparator;
    if (decimal != QLatin1String("."))
        text.replace('.', decimal);
    return text;
}

QString numberText(std::int64_t value) { return QString::number(value); }
}
