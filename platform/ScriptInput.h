#pragma once

#include <string>

namespace dbinst {

enum class EScriptRead { Line, NotYet, End };

// The lines of an automation script, as they arrive.
class ScriptInput {
 public:
  virtual ~ScriptInput() = default;
  // The next whole line without its line break. Waits at most timeoutMs for it (-1: as long as
  // it takes, 0: not at all); NotYet when nothing complete arrived in that time.
  virtual EScriptRead ReadLine(std::string& line, int timeoutMs) = 0;
};

}  // namespace dbinst
