#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "env/GeneralMod.h"
#include "env/TextKeys.h"
#include "platform/Resources.h"
#include "platform/prefix/PrefixMachine.h"
#include "tests/TempFolder.h"
#include "tests/support/RunProcess.h"
#include "tests/support/TempPrefix.h"
#include "tools/demoprefix/PrefixBuilder.h"

namespace dbinst {
namespace {

using Section = std::vector<std::pair<int, std::string>>;

const std::vector<std::string> kSectionOrder = {"LANG0",  "LANG1",  "LANG2", "LANG3",
                                                "LANG5",  "LANG7",  "LANG8", "LANG9",
                                                "LANG11", "LANG12", "LANG14"};
const std::vector<std::string> kSelectableCodes = {"lang0", "lang1", "lang2", "lang3",
                                                   "lang5", "lang7", "lang9", "lang14"};

// The keys this installer reads, and the refusal of an unwritable folder chosen by hand (16),
// which the table carries ahead of its use.
std::vector<int> UsedKeys() {
  std::vector<int> keys(kTextKeysRead.begin(), kTextKeysRead.end());
  keys.push_back(16);
  return keys;
}
const std::vector<int> kUsedKeys = UsedKeys();

std::string SourceBytes() {
  std::ifstream in(std::filesystem::path(DBINST_SOURCE_DIR) / "resources" / "TxtTransl.txt",
                   std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Splits the resource by hand, independently of the loader, so the format itself is checked.
std::vector<std::pair<std::string, Section>> SectionsOf(const std::string& bytes) {
  std::vector<std::pair<std::string, Section>> sections;
  size_t start = 3;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    start = end + 2;
    if (line.starts_with('[')) {
      sections.push_back({line.substr(1, line.size() - 2), {}});
    } else if (!sections.empty()) {
      const size_t equals = line.find('=');
      const int key = equals == std::string::npos ? -1 : std::stoi(line.substr(0, equals));
      sections.back().second.push_back({key, line.substr(equals + 1)});
    }
  }
  return sections;
}

std::map<int, std::string> TextsOf(const Section& section) {
  return std::map<int, std::string>(section.begin(), section.end());
}

size_t PlaceholderCount(const std::string& text) {
  size_t count = 0;
  for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2)) ++count;
  return count;
}

TEST(TranslationResourceTest, ResourceIsUtf8WithMarkAndCrLfLineEnds) {
  const std::string bytes = SourceBytes();
  ASSERT_GT(bytes.size(), 3u);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_TRUE(bytes.ends_with("\r\n"));
  size_t lineFeeds = 0, returns = 0, pairs = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    lineFeeds += bytes[i] == '\n';
    returns += bytes[i] == '\r';
    pairs += bytes.compare(i, 2, "\r\n") == 0;
  }
  EXPECT_EQ(lineFeeds, pairs);
  EXPECT_EQ(returns, pairs);
  EXPECT_EQ(bytes.find("\r\n\r\n"), std::string::npos) << "empty line";
}

TEST(TranslationResourceTest, SectionsComeInOrderEachWithItsKeysOnceAscending) {
  const auto sections = SectionsOf(SourceBytes());
  std::vector<std::string> names;
  for (const auto& [name, section] : sections) {
    names.push_back(name);
    const int last = name == "LANG0" ? 270 : 252;
    ASSERT_EQ(section.size(), static_cast<size_t>(last + 1)) << name;
    for (int key = 0; key <= last; ++key) EXPECT_EQ(section[key].first, key) << name;
  }
  EXPECT_EQ(names, kSectionOrder);
}

TEST(TranslationResourceTest, EveryTextIsFilledWithTheSamePlaceholdersInEverySection) {
  const auto sections = SectionsOf(SourceBytes());
  ASSERT_EQ(sections.size(), kSectionOrder.size());
  const std::map<int, std::string> english = TextsOf(sections[1].second);
  const std::regex otherPlaceholder("%[^s]|%$");
  for (const auto& [name, section] : sections) {
    for (const auto& [key, text] : section) {
      EXPECT_FALSE(text.empty()) << name << " " << key;
      EXPECT_FALSE(text.starts_with('[')) << name << " " << key;
      EXPECT_FALSE(std::regex_search(text, otherPlaceholder)) << name << " " << key;
      if (!english.contains(key)) continue;
      EXPECT_EQ(PlaceholderCount(text), PlaceholderCount(english.at(key)))
          << name << " " << key << ": " << text;
    }
  }
}

TEST(TranslationResourceTest, UsedKeysAreTranslatedRatherThanLeftInEnglish) {
  const auto sections = SectionsOf(SourceBytes());
  ASSERT_EQ(sections.size(), kSectionOrder.size());
  const std::map<int, std::string> english = TextsOf(sections[1].second);
  const std::set<int> sameEverywhere = {1, 2, 3, 4, 5, 6, 155, 229};
  // Words that are spelled the same in English and in the language.
  const std::set<std::pair<std::string, int>> sameByChance = {
      {"LANG2", 126},  {"LANG3", 126}, {"LANG7", 126}, {"LANG8", 126}, {"LANG9", 126},
      {"LANG14", 126}, {"LANG8", 154}, {"LANG9", 154}, {"LANG11", 19}};
  for (size_t i = 2; i < sections.size(); ++i) {
    const auto& [name, section] = sections[i];
    const std::map<int, std::string> texts = TextsOf(section);
    for (const int key : kUsedKeys) {
      if (sameEverywhere.contains(key) || sameByChance.contains({name, key})) continue;
      EXPECT_NE(texts.at(key), english.at(key)) << name << " " << key;
    }
  }
}

// The table is edited in its generator; a hand edit of the table alone would be lost next time.
TEST(TranslationResourceTest, GeneratorWritesExactlyTheCommittedTable) {
  test::TempFolder folder;
  const std::string written = folder.File("TxtTransl.txt");
  const test::ProcessResult result = test::RunProcess(
      "/usr/bin/python3",
      {std::string(DBINST_SOURCE_DIR) + "/resources/make_txttransl.py", written}, {});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::ifstream in(written, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_TRUE(bytes.str() == SourceBytes());
}

TEST(TranslationResourceTest, InstallerCarriesTheSourceTableAndEveryUsedKeyLoads) {
  test::TempPrefix prefix;
  const auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  const auto stream = machine->resources().Open("TxtTransl");
  ASSERT_NE(stream, nullptr);
  std::string embedded(static_cast<size_t>(stream->Size()), '\0');
  ASSERT_EQ(stream->Read(embedded.data(), stream->Size()), stream->Size());
  EXPECT_EQ(embedded, SourceBytes());

  for (const std::string& code : kSelectableCodes) {
    TranslationTable table;
    table.Reset();
    table.LoadLanguage(machine->resources(), code);
    for (const int key : kUsedKeys) EXPECT_FALSE(table.Text(key).empty()) << code << " " << key;
  }
}

// The installer on a prefix whose user speaks the language of lcid.
class UserLanguageTest : public ::testing::Test {
 protected:
  std::unique_ptr<TGeneralMod> ModuleFor(uint16_t lcid) {
    PrefixBuilder builder(folder_.Path().string());
    builder.Language(lcid, ",", ".", "1252");
    std::string error;
    EXPECT_TRUE(builder.Build(error)) << error;
    machine_ = OpenPrefixMachine({folder_.Path().string(), DBINST_INSTALLER_PATH}, error);
    EXPECT_NE(machine_, nullptr) << error;
    if (!machine_) return nullptr;
    return std::make_unique<TGeneralMod>(*machine_, std::vector<std::string>{});
  }

  test::TempFolder folder_;
  std::unique_ptr<Machine> machine_;
};

TEST_F(UserLanguageTest, PolishUserGetsPolishTexts) {
  const auto module = ModuleFor(1045);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->CurrentLanguageCode(), "lang0");
  EXPECT_EQ(module->Text(23), "Dalej");
  EXPECT_EQ(module->Text(242), "Czy na pewno chcesz zakończyć działanie instalatora baz danych?");
  EXPECT_TRUE(module->Text(15).starts_with("Tych baz danych nie zainstalowano"));
  EXPECT_EQ(module->Text(260), "Kopiowanie archiwum modułu");
}

TEST_F(UserLanguageTest, EnglishUserGetsTheFamilysEnglishTexts) {
  const auto module = ModuleFor(1033);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->CurrentLanguageCode(), "lang1");
  EXPECT_EQ(module->Text(217), "Welcome to The Installer of %s interior desing elements database.");
  EXPECT_EQ(module->Text(25), "Finish");
  EXPECT_TRUE(module->Text(15).starts_with("These databases were not installed"));
  EXPECT_EQ(module->Text(260), "");
}

TEST_F(UserLanguageTest, GermanUserGetsGermanTexts) {
  const auto module = ModuleFor(1031);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->CurrentLanguageCode(), "lang3");
  EXPECT_EQ(module->Text(23), "Weiter");
  EXPECT_EQ(module->Text(22), "Abbrechen");
  EXPECT_EQ(module->Text(227), "Programmordner von %s (%s)");
  EXPECT_EQ(module->DatabaseTypeName(EDatabaseType::Walls), "Datenbank für Wandelemente");
}

TEST_F(UserLanguageTest, ItalianUserFallsBackToEnglish) {
  const auto module = ModuleFor(1040);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->CurrentLanguageCode(), "lang1");
  EXPECT_EQ(module->Text(23), "Next");
  EXPECT_EQ(module->Text(153), "Yes");
}

TEST_F(UserLanguageTest, CzechUserGetsCzechTexts) {
  const auto module = ModuleFor(1029);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(module->CurrentLanguageCode(), "lang2");
  EXPECT_EQ(module->Text(23), "Další");
  EXPECT_EQ(module->Text(25), "Dokončit");
  EXPECT_EQ(module->Text(240), "Pokud budete pokračovat, bude přepsána.");
  EXPECT_EQ(module->ProductName(EProductLine::Kestrio), "Kestrio");
}

}  // namespace
}  // namespace dbinst
