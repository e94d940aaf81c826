#include "ui/FormVocabulary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace dbinst {
namespace {

const std::string kReadme = std::string(DBINST_SOURCE_DIR) + "/resources/forms/README.md";

std::string ReadmeText() {
  std::ifstream file(kReadme, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST(FormVocabularyTest, TheReadmeShowsWhatTheDeclarationsSay) {
  const std::optional<std::string> shown = VocabularyIn(ReadmeText());
  ASSERT_TRUE(shown.has_value()) << kReadme << " has lost its vocabulary markers";
  EXPECT_EQ(*shown, FormVocabulary())
      << "the declarations changed: run build/tools/formc --vocabulary " << kReadme;
}

TEST(FormVocabularyTest, TheVocabularyNamesEveryKindAndTheValuesItsReadersTake) {
  const std::string vocabulary = FormVocabulary();
  for (const char* kind : {"`TvgScene`", "`TvgButton`", "`TvgTreeViewItem`", "`TvgResources`",
                           "`TTimer`", "the window"}) {
    EXPECT_NE(vocabulary.find("| " + std::string(kind) + " |"), std::string::npos) << kind;
  }
  // Names of an identifier come from the table its reader uses.
  EXPECT_NE(vocabulary.find("| `Align` | `vaNone`, `vaTop`, `vaBottom`, `vaLeft`, `vaRight`, "
                            "`vaClient` |"),
            std::string::npos);
  EXPECT_NE(vocabulary.find("| `TvgLayout` | | none beyond"), std::string::npos);
}

TEST(FormVocabularyTest, OnlyTheTextBetweenTheMarkersIsReplaced) {
  const std::string readme = ReadmeText();
  const std::optional<std::string> updated = WithVocabulary(readme, "\nnew words\n");
  ASSERT_TRUE(updated.has_value());
  EXPECT_EQ(VocabularyIn(*updated), "\nnew words\n");
  EXPECT_EQ(WithVocabulary(*updated, *VocabularyIn(readme)), readme);
  EXPECT_FALSE(WithVocabulary("# A README without markers\n", "words").has_value());
  EXPECT_FALSE(VocabularyIn("").has_value());
}

}  // namespace
}  // namespace dbinst
