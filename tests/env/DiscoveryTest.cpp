#include "env/Discovery.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

using L = EProductLine;

constexpr const char* kMachineInstallations = "Software\\Wow6432Node\\VELMORA\\INSTALLATIONS";
constexpr const char* kUserInstallations = "Software\\VELMORA\\INSTALLATIONS";

void Register(RegFileBuilder& keys, const std::string& installations, const char* code,
              const char* name, const char* path) {
  keys.SetValue(installations, code, MakeRegText(name));
  keys.SetValue(installations + "\\" + name, "PATH", MakeRegText(path));
}

TProductToFolderMap Current(Machine& machine) {
  TProductToFolderMap current;
  FindCurrentInstallations(machine.registry(), MakeProductToStringMap(MakeStringToProductMap()),
                           current);
  return current;
}

TEST(DiscoveryTest, FixtureAsWineWroteItGivesEveryKindOfInstallation) {
  test::TempPrefix prefix(test::EFamilyKeys::Kept, test::EInstaller::OwnCopy);
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  const TProductToFolderMap previous = FindPreviousInstallations(machine->registry());
  // Two values share the greatest number; the one listed first wins.
  EXPECT_EQ(previous, (TProductToFolderMap{{L::Orvane, "C:\\Orvane 1.7\\"},
                                           {L::Kestrio, "C:\\Kestrio 5\\"}}));
  TProductToFolderMap current = Current(*machine);
  EXPECT_EQ(current, (TProductToFolderMap{
                         {L::Orvane, "C:\\Program Files (x86)\\Velmora\\Orvane 2\\"},
                         {L::OrvaneSelka, "C:\\Program Files (x86)\\Velmora\\Orvane Selka\\"},
                         {L::Kestrio, "C:\\Program Files (x86)\\Velmora\\Kestrio 6\\"}}));
  TProductToFolderMap runFrom;
  ReadProgramKeys(machine->registry(), current, runFrom);
  const std::string orvane2 = "C:\\Program Files (x86)\\Velmora\\Orvane 2\\";
  EXPECT_EQ(runFrom,
            (TProductToFolderMap{
                {L::Orvane, orvane2}, {L::OrvaneSelka, orvane2}, {L::OrvaneDemo, orvane2}}));
  // The demo line would share line 1's folder, so it gets none.
  EXPECT_FALSE(current.contains(L::OrvaneDemo));
}

TEST(DiscoveryTest, GreatestNumberWinsAndOnlyEightByteDoublesAreCandidates) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  RegFileBuilder& user = prefix.UserKeys();
  const std::string key = "Software\\VELMORA\\ORVANE_SELKA\\INSTALLATIONS";
  user.SetValue(key, "C:\\A", MakeRegDword(99));
  user.SetValue(key, "C:\\B", MakeRegText("1e9"));
  user.SetValue(key, "C:\\C", RegValue{kRegBinary, {1, 2, 3, 4}});
  user.SetValue(key, "C:\\D", test::MakeRegDouble(2.5));
  user.SetValue(key, "C:\\E", test::MakeRegDouble(std::numeric_limits<double>::quiet_NaN()));
  user.SetValue(key, "C:\\F", test::MakeRegDouble(-1.0));
  user.SetValue(key, "", test::MakeRegDouble(1e300));
  user.SetValue("Software\\VELMORA\\KESTRIO\\INSTALLATIONS", "C:\\Bad", MakeRegDword(1));
  user.SetValue("Software\\VELMORA\\KESTRIO", "runfrom", MakeRegText("C:\\Kestrio 5"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  const TProductToFolderMap previous = FindPreviousInstallations(machine->registry());
  EXPECT_EQ(previous,
            (TProductToFolderMap{{L::OrvaneSelka, "C:\\D\\"}, {L::Kestrio, "C:\\Kestrio 5\\"}}));
}

TEST(DiscoveryTest, EqualNumbersKeepTheValueListedFirst) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  const std::string key = "Software\\VELMORA\\ORVANE\\INSTALLATIONS";
  prefix.UserKeys().SetValue(key, "C:\\First", test::MakeRegDouble(7.0));
  prefix.UserKeys().SetValue(key, "C:\\Second", test::MakeRegDouble(7.0));
  prefix.UserKeys().SetValue(key, "C:\\Third", test::MakeRegDouble(6.0));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_EQ(FindPreviousInstallations(machine->registry()).at(L::Orvane), "C:\\First\\");
}

TEST(DiscoveryTest, MachineRegistrationWinsOverUserRegistration) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  Register(prefix.MachineKeys(), kMachineInstallations, "OVS", "SelkaM", "C:\\Machine Selka");
  Register(prefix.UserKeys(), kUserInstallations, "OVS", "SelkaU", "C:\\User Selka");
  Register(prefix.UserKeys(), kUserInstallations, "KS", "Kestrio6", "C:\\User Kestrio\\");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_EQ(Current(*machine), (TProductToFolderMap{{L::OrvaneSelka, "C:\\Machine Selka\\"},
                                                    {L::Kestrio, "C:\\User Kestrio\\"}}));
}

TEST(DiscoveryTest, OneFolderIsNeverRecordedForTwoLines) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  Register(prefix.MachineKeys(), kMachineInstallations, "OV", "Orvane2", "C:\\Velmora\\Orvane");
  Register(prefix.MachineKeys(), kMachineInstallations, "OVD", "Demo", " c:\\velmora\\ORVANE\\ ");
  Register(prefix.UserKeys(), kUserInstallations, "OVPRO", "Pro", "C:\\VELMORA\\orvane");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_EQ(Current(*machine), (TProductToFolderMap{{L::Orvane, "C:\\Velmora\\Orvane\\"}}));
}

TEST(DiscoveryTest, EmptyOrMissingRegistrationsAreSkipped) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  RegFileBuilder& keys = prefix.MachineKeys();
  keys.SetValue(kMachineInstallations, "OV", MakeRegText(""));
  keys.SetValue(kMachineInstallations, "OVS", MakeRegText("NoSuchKey"));
  keys.SetValue(kMachineInstallations, "OVD", MakeRegDword(3));
  Register(keys, kMachineInstallations, "KS", "EmptyPath", "");
  // The Wow6432Node copy hides the native key from a 32-bit program.
  Register(keys, "Software\\VELMORA\\INSTALLATIONS", "OVPROD", "ProDemo", "C:\\Pro Demo");
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_EQ(Current(*machine), (TProductToFolderMap{}));
}

TEST(DiscoveryTest, RunFromFillsOnlyLinesWithoutFolderAndUnusedFolders) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  Register(prefix.MachineKeys(), kMachineInstallations, "OV", "Orvane2", "C:\\Registered");
  prefix.UserKeys().SetValue("Software\\VELMORA\\ORVANE2", "runfrom", MakeRegText("C:\\Other"));
  prefix.UserKeys().SetValue("Software\\VELMORA\\KESTRIO6", "runfrom", MakeRegText(""));
  prefix.UserKeys().SetValue("Software\\VELMORA\\ORVANEPRO", "runfrom", MakeRegText("c:\\other\\"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  TProductToFolderMap current = Current(*machine);
  TProductToFolderMap runFrom;
  ReadProgramKeys(machine->registry(), current, runFrom);
  EXPECT_EQ(runFrom.at(L::Orvane), "C:\\Other\\");
  EXPECT_EQ(runFrom.at(L::OrvanePro), "c:\\other\\");
  EXPECT_FALSE(runFrom.contains(L::Kestrio));
  EXPECT_EQ(current, (TProductToFolderMap{{L::Orvane, "C:\\Registered\\"},
                                          {L::OrvaneSelka, "C:\\Other\\"}}));
}

TEST(DiscoveryTest, MainFolderMustBeAnExistingVelmoraFolderAtADriveRoot) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  std::filesystem::create_directories(std::filesystem::path(prefix.driveC()) / "Velmora");
  std::filesystem::create_directories(std::filesystem::path(prefix.driveC()) / "Other");
  prefix.MachineKeys().SetValue("Software\\Wow6432Node\\VELMORA\\MAINPATHS", "RootPath",
                                MakeRegText("C:\\Other"));
  prefix.UserKeys().SetValue("Software\\VELMORA\\MAINPATHS", "RootPath",
                             MakeRegText("  c:\\VELMORA\\ "));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_EQ(FindFamilyMainFolder(machine->registry(), machine->files()), "c:\\VELMORA\\");
}

TEST(DiscoveryTest, MainFolderThatDoesNotExistIsNotKept) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.MachineKeys().SetValue("Software\\Wow6432Node\\VELMORA\\MAINPATHS", "RootPath",
                                MakeRegText("C:\\Velmora"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_EQ(FindFamilyMainFolder(machine->registry(), machine->files()), "");
}

}  // namespace
}  // namespace dbinst
