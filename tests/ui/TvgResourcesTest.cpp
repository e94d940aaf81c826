#include "ui/TvgResources.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "ui/FormLoader.h"
#include "ui/FormText.h"

namespace dbinst {
namespace {

TFormProperty StyleBlock(std::string_view styleText, std::string name = "Resource") {
  return {std::move(name), TFormValue::Bytes(EFormValueType::vaBinary, CompileFormText(styleText))};
}

constexpr std::string_view kTwoStyles = R"(object Styles: TvgStyleBook
  object ButtonStyle: TvgStyle
    Fill.Color = '#FF102030'
    Stroke.Color = 'no colour'
    CornerRadius = 3.5
    Size = 12
  end
  object backgroundmover: TvgStyle
    Fill.Color = '#80FFFFFF'
  end
end
)";

std::string LoadError(const TFormProperty& property) {
  const std::map<std::string, TNotifyEvent> handlers;
  TFormLoadContext context(handlers);
  TvgResources library;
  library.SetName("vgResources1");
  try {
    library.LoadProperty(property, context);
  } catch (const std::exception& error) {
    return error.what();
  }
  return "no error";
}

TEST(TvgResourcesTest, StylesComeFromTheNestedFormStreamByNameWithoutRegardToCase) {
  const std::map<std::string, TNotifyEvent> handlers;
  TFormLoadContext context(handlers);
  TvgResources library;
  EXPECT_TRUE(library.LoadProperty(StyleBlock(kTwoStyles), context));
  const TvgStyle* button = library.Style("buttonstyle");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(library.Style("BACKGROUNDMOVER")->Color("Fill.Color", 0), 0x80FFFFFFu);
  EXPECT_EQ(button->Color("fill.color", 0), 0xFF102030u);
  EXPECT_FLOAT_EQ(button->Number("CornerRadius", 0), 3.5f);
  EXPECT_FLOAT_EQ(button->Number("Size", 0), 12.0f);
  EXPECT_TRUE(button->Has("Size"));
  EXPECT_FALSE(button->Has("Text.Color"));
  EXPECT_EQ(library.Style("checkboxstyle"), nullptr);
}

TEST(TvgResourcesTest, MissingOrMalformedParametersFallBack) {
  const std::map<std::string, TNotifyEvent> handlers;
  TFormLoadContext context(handlers);
  TvgResources library;
  library.LoadProperty(StyleBlock(kTwoStyles, "Resource.Data"), context);
  const TvgStyle* button = library.Style("ButtonStyle");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Color("Stroke.Color", 0xFF445566), 0xFF445566u);
  EXPECT_EQ(button->Color("Text.Color", 0xFF112233), 0xFF112233u);
  EXPECT_FLOAT_EQ(button->Number("Fill.Color", 7), 7.0f);
  EXPECT_FLOAT_EQ(button->Number("Spacing", 6), 6.0f);
}

TEST(TvgResourcesTest, BrokenLibrariesAreLoadErrorsNamingTheLibrary) {
  EXPECT_NE(LoadError({"Resource", TFormValue::Bytes(EFormValueType::vaBinary, "TPF0\x05junk")})
                .find("style library vgResources1"),
            std::string::npos);
  EXPECT_NE(LoadError({"Resource", TFormValue::Bytes(EFormValueType::vaString, "text")})
                .find("binary block"),
            std::string::npos);
  EXPECT_NE(LoadError(StyleBlock("object S: TvgStyleBook\n object a: TvgRectangle\n end\nend\n"))
                .find("is not a TvgStyle"),
            std::string::npos);
  EXPECT_NE(LoadError(StyleBlock("object S: TvgStyleBook\n object a: TvgStyle\n end\n"
                                 " object A: TvgStyle\n end\nend\n"))
                .find("named twice"),
            std::string::npos);
}

TEST(TvgResourcesTest, TheFixtureLibraryOfRectanglesIsRefused) {
  std::ifstream file(std::string(DBINST_TEST_FIXTURES) + "/forms/nested.txt");
  std::stringstream text;
  text << file.rdbuf();
  const TFormObject stored = ParseFormText(text.str());
  ASSERT_FALSE(stored.properties.empty());
  EXPECT_NE(LoadError(stored.properties.front()).find("is not a TvgStyle"), std::string::npos);
}

}  // namespace
}  // namespace dbinst
