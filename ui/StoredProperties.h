#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/AlphaColor.h"
#include "ui/FormLoader.h"
#include "ui/Geometry.h"

namespace dbinst {

struct TFont;
class TTimer;

// How the vocabulary of the stored layouts names the values that the readers below accept.
inline constexpr std::string_view kTrueOrFalse = "`True` or `False`";
inline constexpr std::string_view kAString = "a string";
inline constexpr std::string_view kAColour = "a colour `'#AARRGGBB'`";
inline constexpr std::string_view kAHandler = "the name of a handler of the window";

// Readers of one stored property value: each fails the load with a message naming the owner and
// the property when the value does not fit.
class TStoredProperty {
 public:
  // owner: how messages name it, "ButtonMkay (TvgButton)" or "FormMainDbInstall".
  TStoredProperty(std::string owner, const TFormProperty& property, TFormLoadContext& context)
      : owner_(std::move(owner)), property_(property), context_(context) {}

  const std::string& Name() const { return property_.name; }
  const TFormValue& Value() const { return property_.value; }
  const std::string& Owner() const { return owner_; }
  TFormLoadContext& Context() const { return context_; }
  // "ButtonMkay (TvgButton), property Width"
  std::string Where() const;
  [[noreturn]] void Fail(const std::string& problem) const;

  float Number() const;
  float NumberAtLeast(float minimum) const;
  // In double precision, for numbers beyond what a float keeps exactly.
  double NumberFromTo(double low, double high) const;
  bool Bool() const;
  std::string Text() const;
  std::string Ident() const;
  // The name of another object: an identifier or a string.
  std::string Reference() const;
  TAlphaColor Color() const;
  std::vector<std::string> Set() const;
  const std::vector<TFormCollectionItem>& Collection() const;
  const std::string& Binary() const;
  // The window's handler the property names; empty for nil.
  TNotifyEvent Handler() const;
  std::function<void(TTimer&)> TimerHandler() const;
  std::function<void(bool& canClose)> CloseQueryHandler() const;

  template <class E>
  E Enum(const std::vector<std::pair<std::string_view, E>>& names) const {
    const std::string ident = Ident();
    for (const auto& [name, value] : names) {
      if (EqualsIdent(ident, name)) return value;
    }
    Fail("unknown value '" + ident + "'");
  }

 private:
  static bool EqualsIdent(std::string_view a, std::string_view b);
  // The text naming a handler; fails for anything else.
  std::string HandlerName() const;
  std::string owner_;
  const TFormProperty& property_;
  TFormLoadContext& context_;
};

// "ButtonMkay (TvgButton)", or "an unnamed TvgText".
std::string DescribeObject(const TvgObject& object);

void LoadFontFamily(TFont& font, const TStoredProperty& property);
void LoadFontSize(TFont& font, const TStoredProperty& property);
void LoadFontStyle(TFont& font, const TStoredProperty& property);

}  // namespace dbinst
