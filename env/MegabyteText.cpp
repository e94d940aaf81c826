#include "env/MegabyteText.h"

namespace dbinst {
namespace {

constexpr uint64_t kMegabyte = 1048576;

// Tenths of a megabyte, rounded half away from zero; exact, since a megabyte is a power of two.
uint64_t TenthsOfMegabyte(uint64_t bytes) {
  const uint64_t whole = bytes / kMegabyte;
  const uint64_t scaledRest = (bytes % kMegabyte) * 10;
  uint64_t tenths = scaledRest / kMegabyte;
  if ((scaledRest % kMegabyte) * 2 >= kMegabyte) ++tenths;
  return whole * 10 + tenths;
}

std::string GroupThousands(uint64_t number, const std::string& separator) {
  std::string digits = std::to_string(number);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

std::string MegabyteText(int64_t bytes, const NumberFormat& format) {
  const bool negative = bytes < 0;
  const uint64_t magnitude =
      negative ? 0 - static_cast<uint64_t>(bytes) : static_cast<uint64_t>(bytes);
  const uint64_t tenths = TenthsOfMegabyte(magnitude);
  std::string text = (negative && tenths > 0) ? "-" : "";
  text += GroupThousands(tenths / 10, format.thousandSeparator);
  if (tenths % 10 != 0) text += format.decimalSeparator + std::to_string(tenths % 10);
  return text;
}

}  // namespace dbinst
