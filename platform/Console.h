#pragma once

namespace dbinst {

// Whether standard error is a terminal a person watches, rather than a file or a pipe.
bool StandardErrorIsTerminal();

}  // namespace dbinst
