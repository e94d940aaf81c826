#include "platform/prefix/PeFileVersionReader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

#include "tests/TempFolder.h"
#include "tests/platform/prefix/HostReadableFile.h"
#include "tools/pe/PeWriter.h"

namespace dbinst {
namespace {

using test::HostReadableFile;
using test::TempFolder;

// Where PeWriter puts things: optional header, .rsrc section header, resource tree, data entry.
constexpr size_t kOptionalHeader = 0x98;
constexpr size_t kResourceSectionHeader = 0x178 + 40;
constexpr size_t kResources = 0x400;
constexpr size_t kTypeEntryTarget = kResources + 20;
constexpr size_t kDataEntry = kResources + 0x48;
constexpr size_t kBlock = kResources + 0x58;

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

class PeFileVersionReaderTest : public ::testing::Test {
 protected:
  std::optional<std::vector<uint8_t>> BlockOf(const std::vector<uint8_t>& bytes) {
    const std::string path = folder_.File("file.bin");
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    auto file = HostReadableFile::Open(path);
    EXPECT_TRUE(file);
    return PeFileVersionReader::ReadVersionBlock(*file);
  }

  const VersionResource version_ = MakeVersionResource({2, 3, 4, 5}, "2.3.4.5");
  const std::vector<uint8_t> block_ = BuildVersionBlock(version_, false);
  const std::vector<uint8_t> exe_ = BuildPeFile({false, version_});
  TempFolder folder_;
};

// PE32+ moves the data directories 16 bytes further; everything else PeWriter writes still fits.
std::vector<uint8_t> AsPe32Plus(std::vector<uint8_t> file) {
  file[kOptionalHeader - 4] = 240;  // size of the optional header
  file[kOptionalHeader] = 0x0B;
  file[kOptionalHeader + 1] = 0x02;
  file.insert(file.begin() + kOptionalHeader + 96, 16, 0);
  file.erase(file.begin() + 0x200, file.begin() + 0x210);
  Put32(file, kOptionalHeader + 108, 16);
  return file;
}

TEST_F(PeFileVersionReaderTest, ExecutableAndDllGiveTheirVersionBlock) {
  EXPECT_EQ(BlockOf(exe_), block_);
  const VersionResource dllVersion = MakeVersionResource({6, 1, 0, 0}, "6.1", 0x0409, 1252);
  EXPECT_EQ(BlockOf(BuildPeFile({true, dllVersion})), BuildVersionBlock(dllVersion, true));
}

TEST_F(PeFileVersionReaderTest, Pe32PlusFileGivesItsVersionBlock) {
  EXPECT_EQ(BlockOf(AsPe32Plus(exe_)), block_);
}

TEST_F(PeFileVersionReaderTest, FilesWithoutVersionResourceGiveNothing) {
  EXPECT_FALSE(BlockOf(BuildPeFile({false, std::nullopt})));
  EXPECT_FALSE(BlockOf(BuildPeFile({true, std::nullopt})));
  EXPECT_FALSE(BlockOf({}));
  EXPECT_FALSE(BlockOf({'M', 'Z'}));
  const std::string text = "[Setup]\r\nLINE=OV\r\n";
  EXPECT_FALSE(BlockOf(std::vector<uint8_t>(text.begin(), text.end())));

  auto otherType = exe_;
  otherType[kResources + 16] = 3;  // RT_ICON
  EXPECT_FALSE(BlockOf(otherType));
}

TEST_F(PeFileVersionReaderTest, TruncatedFileGivesNothingUntilTheBlockIsWhole) {
  const size_t blockEnd = kBlock + block_.size();
  for (size_t length = 0; length < exe_.size(); length += (length < 0x3C0 ? 16 : 1)) {
    const auto block = BlockOf({exe_.begin(), exe_.begin() + static_cast<long>(length)});
    if (length < blockEnd)
      EXPECT_FALSE(block) << length;
    else
      EXPECT_EQ(block, block_) << length;
  }
}

TEST_F(PeFileVersionReaderTest, ResourceDirectoryLoopIsRefused) {
  auto loop = exe_;
  Put32(loop, kTypeEntryTarget, 0x80000000u);  // the type entry leads back to the root
  EXPECT_FALSE(BlockOf(loop));
  auto selfLoop = exe_;
  Put32(selfLoop, kResources + 0x18 + 20, 0x80000018u);  // the name level points at itself
  EXPECT_FALSE(BlockOf(selfLoop));
}

TEST_F(PeFileVersionReaderTest, OffsetsOutsideTheFileAreRefused) {
  auto farHeader = exe_;
  Put32(farHeader, 0x3C, 0xFFFFFFF0u);
  EXPECT_FALSE(BlockOf(farHeader));

  auto dataOutsideSections = exe_;
  Put32(dataOutsideSections, kDataEntry, 0x00900000u);
  EXPECT_FALSE(BlockOf(dataOutsideSections));

  auto dataTooLong = exe_;
  Put32(dataTooLong, kDataEntry + 4, 0x7FFFFFFFu);
  EXPECT_FALSE(BlockOf(dataTooLong));

  auto sectionPastEnd = exe_;
  Put32(sectionPastEnd, kResourceSectionHeader + 20, 0x7FFFFF00u);
  EXPECT_FALSE(BlockOf(sectionPastEnd));

  auto manySections = exe_;
  manySections[kOptionalHeader - 18] = 0xFF;
  manySections[kOptionalHeader - 17] = 0xFF;
  EXPECT_FALSE(BlockOf(manySections));

  auto manyEntries = exe_;
  manyEntries[kResources + 14] = 0xFF;
  manyEntries[kResources + 15] = 0xFF;
  EXPECT_FALSE(BlockOf(manyEntries));
}

TEST_F(PeFileVersionReaderTest, CorruptedHeadersNeverCrash) {
  std::mt19937 random(11);
  for (int round = 0; round < 300; ++round) {
    auto file = exe_;
    for (int flips = 0; flips < 3; ++flips) {
      const size_t at = random() % 2 == 0 ? random() % 0x200 : kResources + random() % 0x60;
      file[at] = static_cast<uint8_t>(random());
    }
    BlockOf(file);
  }
}

}  // namespace
}  // namespace dbinst
