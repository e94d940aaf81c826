#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "ui/FormValue.h"

namespace dbinst {

// A text form that cannot be compiled: what went wrong, at which line and column (from 1).
class EFormTextError : public std::runtime_error {
 public:
  EFormTextError(const std::string& what, int line, int column)
      : std::runtime_error("line " + std::to_string(line) + ", column " + std::to_string(column) +
                           ": " + what),
        line_(line),
        column_(column) {}

  int Line() const { return line_; }
  int Column() const { return column_; }

 private:
  int line_;
  int column_;
};

// Parses the text notation of a form (`object Name: TClass … end`) into values typed as Free
// Pascal's ObjectTextToBinary types them: the smallest integer type, extended floats, one-byte
// strings (long ones past 255 bytes) unless a character code above 127 makes them wide.
// Text between quotes is taken as UTF-8.
TFormObject ParseFormText(std::string_view text);

// ParseFormText followed by WriteFormStream.
std::string CompileFormText(std::string_view text);

}  // namespace dbinst
