#include "payload/ResourceFile.h"

#include <gtest/gtest.h>

#include "platform/prefix/ElfResourceModule.h"
#include "tests/TempFolder.h"
#include "tests/support/ElfFiles.h"

namespace dbinst {
namespace {

using test::PatternBytes;

class ResourceFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = test::CopyOfSystemProgram(scratch_.Path());
    ASSERT_TRUE(test::AddResourceSections(
        program_,
        {{"DB01INI", "[info]\r\nBAZA=x\r\n"}, {"DB01FULL", PatternBytes(70000)}, {"DB02INI", ""}}));
    module_ = std::make_unique<ElfResourceModule>(program_.string());
    ASSERT_TRUE(module_->Valid()) << module_->Error();
  }

  test::TempFolder scratch_;
  std::filesystem::path program_;
  std::unique_ptr<ElfResourceModule> module_;
};

TEST_F(ResourceFileTest, SizeIsTheByteCountZeroWhenEmptyAndMinusTwoWhenAbsent) {
  EXPECT_EQ(GetResourceSize(*module_, "DB01INI"), 16);
  EXPECT_EQ(GetResourceSize(*module_, "db01full"), 70000);
  EXPECT_EQ(GetResourceSize(*module_, "DB02INI"), 0);
  EXPECT_EQ(GetResourceSize(*module_, "DB02FULL"), -2);
}

TEST_F(ResourceFileTest, ResourceExistsOnlyWithAtLeastOneByte) {
  EXPECT_TRUE(ResourceExists(*module_, "DB01FULL"));
  EXPECT_FALSE(ResourceExists(*module_, "DB02INI"));
  EXPECT_FALSE(ResourceExists(*module_, "DB02FULL"));
}

TEST_F(ResourceFileTest, OpenResourceStreamsTheBytes) {
  const auto stream = OpenResource(*module_, "DB01INI");
  ASSERT_NE(stream, nullptr);
  std::string bytes(64, '\0');
  bytes.resize(static_cast<size_t>(stream->Read(bytes.data(), 64)));
  EXPECT_EQ(bytes, "[info]\r\nBAZA=x\r\n");
  EXPECT_EQ(OpenResource(*module_, "LIB7Z"), nullptr);
}

TEST_F(ResourceFileTest, ReadResourceBytesGivesTheWholeResourceUpToItsLimit) {
  EXPECT_EQ(ReadResourceBytes(*module_, "DB01FULL"), PatternBytes(70000));
  EXPECT_EQ(ReadResourceBytes(*module_, "DB02INI"), std::string());
  EXPECT_EQ(ReadResourceBytes(*module_, "DB02FULL"), std::nullopt);
  EXPECT_EQ(ReadResourceBytes(*module_, "DB01FULL", 69999), std::nullopt);
}

TEST(ResourceFileInvalidModuleTest, ModuleThatIsNoElfFileHasNoResources) {
  test::TempFolder scratch;
  const auto junk = scratch.Path() / "junk";
  test::WriteWholeFile(junk, PatternBytes(1000));
  const ElfResourceModule module(junk.string());
  EXPECT_EQ(GetResourceSize(module, "DB01INI"), kResourceAbsent);
  EXPECT_FALSE(ResourceExists(module, "DB01INI"));
}

}  // namespace
}  // namespace dbinst
