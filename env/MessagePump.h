#pragma once

#include <functional>

namespace dbinst {

// Long work calls this at fixed points so the window stays alive; the application installs the
// pump once its window exists, and until then it does nothing.
void ProcessMessages();
void SetMessagePump(std::function<void()> pump);

}  // namespace dbinst
