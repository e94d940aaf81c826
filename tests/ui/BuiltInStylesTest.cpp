#include "ui/BuiltInStyles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ui/FormText.h"
#include "ui/TvgResources.h"

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
  EXPECT_EQ(BuiltInStyle("buttonstyle")->Color("Focus.Color", 0), kAccent);
  EXPECT_EQ(BuiltInStyle("progressbarstyle")->Color("Bar.Color", 0), kAccent);
  EXPECT_EQ(BuiltInStyle("radiobuttonstyle")->Color("Check.Color", 0), kAccent);
  EXPECT_EQ(BuiltInStyle("checkboxstyle")->Color("Check.Color", 0), kAccent);
  EXPECT_EQ(BuiltInStyle("treeviewstyle")->Color("Selection.Color", 0), kAccent);
}

TEST(BuiltInStylesTest, TheWindowsLibraryIsTheBuiltInLook) {
  std::ifstream file(std::string(DBINST_SOURCE_DIR) + "/resources/forms/styles/vgResources1.txt");
  ASSERT_TRUE(file) << "the style library is missing";
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(CompileFormText(text.str()), CompileFormText(BuiltInStylesText()));
}

}  // namespace
}  // namespace dbinst
