#pragma once

#include <map>
#include <string>
#include <string_view>

#include "ui/FormValue.h"
#include "ui/TvgObject.h"

namespace dbinst {

class TStoredProperty;

// A named style: the drawing parameters of one look ("Fill.Color", "CornerRadius", ...).
class TvgStyle {
 public:
  TvgStyle() = default;
  explicit TvgStyle(TFormObject description) : description_(std::move(description)) {}
  TAlphaColor Color(std::string_view property, TAlphaColor fallback) const;
  float Number(std::string_view property, float fallback) const;
  bool Has(std::string_view property) const;

 private:
  TFormObject description_;
};

// A style library: a nested form stream of named styles, read when the form is loaded.
class TvgResources : public TvgObject {
 public:
  TvgResources();
  // Null when the library has no style of that name (compared without regard to case).
  const TvgStyle* Style(std::string_view name) const;
  const TPropertyTable<TvgObject>& StoredProperties() const override;

 private:
  void LoadStyles(const TStoredProperty& property);
  std::map<std::string, TvgStyle> styles_;  // by lower-case name
};

}  // namespace dbinst
