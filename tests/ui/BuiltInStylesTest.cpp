#include "ui/BuiltInStyles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "tests/ui/SceneText.h"
#include "ui/FormText.h"
#include "ui/Painter.h"
#include "ui/TvgControls.h"
#include "ui/TvgResources.h"
#include "ui/TvgScene.h"

namespace dbinst {
namespace {

TEST(BuiltInStylesTest, EveryStyleTheWindowsNameIsBuiltIn) {
  for (const char* name :
       {"backgroundmover", "backgroundbottombar", "cpgroupbox", "tabcontrolbrightstyle",
        "buttonstyle", "radiobuttonstyle", "checkboxstyle", "treeviewstyle", "progressbarstyle",
        "groupboxstyle", "tabitemstyle", "backgroundstyle", "tabcontrolstyle"}) {
    EXPECT_NE(BuiltInStyle(name), nullptr) << name;
  }
  EXPECT_EQ(BuiltInStyle("ButtonStyle"), BuiltInStyle("buttonstyle"));
  EXPECT_EQ(BuiltInStyle("nosuchstyle"), nullptr);
}

TEST(BuiltInStylesTest, OneAccentMarksFocusProgressChecksAndSelection) {
  constexpr TAlphaColor kAccent = 0xFF2F6FB0;
  // Asked as the painters ask, for an object outside any scene.
  const TvgButton object;
  const auto color = [&](const char* style, const char* property) {
    return ColorOrAccent(object, *BuiltInStyle(style), property);
  };
  EXPECT_EQ(color("buttonstyle", "Focus.Color"), kAccent);
  EXPECT_EQ(color("progressbarstyle", "Bar.Color"), kAccent);
  EXPECT_EQ(color("radiobuttonstyle", "Check.Color"), kAccent);
  EXPECT_EQ(color("checkboxstyle", "Check.Color"), kAccent);
  EXPECT_EQ(color("treeviewstyle", "Selection.Color"), kAccent);
}

TEST(BuiltInStylesTest, EveryStyleTheStoredWindowsLookUpExists) {
  int lookups = 0;
  for (const char* form : {"TFORMMAINDBINSTALL", "TFORMMESSAGE", "TFORMFOLDERBROWSER"}) {
    std::ifstream file(std::string(DBINST_SOURCE_DIR) + "/resources/forms/" + form + ".txt");
    ASSERT_TRUE(file) << form;
    std::stringstream text;
    text << file.rdbuf();
    const std::string body = text.str();
    const std::regex lookup(R"(StyleLookup\s*=\s*'([^']*)')");
    for (std::sregex_iterator it(body.begin(), body.end(), lookup), end; it != end; ++it) {
      EXPECT_NE(BuiltInStyle((*it)[1].str()), nullptr) << form << ": " << (*it)[1].str();
      ++lookups;
    }
  }
  EXPECT_GT(lookups, 0);
}

std::string StoredLibraryText() {
  std::ifstream file(std::string(DBINST_SOURCE_DIR) + "/resources/forms/styles/vgResources1.txt");
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(BuiltInStylesTest, TheWindowsLibraryIsTheBuiltInLook) {
  const std::string text = StoredLibraryText();
  ASSERT_FALSE(text.empty()) << "the style library is missing";
  EXPECT_EQ(CompileFormText(text), CompileFormText(BuiltInStylesText()));
}

TEST(BuiltInStylesTest, TheBuiltInTextIsTheStoredLibraryByteForByte) {
  EXPECT_EQ(BuiltInStylesText(), StoredLibraryText());
}

TEST(BuiltInStylesTest, ASceneWhoseLibraryLacksAStyleDrawsItWithTheBuiltInOne) {
  const auto library = test::StyleLibraryFromText(
      "object Styles: TvgStyleBook\n"
      "  object backgroundmover: TvgStyle\n"
      "    Fill.Color = '#FF102030'\n"
      "  end\n"
      "end\n");
  TvgScene scene;
  scene.SetStyleLibrary(library.get());
  EXPECT_EQ(scene.Style("BackgroundMover")->Color("Fill.Color", 0), 0xFF102030u);
  EXPECT_EQ(scene.Style("buttonstyle"), BuiltInStyle("buttonstyle"));
  EXPECT_EQ(scene.Style("nosuchstyle"), nullptr);
}

}  // namespace
}  // namespace dbinst
