// The formc command as the build runs it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/TempFolder.h"
#include "tests/support/RunProcess.h"
#include "ui/FormStreamReader.h"
#include "ui/FormText.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

std::string Formc() {
  return (fs::path(DBINST_INSTALLER_PATH).parent_path().parent_path() / "tools" / "formc").string();
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

TEST(FormCompilerTest, WritesTheCompiledForm) {
  test::TempFolder folder;
  const std::string text = "object A: TA\n  Caption = 'Ok'\nend\n";
  WriteFile(folder.File("a.txt"), text);
  const test::ProcessResult run =
      test::RunProcess(Formc(), {folder.File("a.txt"), folder.File("a.bin")}, {});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(ReadFile(folder.File("a.bin")), CompileFormText(text));
}

TEST(FormCompilerTest, AFaultyFormIsReportedWithItsLineAndLeavesTheOldOutput) {
  test::TempFolder folder;
  WriteFile(folder.File("bad.txt"), "object A: TA\n  Caption = 'open\nend\n");
  WriteFile(folder.File("bad.bin"), "previous");
  const test::ProcessResult run =
      test::RunProcess(Formc(), {folder.File("bad.txt"), folder.File("bad.bin")}, {});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("bad.txt: line 2, column 18: string not closed"), std::string::npos)
      << run.err;
  EXPECT_EQ(ReadFile(folder.File("bad.bin")), "previous");
  EXPECT_FALSE(fs::exists(folder.File("bad.bin.partial")));
}

TEST(FormCompilerTest, AFormTooLargeForTheReaderIsRefused) {
  test::TempFolder folder;
  std::string elements = "a";
  for (int i = 0; i < 200'000; ++i) elements += ",a";
  WriteFile(folder.File("big.txt"), "object A: TA\n  P = [" + elements + "]\nend\n");
  const test::ProcessResult run =
      test::RunProcess(Formc(), {folder.File("big.txt"), folder.File("big.bin")}, {});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("more than 200000 values"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder.File("big.bin")));
}

TEST(FormCompilerTest, AMissingInputOrUnwritableOutputFails) {
  test::TempFolder folder;
  WriteFile(folder.File("a.txt"), "object A: TA\nend\n");
  const test::ProcessResult missing =
      test::RunProcess(Formc(), {folder.File("none.txt"), folder.File("a.bin")}, {});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
  const test::ProcessResult unwritable =
      test::RunProcess(Formc(), {folder.File("a.txt"), folder.File("no/such/folder/a.bin")}, {});
  EXPECT_EQ(unwritable.exitCode, 1);
  EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

TEST(FormCompilerTest, IncludesComeFromTheIncludeFoldersInOrderThenBesideTheInput) {
  test::TempFolder folder;
  fs::create_directories(folder.File("first"));
  fs::create_directories(folder.File("second"));
  fs::create_directories(folder.File("form/styles"));
  WriteFile(folder.File("first/a.png"), "first");
  WriteFile(folder.File("second/a.png"), "second");
  WriteFile(folder.File("second/b.png"), "second b");
  WriteFile(folder.File("form/a.png"), "beside");
  WriteFile(folder.File("form/styles/lib.txt"), "object L: TL\n  P = {picture b.png}\nend\n");
  const std::string text =
      "object A: TA\n  P = {picture a.png}\n  R = {form styles/lib.txt}\nend\n";
  WriteFile(folder.File("form/a.txt"), text);
  const test::ProcessResult run = test::RunProcess(
      Formc(),
      {"--include-dir", folder.File("first"), "--include-dir", folder.File("second"), "--expanded",
       folder.File("a.expanded.txt"), folder.File("form/a.txt"), folder.File("a.bin")},
      {});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::string expanded = ReadFile(folder.File("a.expanded.txt"));
  EXPECT_EQ(expanded.find('{' + std::string("picture")), std::string::npos);
  EXPECT_EQ(ReadFile(folder.File("a.bin")), CompileFormText(expanded));
  const TFormObject form = ReadFormStream(ReadFile(folder.File("a.bin")));
  EXPECT_EQ(form.Find("P")->bytes, "first");
  EXPECT_EQ(ReadNestedFormStream(*form.Find("R")).Find("P")->bytes, "second b");
}

TEST(FormCompilerTest, AMissingIncludeFailsWithItsLineAndWritesNothing) {
  test::TempFolder folder;
  WriteFile(folder.File("a.txt"), "object A: TA\n  P = {picture gone.png}\nend\n");
  const test::ProcessResult run = test::RunProcess(
      Formc(),
      {"--expanded", folder.File("a.expanded.txt"), folder.File("a.txt"), folder.File("a.bin")},
      {});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("a.txt: line 2, column 7: cannot read included file 'gone.png'"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(folder.File("a.bin")));
  EXPECT_FALSE(fs::exists(folder.File("a.expanded.txt")));
}

TEST(FormCompilerTest, UnknownOptionsAndMissingArgumentsShowTheUsage) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--bogus", "a.txt", "a.bin"},
        {"a.txt"},
        {"--include-dir"},
        {"a.txt", "a.bin", "--expanded"}}) {
    const test::ProcessResult run = test::RunProcess(Formc(), args, {});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
  }
}

}  // namespace
}  // namespace dbinst
