#include "ui/TvgResources.h"

#include "platform/Text.h"
#include "ui/FormStreamReader.h"
#include "ui/PropertyTable.h"

namespace dbinst {

namespace {

constexpr std::string_view kStyleBlock =
    "a binary block holding a nested form stream of `TvgStyle` objects";

}  // namespace

TvgResources::TvgResources() : TvgObject("TvgResources") {}

const TvgStyle* TvgResources::Style(std::string_view name) const {
  const auto found = styles_.find(ToLower(name));
  return found == styles_.end() ? nullptr : &found->second;
}

const TPropertyTable<TvgObject>& TvgResources::StoredProperties() const {
  using P = const TStoredProperty&;
  static const TPropertyTable<TvgObject> table =
      TPropertiesOf<TvgObject, TvgResources>("TvgResources", &TvgObject::StoredProperties())
          .Stored("Resource", kStyleBlock, [](TvgResources& r, P p) { r.LoadStyles(p); })
          .Stored("Resource.Data", kStyleBlock, [](TvgResources& r, P p) { r.LoadStyles(p); })
          .Table();
  return table;
}

void TvgResources::LoadStyles(const TStoredProperty& property) {
  const TFormLoadContext& context = property.Context();
  const std::string where = "style library " + Name() + ": ";
  TFormObject book;
  try {
    book = ReadNestedFormStream(property.Value());
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
}

}  // namespace dbinst
