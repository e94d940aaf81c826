#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileVersion.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr size_t kNodeHeaderBytes = 6;  // wLength, wValueLength, wType
constexpr uint16_t kTextType = 1;

// One node of a VS_VERSIONINFO tree, located inside the block; every range lies within the node.
struct VersionNode {
  size_t begin = 0;
  size_t end = 0;
  std::u16string key;
  size_t valueBegin = 0;
  size_t valueEnd = 0;
  size_t childrenBegin = 0;
  uint16_t type = 0;
};

size_t AlignTo4(size_t offset) { return (offset + 3) & ~size_t{3}; }

uint16_t ReadWord(const std::vector<uint8_t>& block, size_t offset) {
  return static_cast<uint16_t>(block[offset] | (block[offset + 1] << 8));
}

// Parses the node at begin, which must fit inside [begin, limit); nothing when it does not.
std::optional<VersionNode> ParseNode(const std::vector<uint8_t>& block, size_t begin,
                                     size_t limit) {
  if (limit > block.size() || begin > limit || limit - begin < kNodeHeaderBytes) return {};
  const size_t length = ReadWord(block, begin);
  if (length < kNodeHeaderBytes || length > limit - begin) return {};
  VersionNode node;
  node.begin = begin;
  node.end = begin + length;
  const uint16_t valueLength = ReadWord(block, begin + 2);
  node.type = ReadWord(block, begin + 4);

  size_t at = begin + kNodeHeaderBytes;
  for (;;) {
    if (at + 2 > node.end) return {};
    const char16_t unit = static_cast<char16_t>(ReadWord(block, at));
    at += 2;
    if (unit == 0) break;
    node.key.push_back(unit);
  }
  node.valueBegin = std::min(AlignTo4(at), node.end);
  // A text value counts UTF-16 units, a binary one bytes; writers that get this wrong are clamped.
  const size_t valueBytes = node.type == kTextType ? size_t{valueLength} * 2 : valueLength;
  node.valueEnd = std::min(node.valueBegin + valueBytes, node.end);
  node.childrenBegin = std::min(AlignTo4(node.valueEnd), node.end);
  return node;
}

std::optional<VersionNode> FindChild(const std::vector<uint8_t>& block, const VersionNode& parent,
                                     std::string_view name) {
  size_t at = parent.childrenBegin;
  while (at < parent.end) {
    const auto child = ParseNode(block, at, parent.end);
    if (!child) return {};
    if (EqualsNoCase(Utf16ToUtf8(child->key), name)) return child;
    at = AlignTo4(child->end);  // length is at least 6, so the walk always moves forward
  }
  return {};
}

std::optional<VersionNode> FindNode(const std::vector<uint8_t>& block, std::string_view path) {
  auto node = ParseNode(block, 0, block.size());
  while (node && !path.empty()) {
    const size_t separator = path.find('\\');
    const std::string_view name = path.substr(0, separator);
    path = separator == std::string_view::npos ? std::string_view{} : path.substr(separator + 1);
    if (!name.empty()) node = FindChild(block, *node, name);
  }
  return node;
}

}  // namespace

std::optional<std::vector<uint8_t>> VerQueryValueRaw(const std::vector<uint8_t>& block,
                                                     std::string_view subBlock) {
  const auto node = FindNode(block, subBlock);
  if (!node) return {};
  return std::vector<uint8_t>(block.begin() + static_cast<std::ptrdiff_t>(node->valueBegin),
                              block.begin() + static_cast<std::ptrdiff_t>(node->valueEnd));
}

std::optional<std::string> VerQueryValueText(const std::vector<uint8_t>& block,
                                             std::string_view subBlock) {
  const auto node = FindNode(block, subBlock);
  if (!node) return {};
  // The system's query does not look at wType either: the value is read as text up to its zero.
  std::u16string text;
  for (size_t at = node->valueBegin; at + 2 <= node->valueEnd; at += 2) {
    const char16_t unit = static_cast<char16_t>(ReadWord(block, at));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return Utf16ToUtf8(text);
}

}  // namespace dbinst
