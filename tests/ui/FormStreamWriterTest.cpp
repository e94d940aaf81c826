#include "ui/FormStreamWriter.h"

#include <gtest/gtest.h>

#include "tests/ui/FormBytes.h"
#include "ui/FormStreamReader.h"

namespace dbinst {
namespace {

using test::Bytes;
using test::Form;
using test::Prop;
using test::Short;

TFormObject ObjectWith(TFormValue value) {
  TFormObject object;
  object.className = "TA";
  object.objectName = "A";
  object.properties.push_back({"P", std::move(value)});
  return object;
}

std::string WriteError(const TFormObject& object) {
  try {
    WriteFormStream(object);
  } catch (const EFormStreamError& error) {
    return error.what();
  }
  return "no error";
}

TEST(FormStreamWriterTest, EveryValueKindWritesBackToTheBytesItWasReadFrom) {
  const std::string items =
      Bytes({14, 2, 7, 1}) + Prop("A", Bytes({13})) + '\0' + Bytes({1}) + '\0' + '\0';
  const std::string stream = Form(
      Prop("a",
           Bytes({1, 2, 0x80, 3, 0, 0x80, 4, 0, 0, 0, 0x80, 19, 0, 0, 0, 0, 0, 0, 0, 0x80, 0})) +
      Prop("b", Bytes({5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})) + Prop("c", Bytes({6, 1}) + "x") +
      Prop("d", Bytes({7, 2}) + "id") + Prop("e", Bytes({8})) + Prop("f", Bytes({9})) +
      Prop("g", Bytes({10, 2, 0, 0, 0, 0xFF, 0})) + Prop("h", Bytes({11, 1}) + "s" + '\0') +
      Prop("i", Bytes({12, 1, 0, 0, 0}) + "L") + Prop("j", Bytes({13})) + Prop("k", items) +
      // A signalling NaN must keep its bits.
      Prop("l", Bytes({15, 1, 0, 0x80, 0x7F})) + Prop("m", Bytes({16, 1, 2, 3, 4, 5, 6, 7, 0x80})) +
      Prop("n", Bytes({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x7F})) +
      Prop("o", Bytes({18, 1, 0, 0, 0, 0x00, 0xD8})) +
      Prop("p", Bytes({20, 2, 0, 0, 0}) + "\xC5\x81") +
      Prop("q", Bytes({21, 1, 0, 0, 0, 0, 0, 0xF8, 0x7F})));
  EXPECT_EQ(WriteFormStream(ReadFormStream(stream)), stream);
}

TEST(FormStreamWriterTest, FilerFlagsAreWrittenOnlyWhenSetWithTheSmallestChildPosition) {
  TFormObject root;
  root.className = "TRoot";
  TFormObject child;
  child.className = "TB";
  child.filerFlags = kFilerInline | kFilerChildPos;
  child.childPosition = 300;
  TFormObject plain;
  plain.className = "TC";
  root.children = {child, plain};
  const std::string expected = "TPF0" + Short("TRoot") + Short("") + '\0' +
                               Bytes({0xF6, 3, 0x2C, 0x01}) + Short("TB") + Short("") + '\0' +
                               '\0' + Short("TC") + Short("") + '\0' + '\0' + '\0';
  EXPECT_EQ(WriteFormStream(root), expected);
}

TEST(FormStreamWriterTest, ValuesTheFormatCannotHoldAreRefused) {
  EXPECT_NE(
      WriteError(ObjectWith(TFormValue::Bytes(EFormValueType::vaString, std::string(256, 'x'))))
          .find("string longer than 255 bytes"),
      std::string::npos);
  TFormValue narrow = TFormValue::Integer(200);
  narrow.type = EFormValueType::vaInt8;
  EXPECT_NE(WriteError(ObjectWith(narrow)).find("integer 200 does not fit"), std::string::npos);
  TFormValue set = TFormValue::OfType(EFormValueType::vaSet);
  set.elements = {"a", ""};
  EXPECT_NE(WriteError(ObjectWith(set)).find("empty set element"), std::string::npos);
  EXPECT_NE(
      WriteError(ObjectWith(TFormValue::OfType(EFormValueType::vaNull))).find("cannot be written"),
      std::string::npos);
  TFormValue collection = TFormValue::OfType(EFormValueType::vaCollection);
  collection.items.push_back({TFormValue::OfType(EFormValueType::vaTrue), {}});
  EXPECT_NE(WriteError(ObjectWith(collection)).find("order is not an integer"), std::string::npos);

  TFormObject unnamedProperty = ObjectWith(TFormValue::Integer(1));
  unnamedProperty.properties[0].name.clear();
  EXPECT_NE(WriteError(unnamedProperty).find("empty property name"), std::string::npos);
  TFormObject noClass = ObjectWith(TFormValue::Integer(1));
  noClass.className.clear();
  EXPECT_NE(WriteError(noClass).find("empty class name"), std::string::npos);
  TFormObject longClass = ObjectWith(TFormValue::Integer(1));
  longClass.className = std::string(240, 'T');
  EXPECT_NE(WriteError(longClass).find("class name longer than 239"), std::string::npos);
  longClass.className.pop_back();
  EXPECT_EQ(ReadFormStream(WriteFormStream(longClass)).className, longClass.className);
  TFormObject badFlags = ObjectWith(TFormValue::Integer(1));
  badFlags.filerFlags = 8;
  EXPECT_NE(WriteError(badFlags).find("unknown filer flags"), std::string::npos);
}

}  // namespace
}  // namespace dbinst
