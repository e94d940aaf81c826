#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// Value type codes of the class library's binary form stream.
enum class EFormValueType : uint8_t {
  vaNull = 0,
  vaList = 1,
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaExtended = 5,
  vaString = 6,
  vaIdent = 7,
  vaFalse = 8,
  vaTrue = 9,
  vaBinary = 10,
  vaSet = 11,
  vaLString = 12,
  vaNil = 13,
  vaCollection = 14,
  vaSingle = 15,
  vaCurrency = 16,
  vaDate = 17,
  vaWString = 18,
  vaInt64 = 19,
  vaUTF8String = 20,
  vaDouble = 21,
};

inline constexpr uint8_t kLastFormValueType = static_cast<uint8_t>(EFormValueType::vaDouble);

// The x87 80-bit extended float as stored: kept byte for byte, readable as a double.
struct TFormExtended {
  std::array<uint8_t, 10> bytes{};

  // Out-of-range values become infinities, tiny ones zero; NaN stays NaN.
  double ToDouble() const;
  // Rounds to the 64-bit mantissa of the stored format.
  static TFormExtended FromLongDouble(long double value);

  bool operator==(const TFormExtended&) const = default;
};

struct TFormCollectionItem;

// One typed value; which members are meaningful depends on `type`.
struct TFormValue {
  EFormValueType type = EFormValueType::vaNil;
  int64_t integer = 0;  // the integer kinds; currency in ten-thousandths
  float single = 0;
  double real = 0;  // double and date
  TFormExtended extended;
  std::string bytes;                       // vaString, vaLString, vaUTF8String, vaIdent, vaBinary
  std::u16string wide;                     // vaWString as stored
  std::vector<std::string> elements;       // vaSet
  std::vector<TFormValue> list;            // vaList
  std::vector<TFormCollectionItem> items;  // vaCollection

  static TFormValue Integer(int64_t value);  // the smallest integer type that holds it
  static TFormValue OfType(EFormValueType type);
  static TFormValue Bytes(EFormValueType type, std::string bytes);

  bool IsInteger() const;
  bool IsText() const;  // the string kinds and identifiers
  // Our stored forms keep one-byte strings in UTF-8; wide strings are converted.
  std::string Text() const;
  // Integers, floats and currency as a double; 0 for other kinds.
  double Number() const;
};

struct TFormProperty {
  std::string name;  // dotted for nested properties: "Font.Style"
  TFormValue value;
};

struct TFormCollectionItem {
  std::optional<TFormValue> order;  // an integer value when the stream carries one
  std::vector<TFormProperty> properties;
};

inline constexpr uint8_t kFilerInherited = 1;
inline constexpr uint8_t kFilerChildPos = 2;
inline constexpr uint8_t kFilerInline = 4;

// Longer class names would start with a byte that reads as the filer-flags prefix.
inline constexpr size_t kFormMaxClassName = 239;

struct TFormObject {
  uint8_t filerFlags = 0;     // kFilerInherited, kFilerChildPos, kFilerInline
  int64_t childPosition = 0;  // meaningful with kFilerChildPos
  std::string className;
  std::string objectName;
  std::vector<TFormProperty> properties;
  std::vector<TFormObject> children;

  // Null when the object has no property of that name (compared without regard to case).
  const TFormValue* Find(std::string_view propertyName) const;
};

}  // namespace dbinst
