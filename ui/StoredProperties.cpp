#include "ui/StoredProperties.h"

#include <cmath>

#include "platform/Text.h"
#include "ui/TvgText.h"

namespace dbinst {

std::string DescribeObject(const TvgObject& object) {
  if (object.Name().empty()) return "an unnamed " + object.ClassName();
  return object.Name() + " (" + object.ClassName() + ")";
}

bool TStoredProperty::EqualsIdent(std::string_view a, std::string_view b) {
  return EqualsNoCase(a, b);
}

std::string TStoredProperty::Where() const { return owner_ + ", property " + property_.name; }

void TStoredProperty::Fail(const std::string& problem) const {
  context_.Fail(Where() + ": " + problem);
}

namespace {

bool IsNumeric(const TFormValue& value) {
  return value.IsInteger() || value.type == EFormValueType::vaSingle ||
         value.type == EFormValueType::vaDouble || value.type == EFormValueType::vaExtended ||
         value.type == EFormValueType::vaCurrency;
}

}  // namespace

float TStoredProperty::Number() const {
  if (!IsNumeric(property_.value)) Fail("expected a number");
  const double number = property_.value.Number();
  // Beyond single precision a stored number can only be a broken layout.
  if (!std::isfinite(number) || std::fabs(number) > 1e9) Fail("number out of range");
  return static_cast<float>(number);
}

double TStoredProperty::NumberFromTo(double low, double high) const {
  const double number = property_.value.Number();
  if (!IsNumeric(property_.value) || !(number >= low && number <= high)) {
    Fail("expected a number from " + std::to_string(static_cast<long long>(low)) + " to " +
         std::to_string(static_cast<long long>(high)));
  }
  return number;
}

float TStoredProperty::NumberAtLeast(float minimum) const {
  const float number = Number();
  if (number < minimum) Fail("expected a number of at least " + std::to_string(minimum));
  return number;
}

bool TStoredProperty::Bool() const {
  if (property_.value.type == EFormValueType::vaTrue) return true;
  if (property_.value.type == EFormValueType::vaFalse) return false;
  Fail("expected True or False");
}

std::string TStoredProperty::Text() const {
  const TFormValue& value = property_.value;
  if (!value.IsText() || value.type == EFormValueType::vaIdent) Fail("expected a string");
  return value.Text();
}

std::string TStoredProperty::Ident() const {
  if (property_.value.type != EFormValueType::vaIdent) Fail("expected an identifier");
  return property_.value.bytes;
}

std::string TStoredProperty::Reference() const {
  if (!property_.value.IsText()) Fail("expected the name of an object");
  return property_.value.Text();
}

TAlphaColor TStoredProperty::Color() const {
  const std::string text = Text();
  const std::optional<TAlphaColor> color = ParseAlphaColor(text);
  if (!color) Fail("expected a colour '#AARRGGBB', not '" + text + "'");
  return *color;
}

std::vector<std::string> TStoredProperty::Set() const {
  if (property_.value.type != EFormValueType::vaSet) Fail("expected a set");
  return property_.value.elements;
}

const std::vector<TFormCollectionItem>& TStoredProperty::Collection() const {
  if (property_.value.type != EFormValueType::vaCollection) Fail("expected a collection");
  return property_.value.items;
}

const std::string& TStoredProperty::Binary() const {
  if (property_.value.type != EFormValueType::vaBinary) Fail("expected a binary block");
  return property_.value.bytes;
}

std::string TStoredProperty::HandlerName() const {
  if (!property_.value.IsText()) Fail("expected the name of a handler");
  return property_.value.Text();
}

TNotifyEvent TStoredProperty::Handler() const {
  if (property_.value.type == EFormValueType::vaNil) return {};
  return context_.Handler(HandlerName(), Where());
}

std::function<void(TTimer&)> TStoredProperty::TimerHandler() const {
  if (property_.value.type == EFormValueType::vaNil) return {};
  return context_.TimerHandler(HandlerName(), Where());
}

std::function<void(bool&)> TStoredProperty::CloseQueryHandler() const {
  if (property_.value.type == EFormValueType::vaNil) return {};
  return context_.CloseQueryHandler(HandlerName(), Where());
}

void LoadFontFamily(TFont& font, const TStoredProperty& property) { font.family = property.Text(); }

void LoadFontSize(TFont& font, const TStoredProperty& property) {
  font.size = property.Number();
  if (font.size <= 0) property.Fail("expected a size above 0");
}

void LoadFontStyle(TFont& font, const TStoredProperty& property) {
  font.bold = false;
  font.italic = false;
  for (const std::string& element : property.Set()) {
    if (EqualsNoCase(element, "vgFontBold")) {
      font.bold = true;
    } else if (EqualsNoCase(element, "vgFontItalic")) {
      font.italic = true;
    } else {
      property.Fail("unknown font style '" + element + "'");
    }
  }
}

}  // namespace dbinst
