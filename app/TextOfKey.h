#pragma once

#include <functional>
#include <string>

namespace dbinst {

// The translation text of a key in the run's language; the window passes the shared module's.
using TextOfKey = std::function<std::string(int key)>;

}  // namespace dbinst
