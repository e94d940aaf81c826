#pragma once

#include <cstddef>
#include <string_view>

#include "ui/FormStreamError.h"
#include "ui/FormValue.h"

namespace dbinst {

// Lists, collections and child objects nest at most this deep.
inline constexpr int kFormStreamMaxDepth = 64;
// Objects, properties and values together; keeps a hostile stream from costing gigabytes.
inline constexpr size_t kFormStreamMaxNodes = 200'000;

// Reads a whole binary form stream: "TPF0", one object, nothing after it. Throws
// EFormStreamError on anything malformed, truncated or out of bounds.
TFormObject ReadFormStream(std::string_view stream);

// Style libraries keep a nested form stream inside a binary block.
TFormObject ReadNestedFormStream(const TFormValue& binaryBlock);

}  // namespace dbinst
