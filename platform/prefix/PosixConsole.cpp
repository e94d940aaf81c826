#include <unistd.h>

#include "platform/Console.h"

namespace dbinst {

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace dbinst
