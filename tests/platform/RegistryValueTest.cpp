#include "platform/RegistryValue.h"

#include <gtest/gtest.h>

namespace dbinst {
namespace {

RegValue Raw(uint32_t type, std::vector<uint8_t> data) { return RegValue{type, std::move(data)}; }

TEST(RegistryValue, TextReadsBothStringTypesUpToTheFirstZero) {
  EXPECT_EQ(RegValueText(MakeRegText("Łódź")), "Łódź");
  EXPECT_EQ(RegValueText(MakeRegText("%TEMP%", kRegExpandSz)), "%TEMP%");
  EXPECT_EQ(RegValueText(Raw(kRegSz, {'a', 0, 'b', 0})), "ab");  // stored without its zero
  EXPECT_EQ(RegValueText(Raw(kRegSz, {'a', 0, 0, 0, 'b', 0, 0, 0})), "a");
  EXPECT_EQ(RegValueText(Raw(kRegSz, {'a', 0, 'b'})), "a");  // a stray odd byte is ignored
  EXPECT_EQ(RegValueText(Raw(kRegSz, {})), "");
}

TEST(RegistryValue, ReadersGiveNothingForTheWrongTypeOrSize) {
  EXPECT_FALSE(RegValueText(MakeRegDword(1)));
  EXPECT_FALSE(RegValueText(MakeRegText("a", kRegMultiSz)));
  EXPECT_FALSE(RegValueInteger(MakeRegText("1")));
  EXPECT_FALSE(RegValueInteger(Raw(kRegDword, {1, 0, 0})));
  EXPECT_FALSE(RegValueInteger(Raw(kRegDword, {1, 0, 0, 0, 0})));
  EXPECT_FALSE(RegValueDouble(Raw(kRegBinary, {0, 0, 0, 0})));
  EXPECT_FALSE(RegValueDouble(Raw(kRegQword, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F})));
  EXPECT_TRUE(RegValueMultiText(MakeRegText("a")).empty());
}

TEST(RegistryValue, IntegerIsSignedLittleEndian) {
  EXPECT_EQ(RegValueInteger(MakeRegDword(0x12345678)), 0x12345678);
  EXPECT_EQ(RegValueInteger(MakeRegDword(0xFFFFFFFF)), -1);
  EXPECT_EQ(MakeRegDword(0x12345678).data, (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
}

TEST(RegistryValue, DoubleReadsEightLittleEndianBytes) {
  EXPECT_EQ(RegValueDouble(Raw(kRegBinary, {0, 0, 0, 0x08, 0xcb, 0x2d, 0x73, 0x41})), 20110512.5);
  EXPECT_EQ(RegValueDouble(Raw(kRegBinary, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F})), 1.0);
}

TEST(RegistryValue, MultiTextStopsAtTheEmptyString) {
  const RegValue list = MakeRegText(std::string("one\0two\0three", 13), kRegMultiSz);
  EXPECT_EQ(list.data.size(), 15u * 2);
  EXPECT_EQ(RegValueMultiText(list), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(RegValueMultiText(Raw(kRegMultiSz, {'a', 0, 0, 0, 0, 0, 'b', 0, 0, 0})),
            (std::vector<std::string>{"a"}));
  EXPECT_EQ(RegValueMultiText(Raw(kRegMultiSz, {'a', 0, 'b', 0})),
            (std::vector<std::string>{"ab"}));
}

TEST(RegistryValue, MakeTextStoresUtf16WithItsZero) {
  EXPECT_EQ(MakeRegText("ą").data, (std::vector<uint8_t>{0x05, 0x01, 0, 0}));
  EXPECT_EQ(MakeRegText("\U0001F600").data, (std::vector<uint8_t>{0x3D, 0xD8, 0x00, 0xDE, 0, 0}));
  EXPECT_EQ(MakeRegText("").data, (std::vector<uint8_t>{0, 0}));
}

}  // namespace
}  // namespace dbinst
