#pragma once

#include "platform/Display.h"

namespace dbinst {

// SDL2 windows when a display is there, and scripts read from files or standard input.
UiServices PrefixUiServices();

}  // namespace dbinst
