#include "platform/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace dbinst {
namespace {

// Length of the valid UTF-8 sequence at the start of text, 0 when it is not one.
size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  uint32_t minimum = 0;
  uint32_t code = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string JsonQuoted(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    const unsigned char c = static_cast<unsigned char>(text.front());
    const size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out += "\\ufffd";
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  out += '"';
  return out;
}

void JsonWriter::BeforeValue() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (hasMembers_.empty()) return;
  if (hasMembers_.back()) text_ += ", ";
  hasMembers_.back() = true;
}

JsonWriter& JsonWriter::BeginObject() {
  BeforeValue();
  text_ += '{';
  hasMembers_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  text_ += '}';
  hasMembers_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::BeginArray() {
  BeforeValue();
  text_ += '[';
  hasMembers_.push_back(false);
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  text_ += ']';
  hasMembers_.pop_back();
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  BeforeValue();
  text_ += JsonQuoted(key);
  text_ += ": ";
  afterKey_ = true;
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
  BeforeValue();
  text_ += JsonQuoted(text);
  return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
  BeforeValue();
  text_ += value ? "true" : "false";
  return *this;
}

JsonWriter& JsonWriter::Null() {
  BeforeValue();
  text_ += "null";
  return *this;
}

JsonWriter& JsonWriter::Number(float value) {
  BeforeValue();
  if (!std::isfinite(value)) {
    text_ += "null";
    return *this;
  }
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  text_.append(digits, result.ptr);
  return *this;
}

JsonWriter& JsonWriter::Integer(long long value) {
  BeforeValue();
  text_ += std::to_string(value);
  return *this;
}

}  // namespace dbinst
