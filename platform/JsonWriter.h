#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dbinst {

// Writes one JSON value into a string, with ": " after keys and ", " between members.
class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view text);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  // Shortest text that reads back as the same float; null for NaN and infinities.
  JsonWriter& Number(float value);
  JsonWriter& Integer(long long value);

  const std::string& Text() const { return text_; }

 private:
  void BeforeValue();
  std::string text_;
  std::vector<bool> hasMembers_;  // one entry per open object or array
  bool afterKey_ = false;
};

// The JSON string literal of a UTF-8 text; bytes that are not UTF-8 become U+FFFD.
std::string JsonQuoted(std::string_view text);

}  // namespace dbinst
