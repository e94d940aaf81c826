#include "platform/prefix/RegFileBuilder.h"

#include <algorithm>
#include <chrono>
#include <fstream>

#include "platform/Text.h"
#include "platform/prefix/RegFile.h"
#include "platform/prefix/RegFormat.h"

namespace dbinst {
namespace {

// Wine orders names by their upper-cased UTF-16 code units, a shorter name before its extensions.
std::u16string SortKey(std::string_view name) { return Utf8ToUtf16(ToUpper(name)); }

template <typename T, typename NameOf>
std::vector<const T*> SortedByName(const std::vector<T>& items, NameOf nameOf) {
  std::vector<std::pair<std::u16string, const T*>> keyed;
  keyed.reserve(items.size());
  for (const T& item : items) keyed.emplace_back(SortKey(nameOf(item)), &item);
  std::sort(keyed.begin(), keyed.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const T*> sorted;
  for (const auto& entry : keyed) sorted.push_back(entry.second);
  return sorted;
}

}  // namespace

RegFileBuilder::RegFileBuilder(RegRoot root, bool win64)
    : root_(root),
      win64_(win64),
      unixSeconds_(std::chrono::duration_cast<std::chrono::seconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count()),
      tree_(std::make_unique<RegKeyNode>("")) {}

RegFileBuilder::~RegFileBuilder() = default;
RegFileBuilder::RegFileBuilder(RegFileBuilder&&) noexcept = default;
RegFileBuilder& RegFileBuilder::operator=(RegFileBuilder&&) noexcept = default;

RegKeyNode& RegFileBuilder::Key(std::string_view path) {
  RegKeyNode* node = tree_.get();
  for (std::string_view part : SplitRegPath(path)) node = &node->SubKey(part);
  return *node;
}

void RegFileBuilder::AddKey(std::string_view path) { Key(path); }

void RegFileBuilder::SetValue(std::string_view path, std::string_view name, RegValue value) {
  Key(path).SetValue(name, std::move(value));
}

void RegFileBuilder::AddLink(std::string_view path, std::string_view target) {
  std::string fullTarget(target);
  if (!StartsWithNoCase(target, "\\Registry\\")) {
    fullTarget =
        root_ == RegRoot::LocalMachine ? "\\Registry\\Machine" : "\\Registry\\User\\" + userSid_;
    for (std::string_view part : SplitRegPath(target)) fullTarget += "\\" + std::string(part);
  }
  RegValue link;
  link.type = kRegLink;
  for (char16_t unit : Utf8ToUtf16(fullTarget)) {
    link.data.push_back(static_cast<uint8_t>(unit & 0xFF));
    link.data.push_back(static_cast<uint8_t>(unit >> 8));
  }
  RegKeyNode& key = Key(path);
  key.SetLink(true);
  key.SetValue("SymbolicLinkValue", std::move(link));
}

std::string RegFileBuilder::RootPath() const {
  return root_ == RegRoot::LocalMachine ? "REGISTRY\\Machine" : "REGISTRY\\User\\" + userSid_;
}

std::string RegFileBuilder::Text() const {
  std::string out = "WINE REGISTRY Version 2\n;; All keys relative to ";
  out += EscapeRegText(Utf8ToUtf16(RootPath()), "[]");
  out += win64_ ? "\n\n#arch=win64\n" : "\n\n#arch=win32\n";
  AppendKey(*tree_, "", out);
  return out;
}

void RegFileBuilder::AppendKey(const RegKeyNode& key, const std::string& path,
                               std::string& out) const {
  if (!key.Values().empty() || key.SubKeys().empty() || key.IsLink()) {
    out += "\n" + FormatRegSectionHeader(path, unixSeconds_);
    if (key.IsLink()) out += "#link\n";
    for (const RegNamedValue* value :
         SortedByName(key.Values(), [](const RegNamedValue& v) { return v.name; })) {
      out += FormatRegValue(value->name, value->value);
    }
  }
  const auto subKeys = SortedByName(
      key.SubKeys(),
      [](const std::unique_ptr<RegKeyNode>& k) -> const std::string& { return k->Name(); });
  for (const auto* subKey : subKeys) {
    AppendKey(**subKey, path.empty() ? (*subKey)->Name() : path + "\\" + (*subKey)->Name(), out);
  }
}

bool RegFileBuilder::WriteTo(const std::string& hostPath) const {
  std::ofstream file(hostPath, std::ios::binary | std::ios::trunc);
  const std::string text = Text();
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  return !file.fail();
}

}  // namespace dbinst
