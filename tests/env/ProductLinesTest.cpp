#include "env/ProductLines.h"

#include <gtest/gtest.h>

#include <utility>

namespace dbinst {
namespace {

using L = EProductLine;
using G = EProductGroup;
using D = EDatabaseType;

TEST(ProductLinesTest, CodeLookupTrimsAndIgnoresCase) {
  const auto codes = MakeStringToProductMap();
  EXPECT_EQ(ProductLineOfCode(codes, " ovs "), L::OrvaneSelka);
  EXPECT_EQ(ProductLineOfCode(codes, "OVPROD"), L::OrvaneProDemo);
  EXPECT_EQ(ProductLineOfCode(codes, "\tks\r\n"), L::Kestrio);
  EXPECT_EQ(ProductLineOfCode(codes, "OV S"), L::None);
  EXPECT_EQ(ProductLineOfCode(codes, ""), L::None);
  EXPECT_EQ(ProductLineOfCode(codes, "xx"), L::None);
}

TEST(ProductLinesTest, CodeMapsAreInversesOfEachOther) {
  const auto codes = MakeStringToProductMap();
  const auto inverse = MakeProductToStringMap(codes);
  ASSERT_EQ(inverse.size(), 6u);
  for (const auto& [line, code] : inverse) EXPECT_EQ(codes.at(code), line);
  EXPECT_EQ(inverse.at(L::OrvanePro), "OVPRO");
}

TEST(ProductLinesTest, MultimapKeepsPairsInOrderWithinEachLine) {
  const auto pairs = MakeProductToProductMultimap();
  std::vector<std::pair<L, L>> listed(pairs.begin(), pairs.end());
  const std::vector<std::pair<L, L>> expected = {
      {L::Orvane, L::Orvane},      {L::Orvane, L::OrvaneSelka},   {L::OrvaneSelka, L::OrvaneSelka},
      {L::OrvaneSelka, L::Orvane}, {L::Kestrio, L::Kestrio},      {L::OrvanePro, L::Kestrio},
      {L::OrvanePro, L::Orvane},   {L::OrvanePro, L::OrvaneSelka}};
  EXPECT_EQ(listed, expected);
}

TEST(ProductLinesTest, UnknownLinesUseTheNoneRow) {
  for (const L line : {L::None, static_cast<L>(7), static_cast<L>(-1)}) {
    EXPECT_EQ(ExecutableOfProductLine(line), "CadNothing.exe");
    EXPECT_EQ(ProgramNameOfProductLine(line), "CadNothing");
    EXPECT_EQ(NameKeyOfProductLine(line), 1);
    EXPECT_EQ(RegistryKeyOfProductLine(line, EProductKeyKind::PreviousInstallations),
              "SOFTWARE\\VELMORA\\CADNOTHING\\INSTALLATIONS");
  }
}

TEST(ProductLinesTest, RegistryKeysOfTheLines) {
  EXPECT_EQ(RegistryKeyOfProductLine(L::OrvaneDemo, EProductKeyKind::Program),
            "SOFTWARE\\VELMORA\\ORVANE2");
  EXPECT_EQ(RegistryKeyOfProductLine(L::OrvaneSelka, EProductKeyKind::PreviousInstallations),
            "SOFTWARE\\VELMORA\\ORVANE_SELKA\\INSTALLATIONS");
  EXPECT_EQ(RegistryKeyOfProductLine(L::Kestrio, EProductKeyKind::PreviousVersion),
            "SOFTWARE\\VELMORA\\KESTRIO");
  EXPECT_EQ(RegistryKeyOfProductLine(L::OrvaneProDemo, EProductKeyKind::PreviousVersion),
            "SOFTWARE\\VELMORA\\PLEASEDONTFINDME");
  EXPECT_EQ(RegistryKeyOfProductLine(L::Orvane, static_cast<EProductKeyKind>(3)),
            "SOFTWARE\\VELMORA\\CADNOTHING");
}

TEST(ProductLinesTest, CheckListsNameExecutableThenLibraries) {
  const auto kestrio = CheckListOfProductLine(L::Kestrio);
  ASSERT_EQ(kestrio.size(), 3u);
  EXPECT_EQ(kestrio[0].fileName, "Kestrio.exe");
  EXPECT_EQ(kestrio[0].minMajor, 6);
  EXPECT_EQ(kestrio[1].fileName, "Manager.dll");
  EXPECT_EQ(kestrio[1].minMajor, 6);
  EXPECT_EQ(kestrio[2].fileName, "kafle.dll");
  EXPECT_EQ(kestrio[2].minMajor, 2);
  const auto selka = CheckListOfProductLine(L::OrvaneSelka);
  EXPECT_EQ(selka[0].fileName, "Orvane_Selka.exe");
  EXPECT_EQ(selka[0].minMajor, 2);
  EXPECT_EQ(selka[0].minMinor, 0);
}

TEST(ProductLinesTest, GroupsAcceptingEachKindInPreferenceOrder) {
  EXPECT_EQ(GroupsAcceptingDatabaseType(D::Tiles),
            (std::vector{G::OrvanePro, G::Orvane, G::Kestrio}));
  EXPECT_EQ(GroupsAcceptingDatabaseType(D::Interiors),
            (std::vector{G::OrvanePro, G::Kestrio, G::Orvane}));
  EXPECT_EQ(GroupsAcceptingDatabaseType(D::Cabinets), (std::vector{G::OrvanePro, G::Kestrio}));
  EXPECT_EQ(GroupsAcceptingDatabaseType(D::HouseholdAppliances),
            (std::vector{G::OrvanePro, G::Kestrio}));
  EXPECT_EQ(GroupsAcceptingDatabaseType(D::Walls),
            (std::vector{G::OrvanePro, G::Orvane, G::Kestrio}));
  EXPECT_EQ(GroupsAcceptingDatabaseType(D::Materials),
            (std::vector{G::OrvanePro, G::Orvane, G::Kestrio}));
  EXPECT_TRUE(GroupsAcceptingDatabaseType(D::None).empty());
  EXPECT_TRUE(GroupsAcceptingDatabaseType(static_cast<D>(6)).empty());
}

TEST(ProductLinesTest, KindAndLineClassifications) {
  EXPECT_TRUE(HasProductSpecificDatabaseType(D::Tiles));
  EXPECT_TRUE(HasProductSpecificDatabaseType(D::HouseholdAppliances));
  EXPECT_FALSE(HasProductSpecificDatabaseType(D::Walls));
  EXPECT_FALSE(HasProductSpecificDatabaseType(D::None));
  EXPECT_FALSE(IsNotProfessionalLine(L::OrvanePro));
  EXPECT_FALSE(IsNotProfessionalLine(L::OrvaneProDemo));
  EXPECT_TRUE(IsNotProfessionalLine(L::Kestrio));
  EXPECT_TRUE(IsNotProfessionalLine(L::None));
  EXPECT_EQ(NameKeyOfDatabaseType(D::Tiles), 144);
  EXPECT_EQ(NameKeyOfDatabaseType(D::Materials), 149);
  EXPECT_EQ(NameKeyOfDatabaseType(D::None), 150);
  EXPECT_EQ(NameKeyOfDatabaseType(static_cast<D>(6)), 150);
}

}  // namespace
}  // namespace dbinst
