#pragma once

#include <memory>
#include <string>

#include "platform/ScriptInput.h"

namespace dbinst {

// Script lines from a file or standard input ("-"), read with poll so that a round of the event
// loop can look for a line without waiting.
class FdScriptInput : public ScriptInput {
 public:
  // Null with the reason in error when the file cannot be opened.
  static std::unique_ptr<FdScriptInput> Open(const std::string& source, std::string& error);
  ~FdScriptInput() override;
  FdScriptInput(const FdScriptInput&) = delete;
  FdScriptInput& operator=(const FdScriptInput&) = delete;

  EScriptRead ReadLine(std::string& line, int timeoutMs) override;

 private:
  FdScriptInput(int fd, bool owned) : fd_(fd), owned_(owned) {}
  bool TakeBufferedLine(std::string& line);
  // Reads what has arrived; false at the end of the input or on a read error.
  bool ReadMore();

  int fd_;
  bool owned_;
  bool ended_ = false;
  std::string buffer_;
  bool discarding_ = false;  // the rest of an over-long line
};

}  // namespace dbinst
