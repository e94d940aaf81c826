#pragma once

#include <memory>

#include "platform/Machine.h"

namespace dbinst {

// A machine that can be looked at but not changed: every write of its registry and its files is
// refused, all else is the machine's own. For runs that promise to write nothing.
std::unique_ptr<Machine> ReadOnlyMachine(std::unique_ptr<Machine> machine);

}  // namespace dbinst
