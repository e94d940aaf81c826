#include "platform/prefix/PrefixProfileReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/prefix/PrefixFileSystem.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

constexpr uint32_t kPolish = 1250;
constexpr uint32_t kWestern = 1252;

// Each test writes its ini to a real file and reads the bytes back, as the reader gets them.
class PrefixProfileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("dbinst-profile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string RoundTrip(const std::string& bytes) {
    const fs::path file = folder_ / "test.ini";
    std::ofstream(file, std::ios::binary) << bytes;
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytesRead;
    bytesRead << in.rdbuf();
    return bytesRead.str();
  }

  std::string Get(const std::string& bytes, std::string_view section, std::string_view key,
                  std::string_view defaultValue = "<none>", uint32_t codePage = kPolish) {
    return PrefixProfileReader::GetStringFromBytes(RoundTrip(bytes), section, key, defaultValue,
                                                   codePage);
  }

  fs::path folder_;
};

TEST_F(PrefixProfileReaderTest, Windows1250PolishTextIsConvertedToUtf8) {
  // "Płytki łazienkowe – Żółć" in Windows-1250.
  const std::string ini =
      "[info]\r\nBAZA=P\xB3ytki \xB3"
      "azienkowe \x96 \xAF\xF3\xB3\xE6\r\nDATA=2013\r\n";
  EXPECT_EQ(Get(ini, "info", "BAZA"), "Płytki łazienkowe – Żółć");
  EXPECT_EQ(Get(ini, "info", "DATA"), "2013");
}

TEST_F(PrefixProfileReaderTest, SameBytesReadInWindows1252GiveWesternLetters) {
  EXPECT_EQ(Get("[a]\nk=\xB3\xE6\n", "a", "k", "", kWestern), "³æ");
}

TEST_F(PrefixProfileReaderTest, UnknownCodePageFallsBackTo1252) {
  EXPECT_EQ(Get("[a]\nk=caf\xE9\n", "a", "k", "", 4242), "café");
}

TEST_F(PrefixProfileReaderTest, BytesTheCodePageLacksBecomeReplacementCharacters) {
  // 0x81 and 0x98 are undefined in Windows-1250.
  EXPECT_EQ(Get("[a]\nk=x\x81y\x98\n", "a", "k"), "x\uFFFDy\uFFFD");
}

TEST_F(PrefixProfileReaderTest, ByteOrderMarksChooseUtf8OrUtf16) {
  EXPECT_EQ(Get("\xEF\xBB\xBF[Łódź]\r\nMiasto=Żółw\r\n", "ŁÓDŹ", "miasto"), "Żółw");

  std::u16string wide = u"\uFEFF[info]\r\nBAZA=Łazienki €\r\n";
  std::string little;
  std::string big;
  for (char16_t unit : wide) {
    little += static_cast<char>(unit & 0xFF);
    little += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit >> 8);
    big += static_cast<char>(unit & 0xFF);
  }
  EXPECT_EQ(Get(little, "info", "BAZA"), "Łazienki €");
  EXPECT_EQ(Get(big, "info", "BAZA"), "Łazienki €");
}

TEST_F(PrefixProfileReaderTest, MalformedUtf8AfterBomBecomesReplacementCharacters) {
  EXPECT_EQ(Get("\xEF\xBB\xBF[a]\nk=x\xC5\n", "a", "k"), "x\uFFFD");
}

TEST_F(PrefixProfileReaderTest, SectionsAndKeysMatchWithoutRegardToCaseOrBlanks) {
  const std::string ini =
      "\xEF\xBB\xBF  [ Łazienki ]  \r\n  Typ  =  płytki  \r\n[INSTALL]\r\nTYPE=TILES\r\n";
  const std::string polish =
      "[\xA3"
      "azienki]\r\nTyp=x\r\n";  // "[Łazienki]" in Windows-1250
  EXPECT_EQ(Get(ini, "ŁAZIENKI", "typ"), "płytki");
  EXPECT_EQ(Get(ini, " łazienki ", " TYP "), "płytki");
  EXPECT_EQ(Get(ini, "install", "type"), "TILES");
  EXPECT_EQ(Get(polish, "łAZIENKI", "TYP"), "x");
}

TEST_F(PrefixProfileReaderTest, FirstSectionAndFirstKeyWin) {
  const std::string ini =
      "[info]\nBAZA=first\nbaza=second\n[other]\nX=1\n[INFO]\nBAZA=third\nONLYLATER=4\n";
  EXPECT_EQ(Get(ini, "info", "BAZA"), "first");
  // A key that only a later section of the same name holds is not found.
  EXPECT_EQ(Get(ini, "info", "ONLYLATER"), "<none>");
  EXPECT_EQ(Get(ini, "other", "X"), "1");
}

TEST_F(PrefixProfileReaderTest, OnePairOfMatchingQuotesIsRemoved) {
  const std::string ini =
      "[q]\na=\"quoted value\"\nb='single'\nc=\"mismatched'\nd=\"\"inner\"\"\ne=\"\nf=\"\"\n"
      "g=  \"  padded  \"  \nh=say \"hi\"\n";
  EXPECT_EQ(Get(ini, "q", "a"), "quoted value");
  EXPECT_EQ(Get(ini, "q", "b"), "single");
  EXPECT_EQ(Get(ini, "q", "c"), "\"mismatched'");
  EXPECT_EQ(Get(ini, "q", "d"), "\"inner\"");
  EXPECT_EQ(Get(ini, "q", "e"), "\"");
  EXPECT_EQ(Get(ini, "q", "f"), "");
  EXPECT_EQ(Get(ini, "q", "g"), "  padded  ");
  EXPECT_EQ(Get(ini, "q", "h"), "say \"hi\"");
}

TEST_F(PrefixProfileReaderTest, CommentLinesAreSkippedButSemicolonsInsideValuesStay) {
  const std::string ini = "; header\n[s]\n;k=commented\n  ; also=comment\nk=a;b ; c\n";
  EXPECT_EQ(Get(ini, "s", "k"), "a;b ; c");
  EXPECT_EQ(Get(ini, "s", ";k"), "<none>");
  EXPECT_EQ(Get(ini, "s", "also"), "<none>");
}

TEST_F(PrefixProfileReaderTest, KeyWithoutEqualsSignAnswersTheDefault) {
  const std::string ini = "[s]\nlonely\nlonely=2\nother=1\nempty=\n";
  EXPECT_EQ(Get(ini, "s", "lonely"), "<none>");
  EXPECT_EQ(Get(ini, "s", "empty"), "");
  EXPECT_EQ(Get(ini, "s", "other"), "1");
}

TEST_F(PrefixProfileReaderTest, DefaultComesBackWithoutTrailingSpaces) {
  const std::string ini = "[s]\nk=v\n";
  EXPECT_EQ(Get(ini, "missing", "k", "  fallback  "), "  fallback");
  EXPECT_EQ(Get(ini, "s", "missing", "Nieznany "), "Nieznany");
  EXPECT_EQ(Get(ini, "", "k", "d"), "d");
  EXPECT_EQ(Get(ini, "s", "", "d"), "d");
  EXPECT_EQ(Get("", "s", "k", "d "), "d");
}

TEST_F(PrefixProfileReaderTest, KeysBeforeAnySectionBelongToNone) {
  EXPECT_EQ(Get("k=loose\n[s]\nother=1\n", "s", "k"), "<none>");
}

TEST_F(PrefixProfileReaderTest, EveryLineEndingSeparatesLines) {
  const std::string ini = "[s]\r\na=1\rb=2\nc=3\r\n\r\nd=4";
  EXPECT_EQ(Get(ini, "s", "a"), "1");
  EXPECT_EQ(Get(ini, "s", "b"), "2");
  EXPECT_EQ(Get(ini, "s", "c"), "3");
  EXPECT_EQ(Get(ini, "s", "d"), "4");
}

TEST_F(PrefixProfileReaderTest, ValueEndsAtNulByte) {
  EXPECT_EQ(Get(std::string("[s]\nk=ab\0cd\n", 12), "s", "k"), "ab");
}

TEST_F(PrefixProfileReaderTest, SectionHeaderWithoutClosingBracketIsNoSection) {
  const std::string ini = "[s]\n[broken\nk=1\n";
  EXPECT_EQ(Get(ini, "s", "k"), "1");
  EXPECT_EQ(Get(ini, "broken", "k"), "<none>");
}

TEST_F(PrefixProfileReaderTest, LinesKeepTheirTextAndSplitAtEveryLineEnding) {
  const std::string bytes = RoundTrip(
      "[JEZYKI]\r\nPOLSKI\r\n\r\n  ENGLISH \nDEUTSCH\r\xA3\xF3"
      "d\x9F");
  const std::vector<std::string> expected = {"[JEZYKI]",   "POLSKI",  "",
                                             "  ENGLISH ", "DEUTSCH", "Łódź"};
  EXPECT_EQ(PrefixProfileReader::LinesFromBytes(bytes, kPolish), expected);
}

TEST_F(PrefixProfileReaderTest, FinalLineEndingAddsNoEmptyLine) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(PrefixProfileReader::LinesFromBytes(RoundTrip("a\r\nb\r\n"), kPolish),
            (Lines{"a", "b"}));
  EXPECT_EQ(PrefixProfileReader::LinesFromBytes(RoundTrip("a\r\n\r\n"), kPolish), (Lines{"a", ""}));
  EXPECT_EQ(PrefixProfileReader::LinesFromBytes(RoundTrip(""), kPolish), Lines{});
  EXPECT_EQ(PrefixProfileReader::LinesFromBytes(RoundTrip("\xEF\xBB\xBF"), kPolish), Lines{});
}

TEST_F(PrefixProfileReaderTest, BinaryJunkAndLongLinesNeverCrash) {
  std::string junk;
  uint32_t state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245 + 12345;
    junk += static_cast<char>(state >> 24);
  }
  for (const std::string& prefix : {std::string(), std::string("\xFF\xFE"),
                                    std::string("\xEF\xBB\xBF"), std::string("[s]\nk=")}) {
    const std::string bytes = RoundTrip(prefix + junk);
    EXPECT_EQ(Get(bytes, "nothing", "here", "d"), "d");
    EXPECT_FALSE(PrefixProfileReader::LinesFromBytes(bytes, kPolish).empty());
  }
  // A single line of 10 MB.
  std::string longLine = "[s]\nk=" + std::string(10 << 20, 'x') + "\nafter=1\n";
  EXPECT_EQ(Get(longLine, "s", "after"), "1");
  EXPECT_EQ(Get(longLine, "s", "k").size(), size_t{10} << 20);
}

TEST_F(PrefixProfileReaderTest, BytesOverTheLimitGiveTheDefaultAndNoLines) {
  std::string huge = "[s]\nk=v\n";
  huge.resize(PrefixProfileReader::kMaxFileBytes + 1, ' ');
  EXPECT_EQ(PrefixProfileReader::GetStringFromBytes(huge, "s", "k", "d", kPolish), "d");
  EXPECT_TRUE(PrefixProfileReader::LinesFromBytes(huge, kPolish).empty());
}

// Through the prefix's own file system, as the installer reads Setup.ini and the descriptions.
class PrefixProfileReaderOnPrefixTest : public ::testing::Test {
 protected:
  test::TempPrefix prefix;
  std::unique_ptr<PrefixRegistry> registry = prefix.LoadRegistry();
  PrefixFileSystem files{prefix.path(), *registry};
  PrefixProfileReader reader{files, kPolish};
};

TEST_F(PrefixProfileReaderOnPrefixTest, WindowsPathsResolveWithoutRegardToCase) {
  fs::create_directories(prefix.driveC() + "/Velmora/Instalator");
  prefix.WriteFile(prefix.driveC() + "/Velmora/Instalator/Setup.ini",
                   "[INFOPROD]\r\nLINE=OV\r\n[JEZYKI]\r\nPOLSKI\r\nANGIELSKI\r\n");
  EXPECT_EQ(reader.GetString("C:\\VELMORA\\instalator\\SETUP.INI", "infoprod", "line", ""), "OV");
  const auto lines = reader.ReadTextLines("c:\\velmora\\Instalator\\setup.ini");
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->size(), 5u);
  EXPECT_EQ(lines->back(), "ANGIELSKI");
}

TEST_F(PrefixProfileReaderOnPrefixTest, MissingOrUnreadableFilesGiveTheDefaultAndNoLines) {
  fs::create_directories(prefix.driveC() + "/folder.ini");
  for (const char* path : {"C:\\nothing.ini", "C:\\folder.ini", "Q:\\x.ini", ""}) {
    EXPECT_EQ(reader.GetString(path, "s", "k", "fallback  "), "fallback") << path;
    EXPECT_FALSE(reader.ReadTextLines(path)) << path;
  }
}

TEST_F(PrefixProfileReaderOnPrefixTest, FileOverTheLimitIsNotRead) {
  const std::string host = prefix.driveC() + "/huge.ini";
  prefix.WriteFile(host, "[s]\nk=v\n");
  EXPECT_EQ(reader.GetString("C:\\huge.ini", "s", "k", "d"), "v");
  fs::resize_file(host, PrefixProfileReader::kMaxFileBytes + 1);
  EXPECT_EQ(reader.GetString("C:\\huge.ini", "s", "k", "d"), "d");
  EXPECT_FALSE(reader.ReadTextLines("C:\\huge.ini"));
  fs::resize_file(host, PrefixProfileReader::kMaxFileBytes);
  EXPECT_EQ(reader.GetString("C:\\huge.ini", "s", "k", "d"), "v");
}

}  // namespace
}  // namespace dbinst
