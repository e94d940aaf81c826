#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace dbinst {

// Gives the bytes of an included file by the name the form writes; nothing when there is none.
using TFormIncludeReader = std::function<std::optional<std::string>(std::string_view name)>;

// Included forms may include others, this deep; a form that includes itself stops here.
inline constexpr int kFormIncludeMaxDepth = 8;

// Our own notation inside a text form: a binary block written `{picture FILE}` becomes the file's
// bytes, and `{form FILE}` the binary form stream of that text form (its includes expanded), both
// as ordinary hexadecimal blocks, so that the result is a plain text form. Throws EFormTextError
// for a missing or unsafe name, a form that does not compile, or includes nested too deep.
std::string ExpandFormIncludes(std::string_view text, const TFormIncludeReader& read);

}  // namespace dbinst
