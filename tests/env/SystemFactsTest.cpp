#include "env/SystemFacts.h"

#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "tests/support/TempPrefix.h"

namespace dbinst {
namespace {

constexpr const char* kProcessorKey = "Hardware\\Description\\System\\CentralProcessor\\0";

std::string ScreenSaveActive(Machine& machine) {
  const auto key = machine.registry().OpenKey(RegRoot::CurrentUser, "Control Panel\\Desktop");
  if (!key) return "<no key>";
  const auto value = key->ReadValue("ScreenSaveActive");
  return value ? RegValueText(*value).value_or("<not text>") : "<no value>";
}

TEST(SystemFactsTest, EmptyProcessorNameFallsBackToIdentifierAndScreenSaverIsSwitchedOff) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.MachineKeys().SetValue(kProcessorKey, "ProcessorNameString", MakeRegText("  "));
  prefix.MachineKeys().SetValue(kProcessorKey, "Identifier",
                                MakeRegText("AMD64 Family 25 Model 33 Stepping 0"));
  prefix.MachineKeys().SetValue(kProcessorKey, "~MHz", MakeRegDword(3400));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  ASSERT_EQ(ScreenSaveActive(*machine), "1");
  ProcessorFacts facts;
  EXPECT_TRUE(GatherProcessorFacts(machine->registry(), facts));
  EXPECT_EQ(facts.name, "AMD64 Family 25 Model 33 Stepping 0");
  EXPECT_EQ(facts.speedMhz, 3400);
  EXPECT_EQ(ScreenSaveActive(*machine), "0");
  EXPECT_NE(prefix.ReadFile(std::filesystem::path(prefix.path()) / "user.reg")
                .find("\"ScreenSaveActive\"=\"0\""),
            std::string::npos);
}

TEST(SystemFactsTest, ProcessorNameNieznanyAlsoFallsBackToIdentifier) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.MachineKeys().SetValue(kProcessorKey, "ProcessorNameString", MakeRegText("Nieznany"));
  prefix.MachineKeys().SetValue(kProcessorKey, "Identifier", MakeRegText("x86 Family 6"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  ProcessorFacts facts;
  EXPECT_TRUE(GatherProcessorFacts(machine->registry(), facts));
  EXPECT_EQ(facts.name, "x86 Family 6");
  EXPECT_EQ(facts.speedMhz, 0);
}

TEST(SystemFactsTest, ValueOfWrongTypeEndsTheStepWithTheFactsSoFar) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.MachineKeys().SetValue(kProcessorKey, "ProcessorNameString", MakeRegText("Real CPU"));
  prefix.MachineKeys().SetValue(kProcessorKey, "~MHz", MakeRegText("fast"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  ProcessorFacts facts;
  EXPECT_FALSE(GatherProcessorFacts(machine->registry(), facts));
  EXPECT_EQ(facts.name, "Real CPU");
  EXPECT_EQ(facts.speedMhz, 0);
}

TEST(SystemFactsTest, WindowsSevenPrefixWithSixtyFourBitProcessor) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.MachineKeys().SetValue(kProcessorKey, "Identifier",
                                MakeRegText("Intel64 Family 6 Model 158 Stepping 10"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  WindowsFacts facts;
  EXPECT_TRUE(GatherWindowsFacts(machine->registry(), machine->system(), facts));
  EXPECT_EQ(facts.family, "WINNT");
  EXPECT_EQ(facts.versionCode, 9);
  EXPECT_TRUE(facts.isNT);
  EXPECT_TRUE(facts.is64Bit);
  EXPECT_EQ(facts.systemLanguageCode, "lang1");
}

TEST(SystemFactsTest, X86IdentifierMeansThirtyTwoBitsEvenWithWow6432Node) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.MachineKeys().SetValue(kProcessorKey, "Identifier",
                                MakeRegText("x86 Family 6 Model 15 Stepping 11"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_TRUE(machine->registry().OpenKey(RegRoot::LocalMachine, "\\SOFTWARE\\Wow6432Node"));
  EXPECT_FALSE(Is64BitWindows(machine->registry()));
}

TEST(SystemFactsTest, NoWow6432NodeMeansThirtyTwoBits) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.RemoveFixtureSections("Wow6432Node");
  prefix.MachineKeys().SetValue(kProcessorKey, "Identifier", MakeRegText("AMD64 Family 25"));
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  EXPECT_FALSE(Is64BitWindows(machine->registry()));
}

TEST(SystemFactsTest, PolishUserGetsPolishLanguage) {
  test::TempPrefix prefix(test::EFamilyKeys::Removed, test::EInstaller::OwnCopy);
  prefix.UsePolishUser();
  auto machine = prefix.OpenMachine();
  ASSERT_NE(machine, nullptr);
  WindowsFacts facts;
  GatherWindowsFacts(machine->registry(), machine->system(), facts);
  EXPECT_EQ(facts.systemLanguageCode, "lang0");
}

}  // namespace
}  // namespace dbinst
