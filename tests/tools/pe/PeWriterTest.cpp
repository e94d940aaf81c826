#include "tools/pe/PeWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/FileVersion.h"
#include "platform/Text.h"
#include "platform/VersionText.h"
#include "platform/prefix/PeFileVersionReader.h"
#include "tests/TempFolder.h"
#include "tests/platform/prefix/HostReadableFile.h"

namespace dbinst {
namespace {

using test::HostReadableFile;
using test::TempFolder;

// pefile is an independent reader: what it sees in our files is what Windows tools see.
constexpr char kOracleScript[] = R"(import sys, pefile
pe = pefile.PE(sys.argv[1])
for w in pe.get_warnings():
    if not w.startswith("Byte 0x00 makes up"):
        print("warning\t" + w.replace("\n", " "))
print("checksum\t%d" % pe.verify_checksum())
print("machine\t%x" % pe.FILE_HEADER.Machine)
print("dll\t%d" % pe.is_dll())
if hasattr(pe, "VS_FIXEDFILEINFO"):
    f = pe.VS_FIXEDFILEINFO[0]
    print("fixed\t%d.%d.%d.%d" % (f.FileVersionMS >> 16, f.FileVersionMS & 0xFFFF,
                                  f.FileVersionLS >> 16, f.FileVersionLS & 0xFFFF))
for info in getattr(pe, "FileInfo", []):
    for entry in info:
        if entry.Key == b"StringFileInfo":
            for table in entry.StringTable:
                for key, value in table.entries.items():
                    print("string\t%s\t%s\t%s" % (table.LangID.decode(), key.decode(), value.decode()))
        elif entry.Key == b"VarFileInfo":
            for var in entry.Var:
                for key, value in var.entry.items():
                    print("var\t%s\t%s" % (key.decode(), value))
)";

// Lines of the oracle's answer, keyed by their first field.
using OracleAnswer = std::multimap<std::string, std::string>;

std::string Field(const OracleAnswer& answer, const std::string& key) {
  const auto found = answer.find(key);
  return found == answer.end() ? "<missing>" : found->second;
}

class PeWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("/usr/bin/python3 -c 'import pefile' 2>/dev/null") != 0)
      GTEST_SKIP() << "/usr/bin/python3 lacks pefile (Debian package python3-pefile)";
    std::ofstream(folder_.File("oracle.py")) << kOracleScript;
  }

  std::string Write(const std::string& name, const PeImage& image) {
    std::string error;
    EXPECT_TRUE(WritePeFile(folder_.File(name), image, error)) << error;
    return folder_.File(name);
  }

  OracleAnswer AskPefile(const std::string& path) {
    const std::string command = "PYTHONIOENCODING=utf-8 /usr/bin/python3 '" +
                                folder_.File("oracle.py") + "' '" + path + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    while (pipe && std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    EXPECT_TRUE(pipe && pclose(pipe) == 0) << output;
    OracleAnswer answer;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      const size_t tab = line.find('\t');
      answer.emplace(line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1));
    }
    return answer;
  }

  static std::optional<std::vector<uint8_t>> OurBlock(const std::string& path) {
    auto file = HostReadableFile::Open(path);
    return file ? PeFileVersionReader::ReadVersionBlock(*file) : std::nullopt;
  }

  // Checks that pefile and our reader see the same fixed version, translations and texts.
  void ExpectSameReading(const std::string& path, const VersionResource& version) {
    const OracleAnswer answer = AskPefile(path);
    EXPECT_EQ(answer.count("warning"), 0u) << Field(answer, "warning");
    EXPECT_EQ(Field(answer, "checksum"), "1");
    EXPECT_EQ(Field(answer, "machine"), "14c");
    const auto block = OurBlock(path);
    ASSERT_TRUE(block);

    const auto fixed = VerQueryValueRaw(*block, "\\");
    ASSERT_TRUE(fixed && fixed->size() >= 16);
    const auto word = [&](size_t at) { return (*fixed)[at] | ((*fixed)[at + 1] << 8); };
    EXPECT_EQ(Field(answer, "fixed"), std::to_string(word(10)) + "." + std::to_string(word(8)) +
                                          "." + std::to_string(word(14)) + "." +
                                          std::to_string(word(12)));

    size_t texts = 0;
    for (auto [it, end] = answer.equal_range("string"); it != end; ++it, ++texts) {
      const std::string& line = it->second;
      const size_t first = line.find('\t'), second = line.find('\t', first + 1);
      const std::string query = "\\StringFileInfo\\" + line.substr(0, first) + "\\" +
                                line.substr(first + 1, second - first - 1);
      EXPECT_EQ(VerQueryValueText(*block, query), line.substr(second + 1)) << query;
    }
    // pefile 2023.2.7 stops after the first string table and keeps only the last translation.
    if (!version.stringTables.empty()) {
      EXPECT_EQ(texts, version.stringTables[0].items.size());
    }
    if (!version.translations.empty()) {
      char expected[32];
      std::snprintf(expected, sizeof expected, "Translation\t0x%04x 0x%04x",
                    version.translations.back().language, version.translations.back().codePage);
      EXPECT_EQ(Field(answer, "var"), expected);
    }
  }

  TempFolder folder_;
};

TEST_F(PeWriterTest, PefileReadsWhatOurReaderReadsFromTypicalPrograms) {
  const VersionResource orvane = MakeVersionResource({2, 1, 0, 5}, "2.1.0.5");
  ExpectSameReading(Write("Orvane.exe", {false, orvane}), orvane);

  VersionResource manager = MakeVersionResource({6, 2, 0, 15}, "6.2.0.15", 0x0409, 0x04B0);
  manager.stringTables[0].key = "040904b0";
  ExpectSameReading(Write("Manager.dll", {true, manager}), manager);
  EXPECT_EQ(Field(AskPefile(folder_.File("Manager.dll")), "dll"), "1");
  EXPECT_EQ(Field(AskPefile(folder_.File("Orvane.exe")), "dll"), "0");
}

TEST_F(PeWriterTest, QuirkyTextsDifferFromTheFixedVersionForBothReaders) {
  for (const std::string text : {"5.81", " 2.0.0.0 ", "6.2", ".5", ""}) {
    const VersionResource version = MakeVersionResource({5, 81, 0, 0}, text);
    const std::string path = Write("quirk.dll", {true, version});
    ExpectSameReading(path, version);
    const auto answer = AskPefile(path);
    const auto block = OurBlock(path);
    ASSERT_TRUE(block);
    EXPECT_EQ(Field(answer, "fixed"), "5.81.0.0");
    EXPECT_EQ(FileVersionTextOf(*block), Trim(text));
  }
}

TEST_F(PeWriterTest, SeveralTablesAndPolishTextsReadTheSame) {
  VersionResource version = MakeVersionResource({2, 0, 3, 0}, "2.0.3.0");
  version.stringTables[0].items.push_back({"FileDescription", "Projektowanie łazienek – Łódź"});
  version.translations.push_back({0x0409, 1200});
  version.stringTables.push_back({"040904b0", {{"FileVersion", "2.0.3 English"}}});
  ExpectSameReading(Write("kafle.dll", {true, version}), version);
}

TEST_F(PeWriterTest, FileWithoutVersionIsAValidPeFileWithoutResources) {
  const std::string path = Write("CadNothing.exe", {false, std::nullopt});
  const OracleAnswer answer = AskPefile(path);
  EXPECT_EQ(answer.count("warning"), 0u);
  EXPECT_EQ(Field(answer, "checksum"), "1");
  EXPECT_EQ(answer.count("fixed"), 0u);
  EXPECT_EQ(answer.count("string"), 0u);
  EXPECT_FALSE(OurBlock(path));
}

TEST_F(PeWriterTest, UnwritablePathIsReportedWithItsName) {
  std::string error;
  const std::string path = folder_.File("missing-folder/Orvane.exe");
  EXPECT_FALSE(WritePeFile(path, {false, std::nullopt}, error));
  EXPECT_NE(error.find(path), std::string::npos);
}

TEST_F(PeWriterTest, OversizedVersionResourceIsAnErrorNotACorruptFile) {
  VersionResource version = MakeVersionResource({1, 0, 0, 0}, std::string(40000, '1'));
  std::string error;
  EXPECT_FALSE(WritePeFile(folder_.File("big.exe"), {false, version}, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace dbinst
