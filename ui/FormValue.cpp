#include "ui/FormValue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr int kExtendedBias = 16383;
constexpr int kExtendedMaxExponent = 0x7FFF;

uint64_t ExtendedMantissa(const std::array<uint8_t, 10>& bytes) {
  uint64_t mantissa = 0;
  for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | bytes[i];
  return mantissa;
}

TFormExtended ExtendedOf(bool negative, int exponent, uint64_t mantissa) {
  TFormExtended result;
  for (int i = 0; i < 8; ++i) result.bytes[i] = static_cast<uint8_t>(mantissa >> (8 * i));
  result.bytes[8] = static_cast<uint8_t>(exponent & 0xFF);
  result.bytes[9] = static_cast<uint8_t>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
  return result;
}

}  // namespace

double TFormExtended::ToDouble() const {
  const bool negative = (bytes[9] & 0x80) != 0;
  const int exponent = ((bytes[9] & 0x7F) << 8) | bytes[8];
  const uint64_t mantissa = ExtendedMantissa(bytes);
  double magnitude;
  if (exponent == kExtendedMaxExponent) {
    magnitude = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::quiet_NaN();
  } else {
    // Denormals (exponent 0) share the scale of exponent 1.
    const int unbiased = std::max(exponent, 1) - kExtendedBias - 63;
    magnitude = std::ldexp(static_cast<double>(mantissa), unbiased);
  }
  return negative ? -magnitude : magnitude;
}

TFormExtended TFormExtended::FromLongDouble(long double value) {
  const bool negative = std::signbit(value);
  if (std::isnan(value)) return ExtendedOf(negative, kExtendedMaxExponent, 0xC000000000000000ULL);
  if (std::isinf(value)) return ExtendedOf(negative, kExtendedMaxExponent, 1ULL << 63);
  if (value == 0) return ExtendedOf(negative, 0, 0);
  int exponent = 0;
  const long double fraction = std::frexp(std::fabs(value), &exponent);
  long double scaled = std::nearbyint(std::ldexp(fraction, 64));
  if (scaled >= std::ldexp(1.0L, 64)) {
    scaled = std::ldexp(1.0L, 63);
    ++exponent;
  }
  uint64_t mantissa = static_cast<uint64_t>(scaled);
  int biased = exponent - 1 + kExtendedBias;
  if (biased >= kExtendedMaxExponent) return ExtendedOf(negative, kExtendedMaxExponent, 1ULL << 63);
  if (biased <= 0) {
    const int shift = 1 - biased;
    mantissa = shift >= 64 ? 0 : mantissa >> shift;
    biased = 0;
  }
  return ExtendedOf(negative, biased, mantissa);
}

TFormValue TFormValue::Integer(int64_t value) {
  TFormValue result;
  if (value >= INT8_MIN && value <= INT8_MAX) {
    result.type = EFormValueType::vaInt8;
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    result.type = EFormValueType::vaInt16;
  } else if (value >= INT32_MIN && value <= INT32_MAX) {
    result.type = EFormValueType::vaInt32;
  } else {
    result.type = EFormValueType::vaInt64;
  }
  result.integer = value;
  return result;
}

TFormValue TFormValue::OfType(EFormValueType type) {
  TFormValue result;
  result.type = type;
  return result;
}

TFormValue TFormValue::Bytes(EFormValueType type, std::string bytes) {
  TFormValue result = OfType(type);
  result.bytes = std::move(bytes);
  return result;
}

bool TFormValue::IsInteger() const {
  switch (type) {
    case EFormValueType::vaInt8:
    case EFormValueType::vaInt16:
    case EFormValueType::vaInt32:
    case EFormValueType::vaInt64:
      return true;
    default:
      return false;
  }
}

bool TFormValue::IsText() const {
  switch (type) {
    case EFormValueType::vaString:
    case EFormValueType::vaLString:
    case EFormValueType::vaUTF8String:
    case EFormValueType::vaWString:
    case EFormValueType::vaIdent:
      return true;
    default:
      return false;
  }
}

std::string TFormValue::Text() const {
  if (type == EFormValueType::vaWString) return Utf16ToUtf8(wide);
  return IsText() ? bytes : std::string();
}

double TFormValue::Number() const {
  if (IsInteger()) return static_cast<double>(integer);
  switch (type) {
    case EFormValueType::vaSingle:
      return single;
    case EFormValueType::vaDouble:
    case EFormValueType::vaDate:
      return real;
    case EFormValueType::vaExtended:
      return extended.ToDouble();
    case EFormValueType::vaCurrency:
      return static_cast<double>(integer) / 10000.0;
    default:
      return 0;
  }
}

const TFormValue* TFormObject::Find(std::string_view propertyName) const {
  for (const TFormProperty& property : properties) {
    if (EqualsNoCase(property.name, propertyName)) return &property.value;
  }
  return nullptr;
}

}  // namespace dbinst
