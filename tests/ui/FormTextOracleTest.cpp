// Our form compiler against Free Pascal's ObjectTextToBinary, compiled here from source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/TempFolder.h"
#include "tests/support/RunProcess.h"
#include "ui/FormStreamReader.h"
#include "ui/FormStreamWriter.h"
#include "ui/FormText.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

const fs::path kForms = fs::path(DBINST_TEST_FIXTURES) / "forms";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::string FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const fs::path candidate = fs::path(folder) / program;
    if (fs::exists(candidate)) return candidate.string();
  }
  return {};
}

std::vector<fs::path> TextForms() {
  std::vector<fs::path> forms;
  for (const auto& entry : fs::directory_iterator(kForms)) {
    if (entry.path().extension() == ".txt") forms.push_back(entry.path());
  }
  std::sort(forms.begin(), forms.end());
  return forms;
}

class FormTextOracleTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new test::TempFolder();
    const std::string fpc = FindOnPath("fpc");
    ASSERT_FALSE(fpc.empty()) << "Free Pascal (fpc) is not installed; scripts/deps.sh installs it";
    const test::ProcessResult built =
        test::RunProcess(fpc,
                         {"-O1", "-FE" + folder_->Path().string(), "-o" + Oracle(),
                          (kForms / "text2bin.pas").string()},
                         {});
    ASSERT_EQ(built.exitCode, 0) << built.out << built.err;
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  static std::string Oracle() { return folder_->File("text2bin"); }

  static std::string CompileWithFreePascal(const fs::path& form) {
    const std::string output = folder_->File(form.stem().string() + ".bin");
    const test::ProcessResult run = test::RunProcess(Oracle(), {form.string(), output}, {});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    return ReadFile(output);
  }

  static test::TempFolder* folder_;
};

test::TempFolder* FormTextOracleTest::folder_ = nullptr;

TEST_F(FormTextOracleTest, EveryFixtureFormCompilesToFreePascalsBytes) {
  ASSERT_GE(TextForms().size(), 3u);
  for (const fs::path& form : TextForms()) {
    SCOPED_TRACE(form.filename().string());
    const std::string expected = CompileWithFreePascal(form);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(CompileFormText(ReadFile(form)), expected);
  }
}

TEST_F(FormTextOracleTest, FreePascalsStreamsReadBackToTheSameBytes) {
  for (const fs::path& form : TextForms()) {
    SCOPED_TRACE(form.filename().string());
    const std::string stream = CompileWithFreePascal(form);
    EXPECT_EQ(WriteFormStream(ReadFormStream(stream)), stream);
  }
}

TEST_F(FormTextOracleTest, TheSampleLayoutOfTheResourcesCompilesAsFreePascalCompilesIt) {
  const fs::path sample = fs::path(DBINST_SOURCE_DIR) / "resources" / "forms" / "TGENERALMOD.txt";
  EXPECT_EQ(CompileFormText(ReadFile(sample)), CompileWithFreePascal(sample));
}

// The stored layouts as the build expands and compiles them, pictures and style libraries included.
TEST_F(FormTextOracleTest, EveryStoredFormExpandedCompilesToFreePascalsBytes) {
  const fs::path built =
      fs::path(DBINST_INSTALLER_PATH).parent_path().parent_path() / "resources" / "forms";
  for (const char* name :
       {"TFORMMAINDBINSTALL", "TFORMMESSAGE", "TFORMFOLDERBROWSER", "TGENERALMOD"}) {
    SCOPED_TRACE(name);
    const fs::path expanded = built / (std::string(name) + ".expanded.txt");
    ASSERT_TRUE(fs::exists(expanded));
    const std::string expected = CompileWithFreePascal(expanded);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(CompileFormText(ReadFile(expanded)), expected);
    EXPECT_EQ(ReadFile(built / (std::string(name) + ".bin")), expected);
  }
}

}  // namespace
}  // namespace dbinst
