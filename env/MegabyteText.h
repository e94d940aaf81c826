#pragma once

#include <cstdint>
#include <string>

#include "platform/SystemInfo.h"

namespace dbinst {

// The byte count in megabytes as "#,##0.#" formats it with the user's separators: at most one
// decimal, rounded half away from zero, none when it rounds to a whole number.
std::string MegabyteText(int64_t bytes, const NumberFormat& format);

}  // namespace dbinst
