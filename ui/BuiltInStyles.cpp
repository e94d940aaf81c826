#include "ui/BuiltInStyles.h"

#include <map>
#include <string>

#include "platform/Text.h"
#include "ui/FormText.h"
#include "ui/TvgResources.h"

namespace dbinst {

// Parameters read by the painters: Fill.Color/Color2 (top and bottom of a vertical gradient),
// Fill.Hot/Hot2, Fill.Pressed/Pressed2, Fill.Selected, Stroke.Color, Stroke.Default, Line.Top,
// Line.Bottom, Focus.Color, Check.Color, Bar.Color, Selection.Color, Selection.Text, Text.Color,
// Font.Size, CornerRadius, Title.Indent, Size, Spacing, Disabled.Opacity.
namespace {

constexpr std::string_view kStylesText = R"STYLES(object Styles: TvgStyleBook
  object backgroundstyle: TvgStyle
    Fill.Color = '#FFF0F1F3'
    Fill.Color2 = '#FFF0F1F3'
  end
  object backgroundmover: TvgStyle
    Fill.Color = '#FFD9DDE2'
    Fill.Color2 = '#FFC4CAD1'
    Line.Bottom = '#FFA9B0B9'
  end
  object backgroundbottombar: TvgStyle
    Fill.Color = '#FFE9EBEE'
    Fill.Color2 = '#FFDCDFE3'
    Line.Top = '#FFC4CAD1'
  end
  object tabcontrolstyle: TvgStyle
    Fill.Color = '#FFF7F8F9'
    Fill.Color2 = '#FFF7F8F9'
    Stroke.Color = '#FFC4CAD1'
  end
  object tabcontrolbrightstyle: TvgStyle
    Fill.Color = '#FFF7F8F9'
    Fill.Color2 = '#FFF1F2F4'
    Stroke.Color = '#00000000'
  end
  object tabitemstyle: TvgStyle
    Fill.Color = '#FFE6E8EB'
    Fill.Selected = '#FFF7F8F9'
    Stroke.Color = '#FFC4CAD1'
    Text.Color = '#FF202020'
    Font.Size = 11
  end
  object groupboxstyle: TvgStyle
    Fill.Color = '#00000000'
    Stroke.Color = '#FFB8BEC6'
    Text.Color = '#FF202020'
    CornerRadius = 4
    Title.Indent = 10
  end
  object cpgroupbox: TvgStyle
    Fill.Color = '#FFFFFFFF'
    Fill.Color2 = '#FFF9FAFB'
    Stroke.Color = '#FFC4CAD1'
    Text.Color = '#FF1E3F66'
    CornerRadius = 5
    Title.Indent = 12
  end
  object buttonstyle: TvgStyle
    Fill.Color = '#FFFDFDFD'
    Fill.Color2 = '#FFE3E6EA'
    Fill.Hot = '#FFFFFFFF'
    Fill.Hot2 = '#FFE9EFF6'
    Fill.Pressed = '#FFD5DAE0'
    Fill.Pressed2 = '#FFE8EBEE'
    Stroke.Color = '#FF959DA7'
    Stroke.Default = '#FF2F6FB0'
    Focus.Color = '#FF2F6FB0'
    Text.Color = '#FF1A1A1A'
    CornerRadius = 3
    Disabled.Opacity = 0.45
  end
  object radiobuttonstyle: TvgStyle
    Fill.Color = '#FFFFFFFF'
    Fill.Color2 = '#FFE6E9ED'
    Stroke.Color = '#FF87909B'
    Check.Color = '#FF2F6FB0'
    Focus.Color = '#FF2F6FB0'
    Text.Color = '#FF000000'
    Size = 13
    Spacing = 6
    Disabled.Opacity = 0.45
  end
  object checkboxstyle: TvgStyle
    Fill.Color = '#FFFFFFFF'
    Fill.Color2 = '#FFE6E9ED'
    Stroke.Color = '#FF87909B'
    Check.Color = '#FF2F6FB0'
    CornerRadius = 2
    Size = 13
  end
  object treeviewstyle: TvgStyle
    Fill.Color = '#FFFFFFFF'
    Stroke.Color = '#FFA3AAB3'
    Selection.Color = '#FF2F6FB0'
    Selection.Text = '#FFFFFFFF'
    Focus.Color = '#FF2F6FB0'
    Text.Color = '#FF000000'
    CornerRadius = 2
    Font.Size = 12
    Disabled.Opacity = 0.45
  end
  object progressbarstyle: TvgStyle
    Fill.Color = '#FFE2E5E9'
    Fill.Color2 = '#FFF3F4F6'
    Stroke.Color = '#FFA3AAB3'
    Bar.Color = '#FF2F6FB0'
    CornerRadius = 2
  end
end
)STYLES";

std::map<std::string, TvgStyle> ParseBuiltInStyles() {
  std::map<std::string, TvgStyle> styles;
  for (TFormObject& style : ParseFormText(kStylesText).children) {
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

std::string_view BuiltInStylesText() { return kStylesText; }

}  // namespace dbinst
