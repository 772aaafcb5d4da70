#include "fakes/ZelvoTest.h"
#include "support/ErrorOf.h"
#include "support/TestPrinters.h"
#include "platform/AppError.h"
#include "support/Value.h"

namespace {
const OleDate kMoment = OleDate::fromParts(QDate(2026, 12, 7), QTime(22, 7, 5));
}

class ValueTest : public ZelvoTest {};

TEST_F(ValueTest, KeepsTheTypeItWasGiven)
{
    EXPECT_EQ(Value().type(), Value::Type::Empty);
    EXPECT_EQ(Value(std::int16_t{5}).type(), Value::Type::Integer);
    EXPECT_EQ(Value(std::int32_t{5}).type(), Value::Type::Long);
    EXPECT_EQ(Value(5.0).type(), Value::Type::Double);
    EXPECT_EQ(Value(kMoment).type(), Value::Type::Date);
    EXPECT_EQ(Value("5").type(), Value::Type::Text);
    EXPECT_EQ(Value(true).type(), Value::Type::Boolean);
    EXPECT_EQ(Value::whole(32767).type(), Value::Type::Integer);
    EXPECT_EQ(Value::whole(-32768).type(), Value::Type::Integer);
    EXPECT_EQ(Value::whole(32768).type(), Value::Type::Long);
    EXPECT_EQ(Value::whole(INT64_C(3000000000)).type(), Value::Type::Double);
    EXPECT_TRUE(Value(std::int16_t{0}).isNumber());
    EXPECT_FALSE(Value("1").isNumber());
}

TEST_F(ValueTest, DisplayFormPutsBlanksAroundNumbers)
{
    EXPECT_EQ(Value(std::int16_t{5}).displayForm(), " 5 ");
    EXPECT_EQ(Value(std::int16_t{-1}).displayForm(), "-1 ");
    EXPECT_EQ(Value(std::int16_t{0}).displayForm(), " 0 ");
    EXPECT_EQ(Value(std::int32_t{100000}).displayForm(), " 100000 ");
    EXPECT_EQ(Value(2.5).displayForm(), " 2.5 ");
    EXPECT_EQ(Value(-0.25).displayForm(), "-0.25 ");
    EXPECT_EQ(Value("900").displayForm(), "900");
    EXPECT_EQ(Value("a, b").displayForm(), "a, b");
    EXPECT_EQ(Value().displayForm(), "");
    EXPECT_EQ(Value(kMoment).displayForm(), "12/7/2026 10:07:05 PM");
    EXPECT_EQ(Value(OleDate::fromParts(QDate(2026, 12, 7), QTime(0, 0))).displayForm(), "12/7/2026");
    facts->localeFacts.decimalSeparator = ",";
    EXPECT_EQ(Value(2.5).displayForm(), " 2,5 ");
}

TEST_F(ValueTest, TextForms)
{
    EXPECT_EQ(Value().toText(), "");
    EXPECT_EQ(Value(std::int16_t{-1}).toText(), "-1");
    EXPECT_EQ(Value(1.5).toText(), "1.5");
    EXPECT_EQ(Value(true).toText(), "True");
    EXPECT_EQ(Value(false).toText(), "False");
    EXPECT_EQ(Value(" x ").toText(), " x ");
    EXPECT_EQ(Value(kMoment).toText(), "12/7/2026 10:07:05 PM");
}

TEST_F(ValueTest, ToBool)
{
    EXPECT_TRUE(Value(true).toBool());
    EXPECT_FALSE(Value(false).toBool());
    EXPECT_FALSE(Value().toBool());
    EXPECT_TRUE(Value(std::int16_t{-1}).toBool());
    EXPECT_FALSE(Value(std::int16_t{0}).toBool());
    EXPECT_TRUE(Value(0.5).toBool());
    EXPECT_TRUE(Value("-1 ").toBool());  // a stored boolean read back from the file
    EXPECT_FALSE(Value(" 0 ").toBool());
    EXPECT_TRUE(Value("True").toBool());
    EXPECT_TRUE(Value(" TRUE ").toBool());
    EXPECT_FALSE(Value("false").toBool());
    EXPECT_TRUE(Value(kMoment).toBool());
    EXPECT_FALSE(Value(OleDate{0}).toBool());
    EXPECT_EQ(errorOf([] { Value("yes").toBool(); }), AppError::TypeMismatch);
    EXPECT_EQ(errorOf([] { Value("").toBool(); }), AppError::TypeMismatch);
}

TEST_F(ValueTest, ToDoubleAndWholeNumbers)
{
    EXPECT_EQ(Value().toDouble(), 0);
    EXPECT_EQ(Value(true).toDouble(), -1);
    EXPECT_EQ(Value(" 5 ").toDouble(), 5);
    EXPECT_EQ(Value("2.5").toInt16(), 2);
    EXPECT_EQ(Value("3.5").toInt32(), 4);
    EXPECT_EQ(Value(kMoment).toDouble(), kMoment.days);
    EXPECT_EQ(Value(true).toInt16(), -1);
    EXPECT_EQ(errorOf([] { Value("5 apples").toDouble(); }), AppError::TypeMismatch);
    EXPECT_EQ(errorOf([] { Value("").toDouble(); }), AppError::TypeMismatch);
    EXPECT_EQ(errorOf([] { Value("x").toInt16(); }), AppError::TypeMismatch);
    EXPECT_EQ(errorOf([] { Value(" 40000 ").toInt16(); }), AppError::Overflow);
    EXPECT_EQ(Value(" 40000 ").toInt32(), 40000);
    EXPECT_EQ(errorOf([] { Value(3e9).toInt32(); }), AppError::Overflow);
}

TEST_F(ValueTest, ToDate)
{
    EXPECT_EQ(Value(kMoment).toDate(), kMoment);
    EXPECT_EQ(Value("12/7/2026 10:07:05 PM").toDate(), kMoment);
    EXPECT_EQ(Value(" 12/7/2026 10:07:05 PM ").toDate(), kMoment);
    EXPECT_EQ(Value("2026-12-07 22:07:05").toDate(), kMoment);
    EXPECT_EQ(Value(kMoment.generalForm()).toDate(), kMoment);
    EXPECT_EQ(Value().toDate(), OleDate{0});
    EXPECT_EQ(Value(36526.5).toDate(), OleDate{36526.5});
    EXPECT_EQ(Value(true).toDate(), OleDate{-1});
    EXPECT_EQ(errorOf([] { Value("not a date").toDate(); }), AppError::TypeMismatch);
    EXPECT_EQ(errorOf([] { Value("").toDate(); }), AppError::TypeMismatch);
}

TEST_F(ValueTest, EqualsNumberReadsTextAsANumber)
{
    EXPECT_TRUE(Value().equalsNumber(0));
    EXPECT_TRUE(Value(false).equalsNumber(0));
    EXPECT_TRUE(Value(true).equalsNumber(-1));
    EXPECT_TRUE(Value(std::int16_t{0}).equalsNumber(0));
    EXPECT_TRUE(Value(" 0 ").equalsNumber(0));
    EXPECT_TRUE(Value("0.0").equalsNumber(0));
    EXPECT_FALSE(Value(" 5 ").equalsNumber(0));
    EXPECT_EQ(errorOf([] { Value("abc").equalsNumber(0); }), AppError::TypeMismatch);
    EXPECT_EQ(errorOf([] { Value("").equalsNumber(0); }), AppError::TypeMismatch);
}
