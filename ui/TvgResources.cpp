#include "ui/TvgResources.h"

#include "platform/Text.h"
#include "ui/FormLoader.h"
#include "ui/FormStreamReader.h"

namespace dbinst {

namespace {

bool IsStyleBlock(std::string_view name) {
  return EqualsNoCase(name, "Resource") || EqualsNoCase(name, "Resource.Data");
}

}  // namespace

TvgResources::TvgResources() : TvgObject("TvgResources") {}

const TvgStyle* TvgResources::Style(std::string_view name) const {
  const auto found = styles_.find(ToLower(name));
  return found == styles_.end() ? nullptr : &found->second;
}

bool TvgResources::LoadProperty(const TFormProperty& property, TFormLoadContext& context) {
  if (!IsStyleBlock(property.name)) return TvgObject::LoadProperty(property, context);
  const std::string where = "style library " + Name() + ": ";
  TFormObject book;
  try {
    book = ReadNestedFormStream(property.value);
  } catch (const std::exception& error) {
    context.Fail(where + error.what());
  }
  std::map<std::string, TvgStyle> styles;
  for (TFormObject& style : book.children) {
    if (!EqualsNoCase(style.className, "TvgStyle")) {
      context.Fail(where + "object " + style.objectName + " of class " + style.className +
                   " is not a TvgStyle");
    }
    if (style.objectName.empty()) context.Fail(where + "a style without a name");
    if (!style.children.empty()) context.Fail(where + "style " + style.objectName + " has objects");
    std::string name = ToLower(style.objectName);
    if (styles.count(name)) context.Fail(where + "style " + style.objectName + " is named twice");
    styles.emplace(std::move(name), TvgStyle(std::move(style)));
  }
  styles_ = std::move(styles);
  return true;
}

}  // namespace dbinst
