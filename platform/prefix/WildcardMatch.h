#pragma once

#include <string_view>

namespace dbinst {

bool HasWildcards(std::string_view text);

// FindFirstFile matching without regard to case: * any run of characters, ? one character;
// "*.*" matches every name, and a trailing ".*" also matches a name without that extension.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace dbinst
