#include <cmath>

#include "ui/TvgResources.h"

namespace dbinst {

TAlphaColor TvgStyle::Color(std::string_view property, TAlphaColor fallback) const {
  const TFormValue* value = description_.Find(property);
  if (!value) return fallback;
  if (value->IsText()) return ParseAlphaColor(value->Text()).value_or(fallback);
  if (value->IsInteger()) return static_cast<TAlphaColor>(value->integer);
  return fallback;
}

float TvgStyle::Number(std::string_view property, float fallback) const {
  const TFormValue* value = description_.Find(property);
  if (!value || value->IsText()) return fallback;
  const double number = value->Number();
  return std::isfinite(number) ? static_cast<float>(number) : fallback;
}

bool TvgStyle::Has(std::string_view property) const {
  return description_.Find(property) != nullptr;
}

}  // namespace dbinst
