#include "ui/FormIncludes.h"

#include <gtest/gtest.h>

#include <map>

#include "ui/FormStreamReader.h"
#include "ui/FormText.h"

namespace dbinst {
namespace {

class FormIncludesTest : public ::testing::Test {
 protected:
  std::string Expand(std::string_view text) {
    return ExpandFormIncludes(text, [this](std::string_view name) -> std::optional<std::string> {
      ++reads_;
      const auto found = files_.find(std::string(name));
      if (found == files_.end()) return std::nullopt;
      return found->second;
    });
  }

  TFormObject CompiledExpansion(std::string_view text) {
    return ReadFormStream(CompileFormText(Expand(text)));
  }

  std::map<std::string, std::string> files_;
  int reads_ = 0;
};

TEST_F(FormIncludesTest, APictureBecomesAHexBlockOfTheFileBytes) {
  std::string picture("\x89PNG\r\n\x1a\n", 8);
  for (int i = 0; i < 300; ++i) picture += static_cast<char>(i);
  files_["pictures/a.png"] = picture;
  const TFormObject form =
      CompiledExpansion("object I: TvgImage\n  Bitmap.Picture = {picture pictures/a.png}\nend\n");
  const TFormValue* value = form.Find("Bitmap.Picture");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->type, EFormValueType::vaBinary);
  EXPECT_EQ(value->bytes, picture);
}

TEST_F(FormIncludesTest, AnEmptyPictureIsAnEmptyBlock) {
  files_["empty.png"] = "";
  EXPECT_EQ(Expand("object I: TvgImage\n  P = {picture empty.png}\nend\n"),
            "object I: TvgImage\n  P = {}\nend\n");
}

TEST_F(FormIncludesTest, AFormBecomesItsCompiledStreamWithItsOwnIncludes) {
  files_["styles/lib.txt"] = "object Lib: TvgStyleBook\n  P = {picture dot.png}\nend\n";
  files_["dot.png"] = "dot";
  const TFormObject form =
      CompiledExpansion("object R: TvgResources\n  Resource = {form styles/lib.txt}\nend\n");
  const TFormObject nested = ReadNestedFormStream(*form.Find("Resource"));
  EXPECT_EQ(nested.objectName, "Lib");
  EXPECT_EQ(nested.Find("P")->bytes, "dot");
}

TEST_F(FormIncludesTest, OrdinaryBlocksAndQuotedBracesStayAsWritten) {
  const std::string text =
      "object A: TA\n  Data = {0A0B\n    0C}\n  Text = 'see {picture x.png} here'\n"
      "  Quote = 'it''s {form y.txt}'\nend\n";
  EXPECT_EQ(Expand(text), text);
  EXPECT_EQ(reads_, 0);
}

TEST_F(FormIncludesTest, AMissingFileIsReportedWithItsLine) {
  try {
    Expand("object A: TA\n\n  P = {picture gone.png}\nend\n");
    FAIL() << "no error";
  } catch (const EFormTextError& error) {
    EXPECT_EQ(error.Line(), 3);
    EXPECT_EQ(error.Column(), 7);
    EXPECT_NE(std::string(error.what()).find("gone.png"), std::string::npos);
  }
}

TEST_F(FormIncludesTest, NamesThatLeaveTheIncludeFoldersAreRefusedUnread) {
  for (const char* name :
       {"../secret.png", "a/../../b.png", "/etc/passwd", "C:\\x.png", "a\\..\\b"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(Expand(std::string("object A: TA\n  P = {picture ") + name + "}\nend\n"),
                 EFormTextError);
  }
  EXPECT_EQ(reads_, 0);
}

TEST_F(FormIncludesTest, AFormThatIncludesItselfStopsWithAnError) {
  files_["loop.txt"] = "object L: TL\n  R = {form loop.txt}\nend\n";
  try {
    Expand("object A: TA\n  R = {form loop.txt}\nend\n");
    FAIL() << "no error";
  } catch (const EFormTextError& error) {
    EXPECT_NE(std::string(error.what()).find("too deep"), std::string::npos) << error.what();
  }
  EXPECT_EQ(reads_, kFormIncludeMaxDepth - 1);
}

TEST_F(FormIncludesTest, AFaultInAnIncludedFormNamesThatForm) {
  files_["bad.txt"] = "object B: TB\n  P = 'open\nend\n";
  try {
    Expand("object A: TA\n  R = {form bad.txt}\nend\n");
    FAIL() << "no error";
  } catch (const EFormTextError& error) {
    EXPECT_EQ(error.Line(), 2);
    EXPECT_NE(std::string(error.what()).find("bad.txt: line 2"), std::string::npos) << error.what();
  }
}

TEST_F(FormIncludesTest, AnUnclosedBlockIsAnError) {
  EXPECT_THROW(Expand("object A: TA\n  P = {picture a.png\nend\n"), EFormTextError);
}

}  // namespace
}  // namespace dbinst
