#include "platform/prefix/RegFileBuilder.h"

#include <gtest/gtest.h>

#include "platform/RegistryValue.h"
#include "platform/prefix/RegFile.h"
#include "tests/platform/prefix/ScratchFolder.h"

namespace dbinst {
namespace {

using test::FixturePath;
using test::ReadFile;

RegValue Bytes(uint32_t type, std::vector<uint8_t> data) { return RegValue{type, std::move(data)}; }

// The lines of a section of a Wine registry file after its "#time=" line.
std::string SectionBody(const std::string& text, const std::string& header) {
  const size_t start = text.find("\n" + header + " ");
  if (start == std::string::npos) return "<no section>";
  const size_t body = text.find("\n#time=", start + 1);
  const size_t bodyStart = text.find('\n', body + 1) + 1;
  const size_t end = text.find("\n\n", bodyStart);
  return text.substr(bodyStart, end == std::string::npos ? std::string::npos : end - bodyStart + 1);
}

RegFileBuilder ProbeUserFile() {
  RegFileBuilder builder(RegRoot::CurrentUser, true);
  const std::string probe = "Software\\Probe";
  builder.SetValue(probe, "Qword",
                   Bytes(kRegQword, {0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11}));
  builder.SetValue(probe, "Multi", MakeRegText(std::string("one\0two\0three", 13), kRegMultiSz));
  std::vector<uint8_t> counting(64);
  for (size_t i = 0; i < counting.size(); ++i) counting[i] = static_cast<uint8_t>(i);
  builder.SetValue(probe, "Long", Bytes(kRegBinary, counting));
  builder.SetValue(probe, "Expand", MakeRegText("%USERPROFILE%\\Temp", kRegExpandSz));
  builder.SetValue(probe, "Dword", MakeRegDword(0x12345678));
  builder.SetValue(probe, "", MakeRegText("default value"));
  builder.SetValue(probe + "\\Zażółć \"gęślą\" [jaźń]", "Wartość\\ z \"cudzysłowem\"",
                   MakeRegText("Łódź – €5 \\ \"ok\""));
  return builder;
}

TEST(RegFileBuilder, WritesValuesByteForByteAsWine) {
  const std::string wine = ReadFile(FixturePath("wine-8.0-fresh-prefix/user.reg"));
  const std::string ours = ProbeUserFile().Text();
  EXPECT_EQ(SectionBody(ours, "[Software\\\\Probe]"), SectionBody(wine, "[Software\\\\Probe]"));
  const std::string polish =
      "[Software\\\\Probe\\\\Za\\x17c\\xf3\\x142\\x107 \"g\\x119\\x15bl\\x105\" "
      "\\[ja\\x17a\\x144\\]]";
  EXPECT_EQ(SectionBody(ours, polish), SectionBody(wine, polish));
  EXPECT_NE(SectionBody(ours, polish), "<no section>");
}

TEST(RegFileBuilder, WritesWineHeadersAndSectionTimes) {
  RegFileBuilder machine(RegRoot::LocalMachine, true);
  machine.SetTime(1796768612);
  machine.SetValue("Software\\Probe64", "Only64", MakeRegText("sixty-four view"));
  EXPECT_EQ(machine.Text(),
            "WINE REGISTRY Version 2\n"
            ";; All keys relative to REGISTRY\\\\Machine\n"
            "\n#arch=win64\n"
            "\n[Software\\\\Probe64] 1796768612\n"
            "#time=1dd8762c1dcca00\n"
            "\"Only64\"=\"sixty-four view\"\n");
  RegFileBuilder user(RegRoot::CurrentUser, false);
  EXPECT_EQ(user.Text().substr(0, 97),
            "WINE REGISTRY Version 2\n"
            ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
            "\n#arch=win32\n");
}

TEST(RegFileBuilder, SortsKeysAndValuesAndSkipsBareParents) {
  RegFileBuilder builder(RegRoot::LocalMachine, true);
  builder.SetTime(0);
  builder.SetValue("b\\Inner", "z", MakeRegDword(1));
  builder.SetValue("b\\Inner", "A", MakeRegDword(2));
  builder.AddKey("a\\Empty");
  builder.SetValue("B", "v", MakeRegDword(3));
  const std::string text = builder.Text();
  const size_t empty = text.find("[a\\\\Empty]");
  const size_t b = text.find("[b]");
  const size_t inner = text.find("[b\\\\Inner]");
  EXPECT_LT(empty, b);
  EXPECT_LT(b, inner);
  EXPECT_EQ(text.find("[a]"), std::string::npos);
  EXPECT_LT(text.find("\"A\"="), text.find("\"z\"="));
}

TEST(RegFileBuilder, WritesLinksAsWineDoes) {
  const std::string wine = ReadFile(FixturePath("wine-8.0-fresh-prefix/system.reg"));
  RegFileBuilder builder(RegRoot::LocalMachine, true);
  builder.AddLink("Software\\Wow6432Node\\Classes", "Software\\Classes\\Wow6432Node");
  const std::string ours = builder.Text();
  const std::string header = "[Software\\\\Wow6432Node\\\\Classes]";
  EXPECT_EQ(SectionBody(ours, header), SectionBody(wine, header));
  EXPECT_NE(SectionBody(ours, header).find("#link\n\"SymbolicLinkValue\"=hex(6):5c,00"),
            std::string::npos);
}

TEST(RegFileBuilder, OutputRoundTripsThroughTheParser) {
  RegFileBuilder builder = ProbeUserFile();
  builder.SetValue("Control\\Odd", "ctl",
                   MakeRegText(std::string("\x01\x07\x1b"
                                           "7\x02",
                                           5)));
  builder.SetValue("Control\\Odd", "empty", Bytes(kRegBinary, {}));
  builder.SetValue("Control\\Odd", "notTerminated", Bytes(kRegSz, {'a', 0, 'b'}));
  builder.SetValue("Control\\Odd", "huge", Bytes(0x20000, std::vector<uint8_t>(1000, 0xAB)));
  builder.AddLink("Link", "Software\\Probe");
  const RegFile parsed = RegFile::Parse(builder.Text(), "built.reg");
  ASSERT_TRUE(parsed.Problems().empty()) << parsed.Problems()[0];
  const RegKeyNode* odd = parsed.Root().FindSubKey("Control")->FindSubKey("Odd");
  ASSERT_TRUE(odd);
  EXPECT_EQ(RegValueText(odd->FindValue("ctl")->value), std::string("\x01\x07\x1b"
                                                                    "7\x02",
                                                                    5));
  EXPECT_TRUE(odd->FindValue("empty")->value.data.empty());
  EXPECT_EQ(odd->FindValue("notTerminated")->value.data, (std::vector<uint8_t>{'a', 0, 'b'}));
  EXPECT_EQ(odd->FindValue("huge")->value.type, 0x20000u);
  EXPECT_EQ(odd->FindValue("huge")->value.data.size(), 1000u);
  const RegKeyNode* probe = parsed.Root().FindSubKey("Software")->FindSubKey("Probe");
  EXPECT_EQ(probe->Values().size(), 6u);
  EXPECT_EQ(probe->SubKeys().size(), 1u);
  EXPECT_TRUE(parsed.Root().FindSubKey("Link")->IsLink());
}

TEST(RegFileBuilder, WritesAFileAndReportsAFolderThatIsMissing) {
  test::ScratchFolder folder;
  RegFileBuilder builder(RegRoot::LocalMachine, true);
  builder.SetValue("A", "b", MakeRegDword(7));
  ASSERT_TRUE(builder.WriteTo(folder / "system.reg"));
  EXPECT_EQ(ReadFile(folder / "system.reg"), builder.Text());
  EXPECT_FALSE(builder.WriteTo(folder / "missing/system.reg"));
}

}  // namespace
}  // namespace dbinst
