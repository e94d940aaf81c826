#include "app/WelcomeBlock.h"

#include <gtest/gtest.h>

#include "tests/app/ShippedTexts.h"

namespace dbinst {
namespace {

TDatabaseEmbedded Database(EDatabaseType type, std::string name, std::string targetName = "") {
  TDatabaseEmbedded database;
  database.Type = type;
  database.Name = std::move(name);
  database.TargetName = std::move(targetName);
  return database;
}

TDatabaseEmbeddedVecAfterTypeMap Catalogue(const std::vector<TDatabaseEmbedded>& databases) {
  TDatabaseEmbeddedVecAfterTypeMap catalogue;
  for (const TDatabaseEmbedded& database : databases) catalogue[database.Type].push_back(database);
  return catalogue;
}

const TextOfKey& Polish() {
  static const TextOfKey texts = test::ShippedTexts("lang0");
  return texts;
}

TEST(WelcomeBlockTest, OneDatabaseIsGreetedByKindWithAllLinesHidden) {
  const TWelcomeBlock tiles =
      MakeWelcomeBlock(Catalogue({Database(EDatabaseType::Tiles, "Opoczno")}), Polish());
  EXPECT_EQ(tiles.Head, "Witamy w Instalatorze bazy danych płytek Opoczno.");
  EXPECT_EQ(tiles.Foot01, "Baza zostanie zainstalowana na Twoim komputerze.");
  for (const auto& line : tiles.Lines) EXPECT_FALSE(line.has_value());

  EXPECT_EQ(
      MakeWelcomeBlock(Catalogue({Database(EDatabaseType::HouseholdAppliances, "Amica")}), Polish())
          .Head,
      "Witamy w Instalatorze bazy danych AGD Amica.");
}

TEST(WelcomeBlockTest, WallsAndMaterialsAreGreetedByTargetNameOrWithoutOne) {
  const auto head = [](EDatabaseType type, const char* target) {
    return MakeWelcomeBlock(Catalogue({Database(type, "ignored", target)}), Polish()).Head;
  };
  EXPECT_EQ(head(EDatabaseType::Walls, "Cegla"), "Witamy w Instalatorze bazy danych ścian Cegla.");
  EXPECT_EQ(head(EDatabaseType::Walls, ""), "Witamy w Instalatorze bazy danych ścian.");
  EXPECT_EQ(head(EDatabaseType::Materials, "Drewno"),
            "Witamy w Instalatorze bazy danych materiałów Drewno.");
  EXPECT_EQ(head(EDatabaseType::Materials, ""), "Witamy w Instalatorze bazy danych materiałów.");
}

TEST(WelcomeBlockTest, SixDatabasesAreAllListedInKindOrder) {
  const TWelcomeBlock block = MakeWelcomeBlock(
      Catalogue({Database(EDatabaseType::Materials, "m", ""), Database(EDatabaseType::Tiles, "A"),
                 Database(EDatabaseType::Walls, "w", "Cegla"),
                 Database(EDatabaseType::Interiors, "Lampy"),
                 Database(EDatabaseType::Cabinets, "Szafki"), Database(EDatabaseType::Tiles, "B")}),
      Polish());
  EXPECT_EQ(block.Head, "Witamy w Instalatorze baz danych:");
  EXPECT_EQ(block.Foot01, "Bazy zostaną zainstalowane na Twoim komputerze.");
  const std::vector<std::string> expected = {" - Baza płytek A",     " - Baza płytek B",
                                             " - Baza wnętrz Lampy", " - Baza szafek Szafki",
                                             " - Baza ścian Cegla",  " - Baza materiałów"};
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(block.Lines[i].has_value()) << i;
    EXPECT_EQ(*block.Lines[i], expected[i]);
  }
}

TEST(WelcomeBlockTest, SevenDatabasesListFiveAndSumUpTheRest) {
  std::vector<TDatabaseEmbedded> databases;
  for (int i = 1; i <= 7; ++i)
    databases.push_back(Database(EDatabaseType::Tiles, std::to_string(i)));
  const TWelcomeBlock block = MakeWelcomeBlock(Catalogue(databases), Polish());
  EXPECT_EQ(*block.Lines[4], " - Baza płytek 5");
  EXPECT_EQ(*block.Lines[5], " - Oraz inne bazy (2)");
}

TEST(WelcomeBlockTest, TwoDatabasesHideTheOtherFourLines) {
  const TWelcomeBlock block = MakeWelcomeBlock(
      Catalogue({Database(EDatabaseType::Tiles, "A"), Database(EDatabaseType::Tiles, "B")}),
      test::ShippedTexts("lang1"));
  EXPECT_EQ(block.Head, "Welcome to The Installer of databases:");
  EXPECT_TRUE(block.Lines[1].has_value());
  for (size_t i = 2; i < kWelcomeLineCount; ++i) EXPECT_FALSE(block.Lines[i].has_value()) << i;
}

}  // namespace
}  // namespace dbinst
