#include "platform/MessageBox.h"

#include <cstdio>
#include <cstdlib>

namespace dbinst {

void ExitProcessWithCode(int code) {
  std::fflush(nullptr);
  std::exit(code);
}

}  // namespace dbinst
