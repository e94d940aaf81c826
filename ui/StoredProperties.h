#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/AlphaColor.h"
#include "ui/FormLoader.h"
#include "ui/Geometry.h"

namespace dbinst {

struct TFont;

// Readers of stored property values for the kinds' LoadProperty: each fails the load with a
// message naming the object, its class and the property when the value does not fit.
class TStoredProperty {
 public:
  TStoredProperty(const TvgObject& owner, const TFormProperty& property, TFormLoadContext& context)
      : owner_(owner), property_(property), context_(context) {}

  bool Is(std::string_view name) const;
  const std::string& Name() const { return property_.name; }
  // "ButtonMkay (TvgButton), property Width"
  std::string Where() const;
  [[noreturn]] void Fail(const std::string& problem) const;

  float Number() const;
  float NumberAtLeast(float minimum) const;
  bool Bool() const;
  std::string Text() const;
  std::string Ident() const;
  // The name of another object: an identifier or a string.
  std::string Reference() const;
  TAlphaColor Color() const;
  std::vector<std::string> Set() const;
  const std::vector<TFormCollectionItem>& Collection() const;
  const std::string& Binary() const;
  TNotifyEvent Handler() const;

  template <class E>
  E Enum(std::initializer_list<std::pair<std::string_view, E>> names) const {
    const std::string ident = Ident();
    for (const auto& [name, value] : names) {
      if (EqualsIdent(ident, name)) return value;
    }
    Fail("unknown value '" + ident + "'");
  }

 private:
  static bool EqualsIdent(std::string_view a, std::string_view b);
  const TvgObject& owner_;
  const TFormProperty& property_;
  TFormLoadContext& context_;
};

// "ButtonMkay (TvgButton)", or "an unnamed TvgText".
std::string DescribeObject(const TvgObject& object);

// Font.Family, Font.Size and Font.Style; false for any other property.
bool LoadFontProperty(TFont& font, const TStoredProperty& property);

}  // namespace dbinst
