#pragma once
#include <QString>
#include <cstdint>

// The numeric rules the timer fields and the settings file rely on.
namespace Conversions {
// The leading number of the text: blanks ignored, "." as decimal point, 0 when there is none.
double Val(const QString& text);
// Nearest integer, halves to the even neighbour.
double roundHalfEven(double value);
// Whole numbers: round half to even; out of range throws AppError 6.
std::int16_t CInt(double value);
std::int32_t CLng(double value);
// Text that must be a number as a whole (surrounding blanks allowed), in the locale's form;
// anything else throws AppError 13.
double textToNumber(const QString& text);
bool isNumericText(const QString& text);
std::int16_t CInt(const QString& text);
std::int32_t CLng(const QString& text);
// A number as text, in the locale's decimal form, without the display blanks.
QString numberText(double value);
QString numberText(std::int64_t value);
}
