#include "tests/app/JsonValue.h"

#include <cstdlib>

#include "platform/Text.h"

namespace dbinst::test {

class JsonParser {
 public:
  explicit JsonParser(std::string_view text) : text_(text) {}

  JsonValue Document() {
    JsonValue value = Value();
    SkipBlanks();
    if (at_ != text_.size()) Fail("text after the value");
    return value;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error("JSON: " + what + " at " + std::to_string(at_) + " in " +
                             std::string(text_));
  }
  void SkipBlanks() {
    while (at_ < text_.size() && std::string_view(" \t\r\n").find(text_[at_]) != std::string::npos)
      ++at_;
  }
  bool Take(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  void Expect(char c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) Fail(std::string("expected ") + c);
    ++at_;
  }

  JsonValue Value() {
    SkipBlanks();
    if (at_ >= text_.size()) Fail("unexpected end");
    JsonValue value;
    const char c = text_[at_];
    if (c == '{') {
      value.kind_ = JsonValue::Kind::Object;
      ++at_;
      SkipBlanks();
      if (Take("}")) return value;
      do {
        SkipBlanks();
        std::string key = String();
        Expect(':');
        value.object_[key] = Value();
        SkipBlanks();
      } while (Take(","));
      Expect('}');
    } else if (c == '[') {
      value.kind_ = JsonValue::Kind::Array;
      ++at_;
      SkipBlanks();
      if (Take("]")) return value;
      do {
        value.array_.push_back(Value());
        SkipBlanks();
      } while (Take(","));
      Expect(']');
    } else if (c == '"') {
      value.kind_ = JsonValue::Kind::String;
      value.string_ = String();
    } else if (Take("true") || Take("false")) {
      value.kind_ = JsonValue::Kind::Bool;
      value.bool_ = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
    } else if (Take("null")) {
      value.kind_ = JsonValue::Kind::Null;
    } else {
      value.kind_ = JsonValue::Kind::Number;
      const std::string rest(text_.substr(at_, 64));
      char* end = nullptr;
      value.number_ = std::strtod(rest.c_str(), &end);
      if (end == rest.c_str()) Fail("not a value");
      at_ += static_cast<size_t>(end - rest.c_str());
    }
    return value;
  }

  std::string String() {
    if (at_ >= text_.size() || text_[at_] != '"') Fail("expected a string");
    ++at_;
    std::string out;
    while (at_ < text_.size() && text_[at_] != '"') {
      char c = text_[at_++];
      if (c != '\\') {
        out += c;
        continue;
      }
      if (at_ >= text_.size()) Fail("unfinished escape");
      c = text_[at_++];
      switch (c) {
        case 'n':
          out += '\n';
          break;
        case 't':
          out += '\t';
          break;
        case 'r':
          out += '\r';
          break;
        case 'b':
          out += '\b';
          break;
        case 'f':
          out += '\f';
          break;
        case 'u':
          out += CodePoint();
          break;
        default:
          out += c;
      }
    }
    if (at_ >= text_.size()) Fail("unfinished string");
    ++at_;
    return out;
  }

  std::string CodePoint() {
    char32_t cp = Hex4();
    if (cp >= 0xD800 && cp < 0xDC00 && Take("\\u"))
      cp = 0x10000 + ((cp - 0xD800) << 10) + (Hex4() - 0xDC00);
    return CodePointToUtf8(cp);
  }
  char32_t Hex4() {
    if (at_ + 4 > text_.size()) Fail("short \\u escape");
    const std::string digits(text_.substr(at_, 4));
    at_ += 4;
    return static_cast<char32_t>(std::strtoul(digits.c_str(), nullptr, 16));
  }

  std::string_view text_;
  size_t at_ = 0;
};

JsonValue JsonValue::Parse(std::string_view text) { return JsonParser(text).Document(); }

const JsonValue& JsonValue::operator[](const std::string& key) const {
  const auto found = object_.find(key);
  if (kind_ != Kind::Object || found == object_.end()) {
    throw std::runtime_error("JSON: no member \"" + key + "\"");
  }
  return found->second;
}

const JsonValue& JsonValue::operator[](size_t index) const {
  if (kind_ != Kind::Array || index >= array_.size()) {
    throw std::runtime_error("JSON: no element " + std::to_string(index));
  }
  return array_[index];
}

const std::string& JsonValue::str() const {
  if (kind_ != Kind::String) throw std::runtime_error("JSON: not a string");
  return string_;
}

bool JsonValue::boolean() const {
  if (kind_ != Kind::Bool) throw std::runtime_error("JSON: not a boolean");
  return bool_;
}

double JsonValue::number() const {
  if (kind_ != Kind::Number) throw std::runtime_error("JSON: not a number");
  return number_;
}

}  // namespace dbinst::test
