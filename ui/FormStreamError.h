#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace dbinst {

// A form stream that cannot be read or written: what went wrong and at which byte offset.
class EFormStreamError : public std::runtime_error {
 public:
  EFormStreamError(const std::string& what, size_t offset)
      : std::runtime_error("form stream: " + what + " at offset " + std::to_string(offset)),
        offset_(offset) {}

  size_t Offset() const { return offset_; }

 private:
  size_t offset_;
};

}  // namespace dbinst
