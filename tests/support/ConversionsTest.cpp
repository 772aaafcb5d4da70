#include "fakes/ZelvoTest.h"
#include "support/ErrorOf.h"
#include "support/TestPrinters.h"
#include "platform/AppError.h"
#include "support/Conversions.h"
#include <cmath>

using namespace Conversions;

class ConversionsTest : public ZelvoTest {};

TEST_F(ConversionsTest, ValReadsTheLeadingNumberAndIgnoresBlanks)
{
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("-5"), -5);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val("1e9"), 1e9);
    EXPECT_EQ(Val("2.5E-1"), 0.25);
    EXPECT_EQ(Val("1D2"), 100);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(" 1 2 "), 12);
    EXPECT_EQ(Val("  1615 198th Street"), 1615198);
    EXPECT_EQ(Val("- 5"), -5);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("-.5"), -0.5);
    EXPECT_EQ(Val("5."), 5);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("1,000"), 1);  // only "." is a decimal point, and no group separators
    EXPECT_EQ(Val("3e"), 3);
    EXPECT_EQ(Val("3e+"), 3);
    EXPECT_EQ(Val("00"), 0);
    EXPECT_EQ(Val("\t4\n2"), 42);
}

TEST_F(ConversionsTest, ValReadsHexAndOctalAsTheirWholeNumberType)
{
    EXPECT_EQ(Val("&H1F"), 31);
    EXPECT_EQ(Val("&h1f"), 31);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&H1Fxyz"), 31);
    EXPECT_EQ(Val("&H"), 0);
    EXPECT_EQ(Val("&HG"), 0);
    // Four hex digits are a 16-bit literal, eight a 32-bit one.
    EXPECT_EQ(Val("&HFFFF"), -1);
    EXPECT_EQ(Val("&H8000"), -32768);
    EXPECT_EQ(Val("&H10000"), 65536);
    EXPECT_EQ(Val("&HFFFFFFFF"), -1);
}

TEST_F(ConversionsTest, ValKeepsTheDecimalPointUnderAnotherLocale)
{
    facts->localeFacts.decimalSeparator = ",";
    facts->localeFacts.groupSeparator = ".";
    EXPECT_EQ(Val("1.5"), 1.5);
    EXPECT_EQ(Val("1,5"), 1);
}

TEST_F(ConversionsTest, ValOverflowsOnlyWhenTooLarge)
{
    EXPECT_EQ(errorOf([] { Val("1e400"); }), AppError::Overflow);
    EXPECT_EQ(Val("1e-400"), 0);
    EXPECT_EQ(Val("-1e-400"), 0);
}

TEST_F(ConversionsTest, RoundHalfEven)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
    EXPECT_EQ(roundHalfEven(-0.4), 0);
    EXPECT_EQ(roundHalfEven(-0.6), -1);
}

TEST_F(ConversionsTest, CIntAndCLngRoundHalfToEven)
{
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(3.5), 4);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-1.5), -2);
    EXPECT_EQ(CLng(2.5), 2);
    EXPECT_EQ(CLng(100000.5), 100000);
    EXPECT_EQ(CLng(100001.5), 100002);
    EXPECT_EQ(CLng(-7.5), -8);
}

TEST_F(ConversionsTest, CIntOverflowsAtTheExactLimits)
{
    EXPECT_EQ(CInt(32767.0), 32767);
    EXPECT_EQ(CInt(32767.4), 32767);
    EXPECT_EQ(errorOf([] { CInt(32767.5); }), AppError::Overflow);  // rounds to 32768
    EXPECT_EQ(errorOf([] { CInt(32768.0); }), AppError::Overflow);
    EXPECT_EQ(CInt(-32768.0), -32768);
    EXPECT_EQ(CInt(-32768.5), -32768);  // rounds to the even -32768
    EXPECT_EQ(errorOf([] { CInt(-32768.6); }), AppError::Overflow);
    EXPECT_EQ(errorOf([] { CInt(-32769.0); }), AppError::Overflow);
    EXPECT_EQ(errorOf([] { CInt(std::nan("")); }), AppError::Overflow);
}

TEST_F(ConversionsTest, CLngOverflowsAtTheExactLimits)
{
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(errorOf([] { CLng(2147483647.5); }), AppError::Overflow);
    EXPECT_EQ(CLng(-2147483648.5), INT32_MIN);
    EXPECT_EQ(errorOf([] { CLng(-2147483649.0); }), AppError::Overflow);
    EXPECT_EQ(errorOf([] { CLng(1e300); }), AppError::Overflow);
}

TEST_F(ConversionsTest, TextThatIsANumberAsAWhole)
{
    EXPECT_EQ(textToNumber(" 5 "), 5);  // as the settings file writes numbers
    EXPECT_EQ(textToNumber("-1 "), -1);
    EXPECT_EQ(textToNumber("2.5"), 2.5);
    EXPECT_EQ(textToNumber(".5"), 0.5);
    EXPECT_EQ(textToNumber("1e3"), 1000);
    EXPECT_EQ(textToNumber("&H1F"), 31);
    EXPECT_EQ(textToNumber("1,000"), 1000);  // the locale's group separator
    EXPECT_EQ(textToNumber("- 3"), -3);
    EXPECT_EQ(CInt(" 5 "), 5);
    EXPECT_EQ(CInt("2.5"), 2);
    EXPECT_EQ(CLng(" 900"), 900);
}

TEST_F(ConversionsTest, TextThatIsNoNumberIsATypeMismatch)
{
    for (const QString& text : {QString(), QString("   "), QString("abc"), QString("12abc"), QString("1 2"),
                                QString("."), QString("-"), QString("1e"), QString("&H"), QString("1.2.3"),
                                QString("inf"), QString("NaN")}) {
        EXPECT_EQ(errorOf([&] { textToNumber(text); }), AppError::TypeMismatch) << text.toStdString();
        EXPECT_FALSE(isNumericText(text)) << text.toStdString();
    }
    EXPECT_EQ(errorOf([] { CInt("x"); }), AppError::TypeMismatch);
    EXPECT_EQ(errorOf([] { CLng(""); }), AppError::TypeMismatch);
    EXPECT_TRUE(isNumericText(" 5 "));
}

TEST_F(ConversionsTest, TextOutOfRangeOverflows)
{
    EXPECT_EQ(errorOf([] { CInt("40000"); }), AppError::Overflow);
    EXPECT_EQ(errorOf([] { CInt("32767.5"); }), AppError::Overflow);
    EXPECT_EQ(errorOf([] { textToNumber("1e999"); }), AppError::Overflow);
    EXPECT_TRUE(isNumericText("1e999"));
}

TEST_F(ConversionsTest, TextToNumberFollowsTheLocale)
{
    facts->localeFacts.decimalSeparator = ",";
    facts->localeFacts.groupSeparator = ".";
    EXPECT_EQ(textToNumber(" 1,5 "), 1.5);
    EXPECT_EQ(textToNumber("1.000"), 1000);
    EXPECT_EQ(CInt("2,5"), 2);
}

TEST_F(ConversionsTest, NumberTextInTheLocaleForm)
{
    EXPECT_EQ(numberText(0.0), "0");
    EXPECT_EQ(numberText(-0.0), "0");
    EXPECT_EQ(numberText(5.0), "5");
    EXPECT_EQ(numberText(-1.5), "-1.5");
    EXPECT_EQ(numberText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberText(1e20), "1E+20");
    EXPECT_EQ(numberText(std::int64_t{-32768}), "-32768");
    facts->localeFacts.decimalSeparator = ",";
    EXPECT_EQ(numberText(2.25), "2,25");
}
