#include "ui/FormValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dbinst {
namespace {

TFormExtended ExtendedOfBytes(std::array<uint8_t, 10> bytes) {
  TFormExtended extended;
  extended.bytes = bytes;
  return extended;
}

TEST(FormValueTest, IntegerTakesTheSmallestTypeThatHoldsIt) {
  EXPECT_EQ(TFormValue::Integer(-128).type, EFormValueType::vaInt8);
  EXPECT_EQ(TFormValue::Integer(127).type, EFormValueType::vaInt8);
  EXPECT_EQ(TFormValue::Integer(128).type, EFormValueType::vaInt16);
  EXPECT_EQ(TFormValue::Integer(-32769).type, EFormValueType::vaInt32);
  EXPECT_EQ(TFormValue::Integer(2147483647).type, EFormValueType::vaInt32);
  EXPECT_EQ(TFormValue::Integer(2147483648).type, EFormValueType::vaInt64);
  EXPECT_EQ(TFormValue::Integer(INT64_MIN).type, EFormValueType::vaInt64);
}

TEST(FormValueTest, ExtendedBytesConvertToDouble) {
  EXPECT_EQ(ExtendedOfBytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x3F}).ToDouble(), 1.5);
  EXPECT_EQ(ExtendedOfBytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0xBF}).ToDouble(), -1.5);
  EXPECT_EQ(ExtendedOfBytes({}).ToDouble(), 0.0);
  EXPECT_TRUE(std::signbit(ExtendedOfBytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80}).ToDouble()));
}

TEST(FormValueTest, ExtendedBeyondDoubleBecomesInfinityOrZero) {
  // 1e4000 and 1e-4000 as Free Pascal writes them.
  const auto huge = ExtendedOfBytes({0x61, 0x8C, 0x55, 0xFE, 0x23, 0x83, 0xBA, 0xD1, 0xE6, 0x73});
  const auto tiny = ExtendedOfBytes({0xC0, 0x05, 0x38, 0x4F, 0x86, 0x73, 0x3D, 0x9C, 0x17, 0x0C});
  EXPECT_EQ(huge.ToDouble(), std::numeric_limits<double>::infinity());
  EXPECT_EQ(tiny.ToDouble(), 0.0);
}

TEST(FormValueTest, ExtendedInfinityNanAndDenormalsAreRecognised) {
  const auto infinity = ExtendedOfBytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0xFF});
  const auto nan = ExtendedOfBytes({0, 0, 0, 0, 0, 0, 0, 0xC0, 0xFF, 0x7F});
  const auto denormal = ExtendedOfBytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(infinity.ToDouble(), -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(nan.ToDouble()));
  EXPECT_EQ(denormal.ToDouble(), 0.0);
  EXPECT_EQ(TFormExtended::FromLongDouble(std::numeric_limits<long double>::infinity()),
            ExtendedOfBytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}));
  EXPECT_TRUE(std::isnan(TFormExtended::FromLongDouble(std::nanl("")).ToDouble()));
}

TEST(FormValueTest, ExtendedFromLongDoubleKeepsDoublesExactly) {
  for (double value : {1.5, -0.1068965, 1e300, 5e-324, 123456789.125, -2.0}) {
    EXPECT_EQ(TFormExtended::FromLongDouble(value).ToDouble(), value) << value;
  }
}

TEST(FormValueTest, TextOfEveryStringKindIsUtf8) {
  TFormValue wide = TFormValue::OfType(EFormValueType::vaWString);
  wide.wide = u"Łódź €";
  EXPECT_EQ(wide.Text(), "Łódź €");
  EXPECT_EQ(TFormValue::Bytes(EFormValueType::vaUTF8String, "gęś").Text(), "gęś");
  EXPECT_EQ(TFormValue::Bytes(EFormValueType::vaIdent, "alClient").Text(), "alClient");
  EXPECT_EQ(TFormValue::Bytes(EFormValueType::vaBinary, "PNG").Text(), "");
}

TEST(FormValueTest, NumberReadsIntegersFloatsAndCurrency) {
  TFormValue currency = TFormValue::OfType(EFormValueType::vaCurrency);
  currency.integer = 12345;
  TFormValue single = TFormValue::OfType(EFormValueType::vaSingle);
  single.single = 0.25f;
  EXPECT_EQ(currency.Number(), 1.2345);
  EXPECT_EQ(single.Number(), 0.25);
  EXPECT_EQ(TFormValue::Integer(-70000).Number(), -70000.0);
  EXPECT_EQ(TFormValue::OfType(EFormValueType::vaTrue).Number(), 0.0);
}

TEST(FormValueTest, FindLooksUpPropertiesWithoutRegardToCase) {
  TFormObject object;
  object.properties.push_back({"Font.Style", TFormValue::Integer(1)});
  ASSERT_NE(object.Find("font.style"), nullptr);
  EXPECT_EQ(object.Find("font.style")->integer, 1);
  EXPECT_EQ(object.Find("Font"), nullptr);
}

}  // namespace
}  // namespace dbinst
