#pragma once

#include <string_view>

namespace dbinst {

class TvgStyle;

// The toolkit's own look of a style name, for a scene whose library lacks it; null for a name the
// toolkit does not know (compared without regard to case).
const TvgStyle* BuiltInStyle(std::string_view name);

// The built-in styles as a text form: the windows' own style library, which the build compiles
// from resources/forms/styles/vgResources1.txt into this function so that the two never drift.
std::string_view BuiltInStylesText();

}  // namespace dbinst
