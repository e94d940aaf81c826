#include "ui/FormStreamReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/ui/FormBytes.h"
#include "ui/FormText.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::Form;
using test::Prop;
using test::Short;

const fs::path kForms = fs::path(DBINST_TEST_FIXTURES) / "forms";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

// The offset of the error the stream gives; fails the test when it reads.
size_t ErrorOffset(const std::string& stream) {
  try {
    ReadFormStream(stream);
  } catch (const EFormStreamError& error) {
    return error.Offset();
  }
  ADD_FAILURE() << "stream was read";
  return SIZE_MAX;
}

std::string ErrorText(const std::string& stream) {
  try {
    ReadFormStream(stream);
  } catch (const EFormStreamError& error) {
    return error.what();
  }
  return "no error";
}

TEST(FormStreamReaderTest, ReadsTheKindsTextFormsCannotExpress) {
  const std::string stream = Form(Prop("S", Bytes({15, 0, 0, 0x80, 0x3F})) +
                                  Prop("D", Bytes({21, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F})) +
                                  Prop("Date", Bytes({17, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F})) +
                                  Prop("Cur", Bytes({16, 0x39, 0x30, 0, 0, 0, 0, 0, 0})) +
                                  Prop("U", Bytes({20, 3, 0, 0, 0}) + "g\xC4\x99") +
                                  Prop("L", Bytes({12, 1, 0, 0, 0}) + "x") +
                                  Prop("I64", Bytes({19, 1, 0, 0, 0, 0, 0, 0, 0})));
  const TFormObject form = ReadFormStream(stream);
  ASSERT_EQ(form.properties.size(), 7u);
  EXPECT_EQ(form.Find("S")->single, 1.0f);
  EXPECT_EQ(form.Find("D")->real, 1.5);
  EXPECT_EQ(form.Find("Date")->type, EFormValueType::vaDate);
  EXPECT_EQ(form.Find("Date")->Number(), 1.0);
  EXPECT_EQ(form.Find("Cur")->Number(), 1.2345);
  EXPECT_EQ(form.Find("U")->Text(), "gę");
  EXPECT_EQ(form.Find("L")->Text(), "x");
  EXPECT_EQ(form.Find("I64")->type, EFormValueType::vaInt64);
  EXPECT_EQ(form.Find("I64")->integer, 1);
}

TEST(FormStreamReaderTest, ReadsCollectionItemsWithAndWithoutOrder) {
  const std::string items =
      Bytes({14, 3, 0x10, 0x01, 1}) + Prop("A", Bytes({9})) + '\0' + Bytes({1}) + '\0' + '\0';
  const TFormObject form = ReadFormStream(Form(Prop("Items", items)));
  const TFormValue& value = *form.Find("Items");
  ASSERT_EQ(value.items.size(), 2u);
  ASSERT_TRUE(value.items[0].order.has_value());
  EXPECT_EQ(value.items[0].order->type, EFormValueType::vaInt16);
  EXPECT_EQ(value.items[0].order->integer, 0x110);
  EXPECT_EQ(value.items[0].properties.at(0).value.type, EFormValueType::vaTrue);
  EXPECT_FALSE(value.items[1].order.has_value());
}

TEST(FormStreamReaderTest, ReadsFilerFlagsAndChildPositions) {
  const std::string child = Bytes({0xF3, 3, 0x00, 0x80}) + Short("TB") + Short("B") + '\0' + '\0';
  const std::string plainFlags = Bytes({0xF0}) + Short("TC") + Short("") + '\0' + '\0';
  const TFormObject form = ReadFormStream(Form("", child + plainFlags));
  ASSERT_EQ(form.children.size(), 2u);
  EXPECT_EQ(form.children[0].filerFlags, kFilerInherited | kFilerChildPos);
  EXPECT_EQ(form.children[0].childPosition, -32768);
  EXPECT_EQ(form.children[0].objectName, "B");
  EXPECT_EQ(form.children[1].filerFlags, 0);
  EXPECT_EQ(form.children[1].className, "TC");
}

TEST(FormStreamReaderTest, EveryTruncationOfACompiledFormIsACleanError) {
  const std::string stream = CompileFormText(ReadFile(kForms / "values.txt"));
  ASSERT_NO_THROW(ReadFormStream(stream));
  for (size_t length = 0; length < stream.size(); ++length) {
    EXPECT_THROW(ReadFormStream(stream.substr(0, length)), EFormStreamError) << length;
  }
}

TEST(FormStreamReaderTest, MalformedHeadersNameTheFaultAndItsOffset) {
  EXPECT_EQ(ErrorOffset("TPF1" + Short("TA") + Short("A") + '\0' + '\0'), 0u);
  EXPECT_NE(ErrorText("TPF1").find("signature"), std::string::npos);
  EXPECT_EQ(ErrorOffset("TPF0" + Short("") + Short("A") + '\0' + '\0'), 4u);
  EXPECT_EQ(ErrorOffset("TPF0" + Bytes({0xF8}) + Short("TA") + Short("") + '\0' + '\0'), 4u);
  EXPECT_EQ(ErrorOffset("TPF0" + Bytes({0xF2, 6, 0}) + Short("TA") + Short("") + '\0' + '\0'), 5u);
  EXPECT_EQ(ErrorOffset(Form("") + "x"), 11u);
  EXPECT_NE(ErrorText(Form("") + "xy").find("2 bytes after the end"), std::string::npos);
}

TEST(FormStreamReaderTest, MalformedValuesNameTheFaultAndItsOffset) {
  // Value types start at offset 11 with the one-letter property name.
  EXPECT_EQ(ErrorOffset(Form(Prop("P", Bytes({22})))), 11u);
  EXPECT_NE(ErrorText(Form(Prop("P", Bytes({22})))).find("unknown value type 22"),
            std::string::npos);
  EXPECT_NE(ErrorText(Form(Prop("P", Bytes({0})))).find("end-of-list marker"), std::string::npos);
  EXPECT_NE(ErrorText(Form(Prop("P", Bytes({14, 9, 0})))).find("does not start with a list"),
            std::string::npos);
  EXPECT_NE(ErrorText(Form(Prop("P", Bytes({12, 0xFF, 0xFF, 0xFF, 0xFF}) + "abc")))
                .find("needs 4294967295 bytes, 5 remain"),
            std::string::npos);
  EXPECT_NE(ErrorText(Form(Prop("P", Bytes({18, 0xFF, 0xFF, 0xFF, 0x7F})))).find("wide string"),
            std::string::npos);
  EXPECT_EQ(ErrorOffset(Form(Prop("P", Bytes({10, 9, 0, 0, 0}) + "short"))), 16u);
}

TEST(FormStreamReaderTest, NestingIsCappedForListsAndObjects) {
  auto nestedLists = [](int levels) {
    return Form(Prop("P", std::string(levels, '\x01') + std::string(levels, '\0')));
  };
  // The property's value sits one level below the object.
  EXPECT_NO_THROW(ReadFormStream(nestedLists(kFormStreamMaxDepth)));
  EXPECT_NE(ErrorText(nestedLists(kFormStreamMaxDepth + 1)).find("nesting deeper"),
            std::string::npos);

  std::string objects = "TPF0";
  for (int i = 0; i <= kFormStreamMaxDepth + 1; ++i) objects += Short("TA") + Short("") + '\0';
  objects += std::string(kFormStreamMaxDepth + 2, '\0');
  EXPECT_NE(ErrorText(objects).find("nesting deeper"), std::string::npos);
  EXPECT_NE(ErrorText(std::string("TPF0") + std::string(100000, '\x01')).find("nesting deeper"),
            std::string::npos);
}

TEST(FormStreamReaderTest, AStreamOfTooManyValuesIsRefused) {
  std::string set = Bytes({11});
  for (size_t i = 0; i <= kFormStreamMaxNodes; ++i) set += Short("a");
  set += '\0';
  EXPECT_NE(ErrorText(Form(Prop("P", set))).find("more than 200000 values"), std::string::npos);
}

TEST(FormStreamReaderTest, ABinaryBlockReadsAsANestedForm) {
  const TFormObject library = ReadFormStream(CompileFormText(ReadFile(kForms / "nested.txt")));
  const TFormObject style = ReadNestedFormStream(*library.Find("Resource.Data"));
  EXPECT_EQ(style.className, "TvgRectangle");
  EXPECT_EQ(style.objectName, "backgroundmover");
  EXPECT_EQ(style.Find("Fill.Color")->Text(), "#FFE0E0E0");
  ASSERT_EQ(style.children.size(), 1u);
  EXPECT_EQ(style.children[0].objectName, "Inner");

  EXPECT_THROW(ReadNestedFormStream(TFormValue::Bytes(EFormValueType::vaString, "TPF0")),
               EFormStreamError);
  EXPECT_THROW(ReadNestedFormStream(TFormValue::Bytes(EFormValueType::vaBinary, "\x89PNG")),
               EFormStreamError);
}

TEST(FormStreamReaderTest, EveryKeptRegressionInputIsACleanError) {
  size_t count = 0;
  for (const auto& entry : fs::directory_iterator(kForms / "regressions")) {
    if (entry.path().extension() != ".bin") continue;
    SCOPED_TRACE(entry.path().filename().string());
    EXPECT_THROW(ReadFormStream(ReadFile(entry.path())), EFormStreamError);
    ++count;
  }
  EXPECT_GT(count, 0u);
}

}  // namespace
}  // namespace dbinst
