#include "platform/JsonWriter.h"

#include <gtest/gtest.h>

#include <limits>

namespace dbinst {
namespace {

TEST(JsonWriterTest, NestedObjectsAndArraysAreSeparatedAsTheAnswersShowThem) {
  JsonWriter json;
  json.BeginObject().Key("windows").BeginObject().Key("Form").BeginObject();
  json.Key("visible").Bool(true).Key("opacity").Number(0.01f).Key("value").Number(40.0f);
  json.Key("items").BeginArray().String("a").Integer(-3).BeginObject().EndObject().EndArray();
  json.EndObject().EndObject().EndObject();
  EXPECT_EQ(json.Text(),
            "{\"windows\": {\"Form\": {\"visible\": true, \"opacity\": 0.01, \"value\": 40, "
            "\"items\": [\"a\", -3, {}]}}}");
}

TEST(JsonWriterTest, TextsAreEscapedAndBrokenUtf8BecomesAReplacementCharacter) {
  EXPECT_EQ(JsonQuoted("Czy na pewno chcesz zakończyć?"), "\"Czy na pewno chcesz zakończyć?\"");
  EXPECT_EQ(JsonQuoted("a\"b\\c\nd\te\x01"), "\"a\\\"b\\\\c\\nd\\te\\u0001\"");
  EXPECT_EQ(JsonQuoted("x\xff"
                       "y\xc3"),
            "\"x\\ufffdy\\ufffd\"");
  // An overlong encoding of "/" and a UTF-16 surrogate are not UTF-8 either.
  EXPECT_EQ(JsonQuoted("\xc0\xaf"), "\"\\ufffd\\ufffd\"");
  EXPECT_EQ(JsonQuoted("\xed\xa0\x80"), "\"\\ufffd\\ufffd\\ufffd\"");
}

TEST(JsonWriterTest, NumbersThatJsonCannotHoldAreNull) {
  JsonWriter json;
  json.BeginArray().Number(std::numeric_limits<float>::quiet_NaN());
  json.Number(std::numeric_limits<float>::infinity()).Number(1.5e-7f).EndArray();
  EXPECT_EQ(json.Text(), "[null, null, 1.5e-07]");
}

}  // namespace
}  // namespace dbinst
