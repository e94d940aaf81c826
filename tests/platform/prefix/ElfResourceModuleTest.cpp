#include "platform/prefix/ElfResourceModule.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/prefix/ElfSectionTable.h"
#include "tests/TempFolder.h"
#include "tests/support/ElfFiles.h"

namespace dbinst {
namespace {

using test::AddResourceSections;
using test::CopyOfSystemProgram;
using test::PatternBytes;
using test::ReadWholeFile;
using test::TempFolder;
using test::WriteWholeFile;
namespace fs = std::filesystem;

std::string ReadAll(ResourceStream& stream, int64_t chunk, std::vector<int64_t>* chunkSizes) {
  std::string bytes;
  std::string buffer(static_cast<size_t>(chunk), '\0');
  for (;;) {
    const int64_t got = stream.Read(buffer.data(), chunk);
    if (got <= 0) {
      EXPECT_EQ(got, 0);
      return bytes;
    }
    if (chunkSizes) chunkSizes->push_back(got);
    bytes.append(buffer.data(), static_cast<size_t>(got));
  }
}

// Overwrites bytes of a file in place, for hand-made damage to a header.
void PatchFile(const fs::path& path, uint64_t offset, uint64_t value, size_t width) {
  std::string bytes = ReadWholeFile(path);
  ASSERT_LE(offset + width, bytes.size());
  for (size_t i = 0; i < width; ++i) bytes[offset + i] = static_cast<char>(value >> (8 * i));
  WriteWholeFile(path, bytes);
}

uint64_t LittleEndianAt(const std::string& bytes, size_t offset, size_t width) {
  uint64_t value = 0;
  for (size_t i = width; i > 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[offset + i - 1]);
  return value;
}

class ElfResourceModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = CopyOfSystemProgram(scratch_.Path());
    ASSERT_TRUE(AddResourceSections(program_, {{"Empty", ""},
                                               {"Exact", PatternBytes(32768, 7)},
                                               {"DB01FULL", PatternBytes(100000, 3)},
                                               {"TxtTransl", "\xEF\xBB\xBF[LANG0]\r\n"}}));
  }

  // Where the section header of a named section lies in a 64-bit little-endian file.
  uint64_t SectionHeaderOffset(const std::string& sectionName) {
    const ElfSectionTable table = ReadElfSectionTable(program_.string());
    const std::string bytes = ReadWholeFile(program_);
    const uint64_t tableOffset = LittleEndianAt(bytes, 0x28, 8);
    const uint64_t entrySize = LittleEndianAt(bytes, 0x3A, 2);
    for (size_t i = 0; i < table.sections.size(); ++i) {
      if (table.sections[i].name == sectionName) return tableOffset + i * entrySize;
    }
    ADD_FAILURE() << "no section " << sectionName;
    return 0;
  }

  TempFolder scratch_;
  fs::path program_;
};

TEST_F(ElfResourceModuleTest, ListsOnlyResourceSections) {
  const ElfResourceModule module(program_.string());
  ASSERT_TRUE(module.Valid()) << module.Error();
  std::vector<std::string> names = module.Names();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"DB01FULL", "Empty", "Exact", "TxtTransl"}));
}

TEST_F(ElfResourceModuleTest, NamesMatchWithoutRegardToCaseAndAbsentOnesAreNull) {
  const ElfResourceModule module(program_.string());
  EXPECT_NE(module.Open("db01full"), nullptr);
  EXPECT_NE(module.Open("TXTTRANSL"), nullptr);
  EXPECT_EQ(module.Open("DB02FULL"), nullptr);
  EXPECT_EQ(module.Open("text"), nullptr);
  EXPECT_EQ(module.Open(".rsrc.Exact"), nullptr);
  EXPECT_EQ(module.Open(""), nullptr);
}

TEST_F(ElfResourceModuleTest, ResourceOf100000BytesReadsBackIn32768ByteChunks) {
  const ElfResourceModule module(program_.string());
  const std::unique_ptr<ResourceStream> stream = module.Open("DB01FULL");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Size(), 100000);
  std::vector<int64_t> chunks;
  EXPECT_EQ(ReadAll(*stream, 32768, &chunks), PatternBytes(100000, 3));
  EXPECT_EQ(chunks, (std::vector<int64_t>{32768, 32768, 32768, 1696}));
}

TEST_F(ElfResourceModuleTest, ResourceOf32768BytesIsOneChunk) {
  const ElfResourceModule module(program_.string());
  const std::unique_ptr<ResourceStream> stream = module.Open("exact");
  ASSERT_NE(stream, nullptr);
  std::vector<int64_t> chunks;
  EXPECT_EQ(ReadAll(*stream, 32768, &chunks), PatternBytes(32768, 7));
  EXPECT_EQ(chunks, std::vector<int64_t>{32768});
}

TEST_F(ElfResourceModuleTest, EmptyResourceIsPresentWithNoBytes) {
  const ElfResourceModule module(program_.string());
  const std::unique_ptr<ResourceStream> stream = module.Open("EMPTY");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Size(), 0);
  char byte = 0;
  EXPECT_EQ(stream->Read(&byte, 1), 0);
}

TEST_F(ElfResourceModuleTest, StreamsAreIndependentOfEachOther) {
  const ElfResourceModule module(program_.string());
  auto first = module.Open("DB01FULL");
  auto second = module.Open("DB01FULL");
  std::string a(10, '\0');
  std::string b(20, '\0');
  ASSERT_EQ(first->Read(a.data(), 10), 10);
  ASSERT_EQ(second->Read(b.data(), 20), 20);
  ASSERT_EQ(first->Read(a.data(), 10), 10);
  EXPECT_EQ(a, PatternBytes(100000, 3).substr(10, 10));
  EXPECT_EQ(b, PatternBytes(100000, 3).substr(0, 20));
}

TEST_F(ElfResourceModuleTest, FirstOfTwoSectionsWithTheSameNameWins) {
  ASSERT_TRUE(AddResourceSections(program_, {{"exact", "later"}}));
  const ElfResourceModule module(program_.string());
  EXPECT_EQ(module.Open("EXACT")->Size(), 32768);
  EXPECT_EQ(module.Names().size(), 4u);
}

TEST_F(ElfResourceModuleTest, SectionWithoutFileDataIsAnEmptyResource) {
  ASSERT_TRUE(test::Run("objcopy --rename-section .bss=.rsrc.Zeros '" + program_.string() + "'"));
  const ElfResourceModule module(program_.string());
  const auto stream = module.Open("zeros");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(stream->Size(), 0);
}

TEST_F(ElfResourceModuleTest, SectionReachingPastTheFileEndIsAbsent) {
  const uint64_t header = SectionHeaderOffset(".rsrc.DB01FULL");
  PatchFile(program_, header + 0x20, fs::file_size(program_), 8);  // sh_size
  const uint64_t other = SectionHeaderOffset(".rsrc.Exact");
  PatchFile(program_, other + 0x18, ~uint64_t{0} - 10, 8);  // sh_offset
  const ElfResourceModule module(program_.string());
  ASSERT_TRUE(module.Valid()) << module.Error();
  EXPECT_EQ(module.Open("DB01FULL"), nullptr);
  EXPECT_EQ(module.Open("Exact"), nullptr);
  EXPECT_NE(module.Open("TxtTransl"), nullptr);
}

TEST_F(ElfResourceModuleTest, StreamOfAFileCutAfterOpeningReportsAnError) {
  const ElfResourceModule module(program_.string());
  const auto stream = module.Open("TxtTransl");
  ASSERT_NE(stream, nullptr);
  fs::resize_file(program_, 100);
  char buffer[64];
  EXPECT_EQ(stream->Read(buffer, sizeof buffer), -1);
}

TEST_F(ElfResourceModuleTest, TruncatedCopiesGiveAClearErrorAndNoResources) {
  const std::string whole = ReadWholeFile(program_);
  const fs::path cut = scratch_.Path() / "cut";
  for (size_t length = 0; length < whole.size(); length += 997) {
    for (size_t at : {length, whole.size() - 1 - length % 64}) {
      WriteWholeFile(cut, whole.substr(0, at));
      const ElfResourceModule module(cut.string());
      EXPECT_FALSE(module.Valid()) << "cut at " << at;
      EXPECT_NE(module.Error().find(cut.string()), std::string::npos);
      EXPECT_TRUE(module.Names().empty());
      EXPECT_EQ(module.Open("TxtTransl"), nullptr);
    }
  }
}

TEST_F(ElfResourceModuleTest, HostileHeaderFieldsGiveAnErrorNotACrash) {
  const std::string whole = ReadWholeFile(program_);
  const fs::path bad = scratch_.Path() / "bad";
  struct Damage {
    uint64_t offset;
    uint64_t value;
    size_t width;
  };
  const Damage damages[] = {
      {0x28, ~uint64_t{0} - 100, 8},  // section table far beyond the file
      {0x3A, 1, 2},                   // section header entries of one byte
      {0x3C, 0xFFFF, 2},              // more sections than the file holds
      {0x3E, 0xFFF0, 2},              // name table index past the table
      {0x04, 7, 1},                   // unknown class
      {0x05, 9, 1},                   // unknown byte order
  };
  for (const Damage& damage : damages) {
    WriteWholeFile(bad, whole);
    PatchFile(bad, damage.offset, damage.value, damage.width);
    const ElfResourceModule module(bad.string());
    EXPECT_FALSE(module.Valid()) << "damage at " << damage.offset;
    EXPECT_FALSE(module.Error().empty());
  }
}

TEST_F(ElfResourceModuleTest, RandomlyDamagedHeadersNeverReadOutsideTheFile) {
  const std::string whole = ReadWholeFile(program_);
  const uint64_t tableOffset = LittleEndianAt(whole, 0x28, 8);
  const std::string noise = PatternBytes(4 * 400, 11);
  const fs::path bad = scratch_.Path() / "damaged";
  for (size_t round = 0; round < 400; ++round) {
    std::string bytes = whole;
    const auto pick = [&](size_t k) { return static_cast<unsigned char>(noise[4 * round + k]); };
    // Half the damage lands in the file header, half in the section table.
    const size_t span = whole.size() - tableOffset;
    const size_t at = round % 2 == 0 ? pick(0) % 64 : tableOffset + (pick(0) << 8 | pick(1)) % span;
    bytes[at] = static_cast<char>(pick(2));
    bytes[std::min(at + 1 + pick(3) % 8, bytes.size() - 1)] = static_cast<char>(pick(3));
    WriteWholeFile(bad, bytes);
    const ElfResourceModule module(bad.string());
    EXPECT_EQ(module.Valid(), module.Error().empty());
    for (const std::string& name : module.Names()) {
      const auto stream = module.Open(name);
      ASSERT_NE(stream, nullptr);
      EXPECT_LE(stream->Size(), static_cast<int64_t>(bytes.size()));
      EXPECT_EQ(ReadAll(*stream, 32768, nullptr).size(), static_cast<size_t>(stream->Size()));
    }
  }
}

TEST_F(ElfResourceModuleTest, ExtendedSectionCountInSectionZeroIsFollowedAndChecked) {
  const std::string whole = ReadWholeFile(program_);
  const uint64_t tableOffset = LittleEndianAt(whole, 0x28, 8);
  const uint64_t count = LittleEndianAt(whole, 0x3C, 2);
  const fs::path moved = scratch_.Path() / "extended";

  WriteWholeFile(moved, whole);
  PatchFile(moved, 0x3C, 0, 2);
  PatchFile(moved, tableOffset + 0x20, count, 8);
  EXPECT_NE(ElfResourceModule(moved.string()).Open("TxtTransl"), nullptr);

  PatchFile(moved, tableOffset + 0x20, uint64_t{1} << 40, 8);
  EXPECT_FALSE(ElfResourceModule(moved.string()).Valid());
}

TEST(ElfResourceModuleGarbageTest, GarbageMissingAndFolderPathsAreInvalid) {
  TempFolder scratch;
  const fs::path junk = scratch.Path() / "junk";
  const std::vector<std::string> contents = {"",
                                             "\x7F",
                                             "\x7F"
                                             "ELF",
                                             "MZ\x90",
                                             PatternBytes(5000),
                                             std::string("\x7F"
                                                         "ELF\x02\x01\x01",
                                                         7) +
                                                 PatternBytes(5000, 9),
                                             std::string("\x7F"
                                                         "ELF\x01\x01\x01",
                                                         7) +
                                                 PatternBytes(100, 9)};
  for (const std::string& bytes : contents) {
    WriteWholeFile(junk, bytes);
    const ElfResourceModule module(junk.string());
    EXPECT_FALSE(module.Valid());
    EXPECT_FALSE(module.Error().empty());
    EXPECT_EQ(module.Open("TxtTransl"), nullptr);
  }
  EXPECT_FALSE(ElfResourceModule((scratch.Path() / "missing").string()).Valid());
  EXPECT_FALSE(ElfResourceModule(scratch.Path().string()).Valid());
}

TEST(ElfResourceModuleFormatsTest, Elf32AndBigEndianFilesCarryResourcesToo) {
  TempFolder scratch;
  for (const std::string format : {"elf32-i386", "elf64-big", "elf32-big"}) {
    const fs::path object = test::ObjectFileOfFormat(scratch.Path(), format);
    ASSERT_FALSE(object.empty()) << format;
    ASSERT_TRUE(AddResourceSections(object, {{"LIB7Z", PatternBytes(40000, 5)}}, format));
    const ElfResourceModule module(object.string());
    ASSERT_TRUE(module.Valid()) << format << ": " << module.Error();
    const auto stream = module.Open("lib7z");
    ASSERT_NE(stream, nullptr) << format;
    EXPECT_EQ(ReadAll(*stream, 32768, nullptr), PatternBytes(40000, 5)) << format;
  }
}

TEST(ElfResourceModuleInstallerTest, BuiltInstallerCarriesItsTranslationTable) {
  const ElfResourceModule module(DBINST_INSTALLER_PATH);
  ASSERT_TRUE(module.Valid()) << module.Error();
  const auto stream = module.Open("TxtTransl");
  ASSERT_NE(stream, nullptr);
  const std::string source =
      ReadWholeFile(fs::path(DBINST_SOURCE_DIR) / "resources" / "TxtTransl.txt");
  EXPECT_EQ(stream->Size(), static_cast<int64_t>(source.size()));
  const std::string bytes = ReadAll(*stream, 32768, nullptr);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(bytes, source);
}

}  // namespace
}  // namespace dbinst
