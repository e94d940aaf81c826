// A small reader of the automation's JSON answers, for the end-to-end tests.
#pragma once

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dbinst::test {

class JsonValue {
 public:
  enum class Kind { Null, Bool, Number, String, Array, Object };

  // Throws std::runtime_error on anything that is not one complete JSON value.
  static JsonValue Parse(std::string_view text);

  Kind kind() const { return kind_; }
  bool Has(const std::string& key) const { return kind_ == Kind::Object && object_.count(key); }
  // Throws when the key is missing, so a test names what it did not find.
  const JsonValue& operator[](const std::string& key) const;
  const JsonValue& operator[](size_t index) const;
  size_t size() const { return kind_ == Kind::Array ? array_.size() : object_.size(); }
  const std::string& str() const;
  bool boolean() const;
  double number() const;
  const std::map<std::string, JsonValue>& members() const { return object_; }

 private:
  friend class JsonParser;
  Kind kind_ = Kind::Null;
  bool bool_ = false;
  double number_ = 0;
  std::string string_;
  std::vector<JsonValue> array_;
  std::map<std::string, JsonValue> object_;
};

}  // namespace dbinst::test
