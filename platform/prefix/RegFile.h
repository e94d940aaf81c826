#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Registry.h"

namespace dbinst {

// Where a piece of the parsed text sits, so that one value can be rewritten in place.
struct RegTextSpan {
  size_t begin = 0;
  size_t end = 0;  // past the line end of the last line
};

struct RegNamedValue {
  std::string name;
  RegValue value;
  RegTextSpan span;
};

class RegKeyNode {
 public:
  explicit RegKeyNode(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  bool IsLink() const { return isLink_; }
  void SetLink(bool isLink) { isLink_ = isLink; }

  const RegKeyNode* FindSubKey(std::string_view name) const;
  RegKeyNode* FindSubKey(std::string_view name);
  RegKeyNode& SubKey(std::string_view name);  // creates it when missing
  const std::vector<std::unique_ptr<RegKeyNode>>& SubKeys() const { return subKeys_; }

  const RegNamedValue* FindValue(std::string_view name) const;
  RegNamedValue& SetValue(std::string_view name, RegValue value);  // replaces a value of that name
  const std::vector<RegNamedValue>& Values() const { return values_; }

  // Set for a key that has a section of its own in the text: where its last section starts,
  // and where its header and "#" lines end.
  bool HasSection() const { return hasSection_; }
  const RegTextSpan& SectionHead() const { return sectionHead_; }
  void SetSectionHead(RegTextSpan head) {
    hasSection_ = true;
    sectionHead_ = head;
  }

 private:
  std::string name_;
  bool isLink_ = false;
  bool hasSection_ = false;
  RegTextSpan sectionHead_;
  // Positions by upper-cased name, made only for long lists: most keys hold a handful of entries
  // and a map for each would cost more than it saves.
  using NameIndex = std::unordered_map<std::string, size_t>;
  static constexpr size_t kIndexFrom = 12;

  std::vector<std::unique_ptr<RegKeyNode>> subKeys_;
  std::unique_ptr<NameIndex> subKeyIndex_;
  std::vector<RegNamedValue> values_;
  std::unique_ptr<NameIndex> valueIndex_;
};

// One of Wine's registry files (system.reg, user.reg) read into a tree of keys.
class RegFile {
 public:
  // Never fails: what cannot be read is skipped and described in Problems().
  static RegFile Parse(std::string_view text, std::string_view fileName);

  RegKeyNode& Root() { return *root_; }
  const RegKeyNode& Root() const { return *root_; }
  // The text of ";; All keys relative to ...", unescaped: "REGISTRY\Machine".
  const std::string& RelativeTo() const { return relativeTo_; }
  bool IsWin64() const { return win64_; }
  // "file:line: what" for each thing skipped, at most kMaxProblemNotes plus a count of the rest.
  const std::vector<std::string>& Problems() const { return problems_; }
  size_t ProblemCount() const { return problemCount_; }

  static constexpr size_t kMaxProblemNotes = 20;

 private:
  friend class RegFileParser;
  RegFile() : root_(std::make_unique<RegKeyNode>("")) {}

  std::unique_ptr<RegKeyNode> root_;
  std::string relativeTo_;
  bool win64_ = false;
  std::vector<std::string> problems_;
  size_t problemCount_ = 0;
};

// Splits a registry path at backslashes, dropping empty parts ("\A\\B\" gives A, B).
std::vector<std::string_view> SplitRegPath(std::string_view path);

}  // namespace dbinst
