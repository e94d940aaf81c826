#include "tools/packer/Packer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "payload/SevenZipReader.h"
#include "platform/prefix/ElfSectionTable.h"
#include "tests/TempFolder.h"
#include "tests/support/ElfFiles.h"
#include "tools/packer/ToolProcess.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;
using test::ReadWholeFile;
using test::WriteWholeFile;

const std::string kPassword(kArchivePassword);
const std::string kTilesIni =
    "[info]\r\nBAZA=Tiles 2026\r\n[INSTALL]\r\nTYPE=TILES\r\nTARGETNAME=Tiles2026\r\n";

class PackerTest : public ::testing::Test {
 protected:
  // A real 7z archive of files of the given sizes, made by 7zz with extra switches.
  std::string Archive(const std::string& name, const std::vector<size_t>& sizes,
                      std::vector<std::string> switches = {}) {
    const fs::path content = folder.Path() / (name + ".content");
    fs::create_directories(content / "sub");
    for (size_t i = 0; i < sizes.size(); ++i) {
      WriteWholeFile(content / "sub" / ("f" + std::to_string(i)),
                     test::PatternBytes(sizes[i], i + 1));
    }
    const std::string archive = folder.File(name + ".7z");
    std::vector<std::string> arguments = {"a", "-bd", "-t7z", archive, (content / "sub").string()};
    arguments.insert(arguments.end(), switches.begin(), switches.end());
    EXPECT_EQ(RunTool("7zz", arguments).exitCode, 0);
    return archive;
  }

  std::string Ini(const std::string& name, const std::string& text) {
    WriteWholeFile(folder.File(name), text);
    return folder.File(name);
  }

  std::string Refusal(const std::string& iniText, const std::string& archive) {
    CheckedPackage checked;
    std::string error;
    EXPECT_FALSE(CheckPackage({Ini("p.ini", iniText), archive}, checked, error));
    return error;
  }

  test::TempFolder folder;
};

TEST_F(PackerTest, MissingTargetSizeIsFilledFromTheArchivesUnpackedSize) {
  const std::string archive = Archive("a", {1000, 2345}, {"-p" + kPassword, "-mhe=on"});
  CheckedPackage checked;
  std::string error;
  ASSERT_TRUE(CheckPackage({Ini("a.ini", kTilesIni), archive}, checked, error)) << error;
  EXPECT_EQ(checked.unpackedSize, 3345);
  EXPECT_NE(checked.iniBytes.find("[INSTALL]\r\nTARGETSIZE=3345\r\nTYPE=TILES"), std::string::npos);

  const std::string given = kTilesIni + "TARGETSIZE=12\r\n";
  ASSERT_TRUE(CheckPackage({Ini("b.ini", given), archive}, checked, error)) << error;
  EXPECT_EQ(checked.iniBytes, given);
}

TEST_F(PackerTest, DescriptionsThatTheInstallerWouldDropAreRefused) {
  const std::string archive = Archive("a", {10});
  EXPECT_NE(Refusal("[INSTALL]\r\nTYPE=tiles\r\n", archive).find("TYPE \"tiles\""),
            std::string::npos);
  EXPECT_NE(Refusal("[info]\r\nDATA=1\r\n", archive).find("TYPE \"\""), std::string::npos);
  EXPECT_NE(Refusal("[INSTALL]\r\nTYPE=HHD\r\n", archive).find("BAZA is missing"),
            std::string::npos);
  EXPECT_NE(Refusal("[info]\r\nBAZA=X\r\n[INSTALL]\r\nTYPE=TILES\r\nTARGETNAME=..\\..\\windows\r\n",
                    archive)
                .find("TARGETNAME"),
            std::string::npos);
  CheckedPackage checked;
  std::string error;
  EXPECT_FALSE(CheckPackage({folder.File("absent.ini"), archive}, checked, error));
  EXPECT_NE(error.find("cannot be read"), std::string::npos);
  EXPECT_TRUE(CheckPackage({Ini("w.ini", "[INSTALL]\r\nTYPE=WALLS\r\n"), archive}, checked, error))
      << error;
}

TEST_F(PackerTest, ArchivesThatDoNotOpenWithThePasswordAreRefused) {
  const std::string otherHeaders = Archive("h", {10}, {"-pother", "-mhe=on"});
  EXPECT_NE(Refusal(kTilesIni, otherHeaders).find("does not open"), std::string::npos);
  const std::string otherContent = Archive("c", {10}, {"-pother"});
  EXPECT_NE(Refusal(kTilesIni, otherContent).find("does not unpack"), std::string::npos);
  const std::string good = Archive("g", {5000});
  const std::string bytes = ReadWholeFile(good);
  WriteWholeFile(folder.File("t.7z"), bytes.substr(0, bytes.size() / 2));
  EXPECT_NE(Refusal(kTilesIni, folder.File("t.7z")).find("t.7z"), std::string::npos);
  EXPECT_NE(Refusal(kTilesIni, folder.File("absent.7z")).find("does not exist"), std::string::npos);
}

std::string SectionBytes(const std::string& file, const std::string& name) {
  const ElfSectionTable table = ReadElfSectionTable(file);
  for (const ElfSection& section : table.sections) {
    if (section.name == name) {
      return ReadWholeFile(file).substr(section.offset, section.size);
    }
  }
  return "<absent>";
}

TEST_F(PackerTest, PackagesReplaceTheInstallersOwnAndOtherResourcesAreReplacedByName) {
  const fs::path installer = test::CopyOfSystemProgram(folder.Path());
  ASSERT_TRUE(test::AddResourceSections(installer, {{"DB01INI", "old"},
                                                    {"DB01FULL", "old"},
                                                    {"DB02INI", "old"},
                                                    {"DB02FULL", "old"},
                                                    {"LIB7Z", "old"},
                                                    {"TxtTransl", "texts"}}));
  const std::string archive = Archive("a", {700});
  WriteWholeFile(folder.File("7z.dll"), "new library");
  PackRequest request;
  request.installer = installer.string();
  request.output = folder.File("packed");
  request.packages = {{Ini("a.ini", kTilesIni), archive}};
  request.resources = {{"LIB7Z", folder.File("7z.dll")}};
  std::string error;
  ASSERT_TRUE(PackInstaller(request, error)) << error;

  const std::string packed = request.output;
  EXPECT_NE(SectionBytes(packed, ".rsrc.DB01INI").find("TARGETSIZE=700"), std::string::npos);
  EXPECT_EQ(SectionBytes(packed, ".rsrc.DB01FULL"), ReadWholeFile(archive));
  EXPECT_EQ(SectionBytes(packed, ".rsrc.DB01CP"), "1250");
  EXPECT_EQ(SectionBytes(packed, ".rsrc.DB02INI"), "<absent>");
  EXPECT_EQ(SectionBytes(packed, ".rsrc.LIB7Z"), "new library");
  EXPECT_EQ(SectionBytes(packed, ".rsrc.TxtTransl"), "texts");
  EXPECT_EQ(RunTool(packed, {}).exitCode, 0);
  EXPECT_FALSE(fs::exists(packed + ".packing"));
}

TEST_F(PackerTest, EachDescriptionKeepsItsBytesAndCarriesItsCodePageBeside) {
  const fs::path installer = test::CopyOfSystemProgram(folder.Path());
  const std::string cp1250 =
      "[info]\r\nBAZA=Ceramika Parady\xBF 2013\r\n[INSTALL]\r\nTYPE=TILES\r\n"
      "TARGETNAME=Paradyz\r\nTARGETSIZE=10\r\n";
  const std::string utf8 = "\xEF\xBB\xBF" + kTilesIni + "TARGETSIZE=10\r\n";
  PackRequest request;
  request.installer = installer.string();
  request.output = folder.File("packed");
  request.packages = {{Ini("a.ini", cp1250), Archive("a", {10})},
                      {Ini("b.ini", cp1250), Archive("b", {10}), 1252},
                      {Ini("c.ini", utf8), Archive("c", {10}), 1252}};
  std::string error;
  ASSERT_TRUE(PackInstaller(request, error)) << error;
  EXPECT_EQ(SectionBytes(request.output, ".rsrc.DB01INI"), cp1250);
  EXPECT_EQ(SectionBytes(request.output, ".rsrc.DB01CP"), "1250");
  EXPECT_EQ(SectionBytes(request.output, ".rsrc.DB02CP"), "1252");
  EXPECT_EQ(SectionBytes(request.output, ".rsrc.DB03CP"), "65001");
}

TEST_F(PackerTest, AnArchiveWithAnItemLeavingItsFolderIsRefusedByName) {
  const fs::path content = folder.Path() / "evil" / "inner";
  fs::create_directories(content);
  WriteWholeFile(content / "ok.txt", "ok");
  WriteWholeFile(folder.Path() / "evil" / "victim.txt", "escaped");
  const std::string archive = folder.File("evil.7z");
  ASSERT_EQ(RunTool("/bin/sh", {"-c", "cd '" + content.string() + "' && 7zz a -bd -t7z -spf '" +
                                          archive + "' ok.txt ../victim.txt"})
                .exitCode,
            0);
  const std::string error = Refusal(kTilesIni, archive);
  EXPECT_NE(error.find("\"../victim.txt\""), std::string::npos) << error;
}

TEST_F(PackerTest, ARefusedPackageLeavesNoOutput) {
  const fs::path installer = test::CopyOfSystemProgram(folder.Path());
  PackRequest request;
  request.installer = installer.string();
  request.output = folder.File("packed");
  request.packages = {{Ini("a.ini", kTilesIni), Archive("a", {10})},
                      {Ini("b.ini", "[INSTALL]\r\nTYPE=NONE\r\n"), Archive("b", {10})}};
  std::string error;
  EXPECT_FALSE(PackInstaller(request, error));
  EXPECT_NE(error.find("b.ini"), std::string::npos);
  EXPECT_FALSE(fs::exists(request.output));
  request.packages.pop_back();
  request.resources = {{"LIB7Z", folder.File("absent.dll")}};
  EXPECT_FALSE(PackInstaller(request, error));
  EXPECT_NE(error.find("absent.dll"), std::string::npos);
  EXPECT_FALSE(fs::exists(request.output));
}

}  // namespace
}  // namespace dbinst
