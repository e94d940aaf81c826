#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TempFolder.h"
#include "tests/support/RunProcess.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

const fs::path kSource = DBINST_SOURCE_DIR;

// A copy of the layers' sources, so that wrong includes can be planted without touching the tree.
class LayerCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* layer : {"platform", "env", "payload", "engine", "ui", "app"}) {
      fs::copy(kSource / layer, folder.Path() / layer, fs::copy_options::recursive);
    }
  }
  void Plant(const std::string& file, const std::string& line) {
    std::ofstream(folder.Path() / file, std::ios::app) << line << "\n";
  }
  test::ProcessResult Check() {
    return test::RunProcess(
        "/usr/bin/python3",
        {(kSource / "scripts/check-layers.py").string(), "--root", folder.Path().string()}, {});
  }

  test::TempFolder folder;
};

TEST_F(LayerCheckTest, TheTreeAsItStandsKeepsTheOrder) {
  const test::ProcessResult result = Check();
  EXPECT_EQ(result.exitCode, 0) << result.err;
}

TEST_F(LayerCheckTest, AnIncludeOfAHigherLayerFailsWithItsFileAndLine) {
  Plant("engine/DoDbInstallThings.cpp", "#include \"ui/TvgProgressBar.h\"");
  Plant("payload/MyFileOp.cpp", "#include \"engine/DoDbInstallThings.h\"");
  Plant("ui/TvgForm.cpp", "#include \"env/MessagePump.h\"");
  Plant("platform/Text.cpp", "#include \"env/GeneralMod.h\"");
  const test::ProcessResult result = Check();
  EXPECT_EQ(result.exitCode, 1);
  for (const char* expected :
       {"engine/DoDbInstallThings.cpp:", "engine/ may not include ui/TvgProgressBar.h",
        "payload/ may not include engine/DoDbInstallThings.h", "ui/ may not include env/",
        "platform/ may not include env/GeneralMod.h", "4 include(s)"}) {
    EXPECT_NE(result.err.find(expected), std::string::npos) << expected << "\n" << result.err;
  }
}

TEST_F(LayerCheckTest, OperatingSystemHeadersAndMachinesBelongBelowTheCore) {
  Plant("env/GeneralMod.cpp", "#include <unistd.h>");
  Plant("ui/TvgForm.cpp", "#include <SDL2/SDL.h>");
  Plant("engine/ShellOpsUse.h", "#include \"platform/prefix/PrefixMachine.h\"");
  // The machines themselves and the entry may.
  Plant("platform/prefix/PrefixMachine.cpp", "#include <sys/stat.h>");
  Plant("app/main.cpp", "#include \"platform/prefix/PrefixMachine.h\"");
  const test::ProcessResult result = Check();
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("env/GeneralMod.cpp"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("<SDL2/SDL.h>"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("only the entry picks a machine"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("3 include(s)"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace dbinst
