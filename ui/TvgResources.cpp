#include "ui/TvgResources.h"

#include <algorithm>
#include <cctype>

#include "ui/FormLoader.h"
#include "ui/FormStreamReader.h"

namespace dbinst {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool IsStyleBlock(std::string_view name) {
  const std::string lower = Lower(name);
  return lower == "resource" || lower == "resource.data";
}

}  // namespace

TvgResources::TvgResources() : TvgObject("TvgResources") {}

const TvgStyle* TvgResources::Style(std::string_view name) const {
  const auto found = styles_.find(Lower(name));
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
    if (Lower(style.className) != "tvgstyle") {
      context.Fail(where + "object " + style.objectName + " of class " + style.className +
                   " is not a TvgStyle");
    }
    if (style.objectName.empty()) context.Fail(where + "a style without a name");
    if (!style.children.empty()) context.Fail(where + "style " + style.objectName + " has objects");
    std::string name = Lower(style.objectName);
    if (styles.count(name)) context.Fail(where + "style " + style.objectName + " is named twice");
    styles.emplace(std::move(name), TvgStyle(std::move(style)));
  }
  styles_ = std::move(styles);
  return true;
}

}  // namespace dbinst
