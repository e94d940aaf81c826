#include "ui/BuiltInStyles.h"

#include <map>
#include <string>

#include "platform/Text.h"
#include "ui/FormText.h"
#include "ui/TvgResources.h"

namespace dbinst {
namespace {

std::map<std::string, TvgStyle> ParseBuiltInStyles() {
  std::map<std::string, TvgStyle> styles;
  for (TFormObject& style : ParseFormText(BuiltInStylesText()).children) {
    std::string name = ToLower(style.objectName);
    styles.emplace(std::move(name), TvgStyle(std::move(style)));
  }
  return styles;
}

}  // namespace

const TvgStyle* BuiltInStyle(std::string_view name) {
  static const std::map<std::string, TvgStyle> styles = ParseBuiltInStyles();
  const auto found = styles.find(ToLower(name));
  return found == styles.end() ? nullptr : &found->second;
}

}  // namespace dbinst
