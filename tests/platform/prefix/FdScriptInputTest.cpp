#include "platform/prefix/FdScriptInput.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "tests/TempFolder.h"

namespace dbinst {
namespace {

std::unique_ptr<FdScriptInput> OpenWith(const test::TempFolder& folder, const std::string& text) {
  const std::string path = folder.File("script.txt");
  std::ofstream(path, std::ios::binary) << text;
  std::string error;
  return FdScriptInput::Open(path, error);
}

// Redirects standard input to a pipe for one test, so that "-" reads what the test writes.
class PipedStandardInput {
 public:
  PipedStandardInput() {
    int ends[2];
    EXPECT_EQ(::pipe(ends), 0);
    saved_ = ::dup(0);
    ::dup2(ends[0], 0);
    ::close(ends[0]);
    writeEnd_ = ends[1];
  }
  ~PipedStandardInput() {
    CloseWriting();
    ::dup2(saved_, 0);
    ::close(saved_);
  }
  void Write(const std::string& text) {
    EXPECT_EQ(::write(writeEnd_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void CloseWriting() {
    if (writeEnd_ >= 0) ::close(writeEnd_);
    writeEnd_ = -1;
  }

 private:
  int saved_ = -1;
  int writeEnd_ = -1;
};

TEST(FdScriptInputTest, FileLinesComeWithoutLineBreaksAndTheLastOneWithoutNewlineToo) {
  test::TempFolder folder;
  auto input = OpenWith(folder, "click ButtonMkay\r\n\nwait 250\ndump");
  ASSERT_TRUE(input);
  std::string line;
  ASSERT_EQ(input->ReadLine(line, 0), EScriptRead::Line);
  EXPECT_EQ(line, "click ButtonMkay");
  ASSERT_EQ(input->ReadLine(line, 0), EScriptRead::Line);
  EXPECT_EQ(line, "");
  ASSERT_EQ(input->ReadLine(line, 0), EScriptRead::Line);
  EXPECT_EQ(line, "wait 250");
  ASSERT_EQ(input->ReadLine(line, -1), EScriptRead::Line);
  EXPECT_EQ(line, "dump");
  EXPECT_EQ(input->ReadLine(line, -1), EScriptRead::End);
  EXPECT_EQ(input->ReadLine(line, 0), EScriptRead::End);
}

TEST(FdScriptInputTest, AMissingFileIsRefusedWithItsName) {
  std::string error;
  EXPECT_FALSE(FdScriptInput::Open("/nonexistent/script.txt", error));
  EXPECT_NE(error.find("/nonexistent/script.txt"), std::string::npos);
}

TEST(FdScriptInputTest, AnOverlongLineIsCutAndItsRestSkipped) {
  test::TempFolder folder;
  auto input = OpenWith(folder, "click " + std::string(200000, 'x') + "\nlog\n");
  ASSERT_TRUE(input);
  std::string line;
  ASSERT_EQ(input->ReadLine(line, -1), EScriptRead::Line);
  EXPECT_EQ(line.substr(0, 6), "click ");
  EXPECT_LE(line.size(), 64u * 1024 + 4096);
  ASSERT_EQ(input->ReadLine(line, -1), EScriptRead::Line);
  EXPECT_EQ(line, "log");
  EXPECT_EQ(input->ReadLine(line, -1), EScriptRead::End);
}

TEST(FdScriptInputTest, StandardInputGivesLinesAsTheyArriveWithoutWaiting) {
  PipedStandardInput piped;
  std::string error;
  auto input = FdScriptInput::Open("-", error);
  ASSERT_TRUE(input);
  std::string line;
  EXPECT_EQ(input->ReadLine(line, 0), EScriptRead::NotYet);
  piped.Write("key En");
  EXPECT_EQ(input->ReadLine(line, 20), EScriptRead::NotYet);
  piped.Write("ter\nclose\n");
  ASSERT_EQ(input->ReadLine(line, 0), EScriptRead::Line);
  EXPECT_EQ(line, "key Enter");
  ASSERT_EQ(input->ReadLine(line, 0), EScriptRead::Line);
  EXPECT_EQ(line, "close");
  piped.CloseWriting();
  EXPECT_EQ(input->ReadLine(line, -1), EScriptRead::End);
}

}  // namespace
}  // namespace dbinst
