#pragma once

#include <initializer_list>
#include <string>

namespace dbinst::test {

// Builders of hand-made form streams for the reader and writer tests.
inline std::string Bytes(std::initializer_list<int> bytes) {
  std::string result;
  for (int byte : bytes) result.push_back(static_cast<char>(byte));
  return result;
}

inline std::string Short(const std::string& text) { return static_cast<char>(text.size()) + text; }

inline std::string Prop(const std::string& name, const std::string& value) {
  return Short(name) + value;
}

inline std::string Form(const std::string& properties, const std::string& children = "") {
  return "TPF0" + Short("TA") + Short("A") + properties + '\0' + children + '\0';
}

}  // namespace dbinst::test
