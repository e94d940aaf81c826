#include "env/GeneralMod.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kProcessorKey = "Hardware\\Description\\System\\CentralProcessor\\0";

// A prefix whose processor is fixed, so the first log lines do not depend on the host.
void FixProcessor(test::TempPrefix& prefix) {
  prefix.MachineKeys().SetValue(kProcessorKey, "ProcessorNameString", MakeRegText("Test CPU"));
  prefix.MachineKeys().SetValue(kProcessorKey, "Identifier", MakeRegText("AMD64 Family 25"));
  prefix.MachineKeys().SetValue(kProcessorKey, "~MHz", MakeRegDword(2400));
}

Lines OpeningBlock(const test::TempPrefix& prefix, const Lines& elderAndCurrent) {
  Lines lines = {"CPU: Test CPU, MHz: 2400", "System: WINNT (9, 64 bit)", "Admin rights: Present",
                 "Product name: Orvane",
                 "Installation files path: " + prefix.InstallerWindowsFolder()};
  lines.insert(lines.end(), elderAndCurrent.begin(), elderAndCurrent.end());
  lines.push_back("Program mode: Unknown");
  return lines;
}

const Lines kNoElderInstallations = {"Elder installation path found for Orvane: [NONE]",
                                     "Elder installation path found for Orvane Selka: [NONE]",
                                     "Elder installation path found for Kestrio: [NONE]"};

Lines FirstLines(TGeneralMod& module, size_t count) {
  const Lines& lines = module.Log().Lines();
  return Lines(lines.begin(),
               lines.begin() + static_cast<ptrdiff_t>(std::min(count, lines.size())));
}

TEST(GeneralModTest, NoArgumentsOpenTheLogWithTheCpuLine) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  FixProcessor(prefix);
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  EXPECT_EQ(FirstLines(module, 9), OpeningBlock(prefix, kNoElderInstallations));
  EXPECT_EQ(module.ProgramMode(), EProgramMode::DatabaseInstaller);
  EXPECT_EQ(module.InstallerFolder(), prefix.InstallerWindowsFolder());
  EXPECT_EQ(module.Text(23), "Next");
  EXPECT_TRUE(module.jezyki().empty());
}

TEST(GeneralModTest, FixtureInstallationsAreLoggedInLineOrder) {
  test::TempPrefix prefix(test::EFamilyKeys::Kept, test::EInstaller::OwnCopy);
  FixProcessor(prefix);
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  const std::string velmora = "C:\\Program Files (x86)\\Velmora\\";
  EXPECT_EQ(
      FirstLines(module, 12),
      OpeningBlock(
          prefix,
          {"Elder installation path found for Orvane: C:\\Orvane 1.7\\",
           "Elder installation path found for Orvane Selka: [NONE]",
           "Elder installation path found for Kestrio: C:\\Kestrio 5\\",
           "Current installation path found for \"Orvane\": " + velmora + "Orvane 2\\",
           "Current installation path found for \"Orvane Selka\": " + velmora + "Orvane Selka\\",
           "Current installation path found for \"Kestrio\": " + velmora + "Kestrio 6\\"}));
  EXPECT_EQ(module.CurrentInstallationFolder(EProductLine::Kestrio), velmora + "Kestrio 6\\");
  EXPECT_EQ(module.CurrentInstallationFolder(EProductLine::OrvaneDemo), "");
  EXPECT_EQ(module.PreviousInstallationFolder(EProductLine::Orvane), "C:\\Orvane 1.7\\");
  EXPECT_EQ(module.RunFromInstallations().size(), 3u);
}

TEST(GeneralModTest, ArgumentsAreLoggedFirstAndSwitchesAddTheirLines) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  FixProcessor(prefix);
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {"  /PATH:C:\\Some Dir  ", "/product:ks", "/update"});
  const Lines& lines = module.Log().Lines();
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(lines[0], "Parameter 1: /PATH:C:\\Some Dir");
  EXPECT_EQ(lines[1], "Parameter 2: /product:ks");
  EXPECT_EQ(lines[2], "Parameter 3: /update");
  EXPECT_EQ(lines[3], "CPU: Test CPU, MHz: 2400");
  EXPECT_EQ(lines[11], "Program mode: Unknown");
  EXPECT_EQ(lines[12], "Update path: C:\\Some Dir\\");
  EXPECT_EQ(lines[13], "Update product: Kestrio");
  EXPECT_EQ(module.UpdatePath(), "C:\\Some Dir\\");
}

TEST(GeneralModTest, UnknownProductAddsNoUpdateProductLine) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {"/product:xx"});
  EXPECT_EQ(module.UpdateProduct(), EProductLine::None);
  for (const std::string& line : module.Log().Lines()) {
    EXPECT_FALSE(line.starts_with("Update product:")) << line;
    EXPECT_FALSE(line.starts_with("Update path:")) << line;
    EXPECT_FALSE(line.starts_with("Current installation path found for")) << line;
  }
}

TEST(GeneralModTest, ScreenSaverIsSwitchedOffAfterConstruction) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  const auto key = machine->registry().OpenKey(RegRoot::CurrentUser, "Control Panel\\Desktop");
  ASSERT_NE(key, nullptr);
  const auto value = key->ReadValue("ScreenSaveActive");
  ASSERT_TRUE(value);
  EXPECT_EQ(RegValueText(*value), "0");
}

TEST(GeneralModTest, PolishUserSeesPolishTextsAndNumbers) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.UsePolishUser();
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  EXPECT_EQ(module.CurrentLanguageCode(), "lang0");
  EXPECT_EQ(module.Text(23), "Dalej");
  EXPECT_EQ(module.ProductName(EProductLine::OrvaneProDemo), "Orvane PRO Demo");
  EXPECT_EQ(module.ProductName(static_cast<EProductLine>(9)), "Orvane");
  EXPECT_EQ(module.DatabaseTypeName(EDatabaseType::Walls), "Baza danych ścian");
  EXPECT_EQ(module.DatabaseTypeName(EDatabaseType::None), "Inna baza danych");
  EXPECT_EQ(module.MegabyteText(12345LL * 1048576 + 786432),
            "12\xC2\xA0"
            "345,8");
}

TEST(GeneralModTest, EmptySetupIniGivesTheSelectedPolishEntry) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.WriteFile(prefix.InstallerFolder() / "Setup.ini", "");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  ASSERT_EQ(module.jezyki().size(), 1u);
  const TLanguageEntry& entry = module.jezyki()[0];
  EXPECT_EQ(entry.name, "POLSKI");
  EXPECT_EQ(entry.auxiliary, "0");
  EXPECT_EQ(entry.folder, prefix.InstallerWindowsFolder() + "wersje_jezykowe\\lang0");
  EXPECT_EQ(entry.code, "lang0");
  EXPECT_TRUE(entry.selected);
  // The probe loaded Polish, then English overlaid it; Polish-only keys stay Polish.
  EXPECT_EQ(module.Text(23), "Next");
}

TEST(GeneralModTest, ForcedLanguageLeavesOneSelectedEntry) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.WriteFile(prefix.InstallerFolder() / "Setup.ini",
                   "[Jezyki]\r\nPOLSKI%pl.txt%lang0\r\nENGLISH%en.txt%\r\nCZECH%cz.txt%lang2\r\n"
                   "FORCELANG = lang2 \r\nGERMAN%de.txt%lang3\r\n[ICAD]\r\n");
  prefix.WriteFile(prefix.InstallerFolder() / "cz.txt", "x");
  std::filesystem::create_directories(prefix.InstallerFolder() / "wersje_jezykowe" / "lang2");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  ASSERT_EQ(module.jezyki().size(), 1u);
  const TLanguageEntry& entry = module.jezyki()[0];
  EXPECT_EQ(entry.name, "CZECH");
  EXPECT_EQ(entry.auxiliary, "");
  EXPECT_EQ(entry.folder, prefix.InstallerWindowsFolder() + "wersje_jezykowe\\lang2");
  EXPECT_EQ(entry.code, "lang2");
  // The probe loaded the Czech section, which fills key 0.
  EXPECT_TRUE(entry.selected);
}

TEST(GeneralModTest, ProbeSelectsTheFirstEntryWhoseSectionExists) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.WriteFile(prefix.InstallerFolder() / "Setup.ini",
                   "[JEZYKI]\nCROATIAN%hr.txt%lang6\nENGLISH%en.txt\nPOLSKI%pl.txt%lang0\n[END]\n"
                   "[INFOPROD]\nLINE = ks \n");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  ASSERT_EQ(module.jezyki().size(), 3u);
  EXPECT_EQ(module.jezyki()[1].code, "ENGLISH");
  EXPECT_EQ(module.jezyki()[1].auxiliary, prefix.InstallerWindowsFolder() + "en.txt");
  EXPECT_EQ(module.jezyki()[1].folder, "");
  EXPECT_FALSE(module.jezyki()[0].selected);
  EXPECT_FALSE(module.jezyki()[1].selected);
  EXPECT_TRUE(module.jezyki()[2].selected);
  EXPECT_EQ(module.ConfiguredProductLine(), EProductLine::Kestrio);
  EXPECT_EQ(FirstLines(module, 4).back(), "Product name: Kestrio");
}

TEST(GeneralModTest, MissingOrEmptyTranslationResourceLeavesEveryTextEmpty) {
  for (const std::string change :
       {"--remove-section .rsrc.TxtTransl", "--update-section .rsrc.TxtTransl=/dev/null"}) {
    test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
    const std::string installer = (prefix.InstallerFolder() / "dbinstall").string();
    ASSERT_EQ(std::system(("objcopy " + change + " '" + installer + "'").c_str()), 0) << change;
    auto machine = prefix.OpenMachine();
    ASSERT_NE(machine, nullptr);
    TGeneralMod module(*machine, {});
    EXPECT_EQ(module.Text(0), "") << change;
    EXPECT_EQ(module.Text(23), "") << change;
    EXPECT_EQ(module.ProductName(EProductLine::Kestrio), "") << change;
  }
}

TEST(GeneralModTest, DestroyFreesTableLogAndLanguages) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.WriteFile(prefix.InstallerFolder() / "Setup.ini", "");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  module.DataModuleDestroy();
  EXPECT_EQ(module.Text(23), "");
  EXPECT_TRUE(module.Log().Lines().empty());
  EXPECT_TRUE(module.jezyki().empty());
}

TEST(GeneralModTest, MaterialsFolderFollowsTheLanguageWhenTheProgramHasIt) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  std::filesystem::create_directories(std::filesystem::path(prefix.driveC()) / "Orvane" /
                                      "materials");
  std::filesystem::create_directories(std::filesystem::path(prefix.driveC()) / "Kestrio");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TGeneralMod module(*machine, {});
  EXPECT_EQ(module.DatabaseFolder("C:\\Orvane", EDatabaseType::Materials),
            "C:\\Orvane\\Materials\\");
  EXPECT_EQ(module.DatabaseFolder("C:\\Kestrio\\", EDatabaseType::Materials),
            "C:\\Kestrio\\Materialy\\");
  EXPECT_EQ(module.DatabaseFolder("C:\\Kestrio", EDatabaseType::Cabinets), "C:\\Kestrio\\");
  EXPECT_EQ(module.DatabaseFolder("C:\\Kestrio", EDatabaseType::Tiles), "C:\\Kestrio\\Plytki\\");
  EXPECT_EQ(module.DatabaseFolder("C:\\Kestrio", EDatabaseType::Interiors),
            "C:\\Kestrio\\dodatki\\");
  EXPECT_EQ(module.DatabaseFolder("C:\\Kestrio", EDatabaseType::HouseholdAppliances),
            "C:\\Kestrio\\AGD\\");
  EXPECT_EQ(module.DatabaseFolder("C:\\Kestrio", EDatabaseType::Walls), "C:\\Kestrio\\WALLS\\");
  EXPECT_EQ(module.DatabaseFolder("C:\\Kestrio", EDatabaseType::None), "");
}

}  // namespace
}  // namespace dbinst
