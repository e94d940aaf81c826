#include "platform/prefix/PrefixRegistry.h"

#include <chrono>

#include "platform/RegistryValue.h"
#include "platform/Text.h"
#include "platform/prefix/AtomicFile.h"
#include "platform/prefix/HostProcessor.h"
#include "platform/prefix/RegTextEdit.h"
#include "platform/prefix/WineServerProbe.h"

namespace dbinst {
namespace {

constexpr int kMaxLinkHops = 16;
constexpr std::string_view kProcessorPath = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor";

class PrefixRegistryKey : public RegistryKey {
 public:
  explicit PrefixRegistryKey(const RegKeyNode& node) : node_(node) {}

  bool ValueExists(std::string_view name) const override {
    return node_.FindValue(name) != nullptr;
  }

  std::optional<RegValue> ReadValue(std::string_view name) const override {
    const RegNamedValue* value = node_.FindValue(name);
    if (!value) return std::nullopt;
    return value->value;
  }

  std::vector<std::string> ValueNames() const override {
    std::vector<std::string> names;
    for (const RegNamedValue& value : node_.Values()) names.push_back(value.name);
    return names;
  }

  std::vector<std::string> SubKeyNames() const override {
    std::vector<std::string> names;
    for (const auto& key : node_.SubKeys()) names.push_back(key->Name());
    return names;
  }

 private:
  const RegKeyNode& node_;
};

// A link's target is stored with or without terminating zeros.
std::string LinkTarget(const RegValue& link) {
  std::u16string units = RegValueUnits(link);
  while (!units.empty() && units.back() == u'\0') units.pop_back();
  return Utf16ToUtf8(units);
}

// The text after "prefix\" when path starts with it, without regard to case.
std::optional<std::string_view> AfterPrefix(std::string_view path, std::string_view prefix) {
  if (prefix.empty() || !StartsWithNoCase(path, prefix)) return std::nullopt;
  std::string_view rest = path.substr(prefix.size());
  if (!rest.empty() && rest.front() != '\\') return std::nullopt;
  return rest;
}

RegFile LoadOptionalFile(const std::string& path, const std::string& label,
                         std::vector<std::string>& notes) {
  std::string text;
  std::string error;
  if (!ReadHostFile(path, text, error)) {
    notes.push_back(error + "; HKEY_CURRENT_USER is empty");
    return RegFile::Parse("WINE REGISTRY Version 2\n", label);
  }
  return RegFile::Parse(text, label);
}

int64_t UnixNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

PrefixRegistry::PrefixRegistry(std::string prefixHostPath, RegFile machine, RegFile user)
    : prefixHostPath_(std::move(prefixHostPath)),
      machine_(std::move(machine)),
      user_(std::move(user)) {}

std::unique_ptr<PrefixRegistry> PrefixRegistry::Load(const std::string& prefixHostPath,
                                                     std::string& error) {
  const std::string systemPath = prefixHostPath + "/system.reg";
  std::string systemText;
  if (!ReadHostFile(systemPath, systemText, error)) return nullptr;
  std::vector<std::string> notes;
  RegFile machine = RegFile::Parse(systemText, systemPath);
  RegFile user =
      LoadOptionalFile(prefixHostPath + "/user.reg", prefixHostPath + "/user.reg", notes);
  std::unique_ptr<PrefixRegistry> registry(
      new PrefixRegistry(prefixHostPath, std::move(machine), std::move(user)));
  registry->notes_ = std::move(notes);
  for (const RegFile* file : {&registry->machine_, &registry->user_}) {
    for (const std::string& problem : file->Problems()) registry->Note(problem);
  }
  registry->AddProcessorKeyWhenMissing();
  return registry;
}

// Wine makes this key when it starts, so the files of a prefix never hold it.
void PrefixRegistry::AddProcessorKeyWhenMissing() {
  RegKeyNode* key = &machine_.Root();
  for (std::string_view part : SplitRegPath(kProcessorPath)) key = &key->SubKey(part);
  if (key->FindSubKey("0")) return;
  const HostProcessor cpu = ProbeHostProcessor();
  RegKeyNode& first = key->SubKey("0");
  first.SetValue("~MHz", MakeRegDword(cpu.mhz));
  first.SetValue("Identifier", MakeRegText(cpu.identifier));
  first.SetValue("ProcessorNameString", MakeRegText(cpu.name));
  first.SetValue("VendorIdentifier", MakeRegText(cpu.vendor));
}

std::vector<std::string> PrefixRegistry::TakeNotes() {
  std::vector<std::string> notes = std::move(notes_);
  notes_.clear();
  return notes;
}

std::unique_ptr<RegistryKey> PrefixRegistry::OpenKey(RegRoot root, std::string_view path,
                                                     RegView view) const {
  int linkHops = 0;
  const bool redirect =
      view == RegView::Wow32 && root == RegRoot::LocalMachine && machine_.IsWin64();
  const RegKeyNode* key = Walk(root, SplitRegPath(path), redirect, linkHops);
  if (!key) return nullptr;
  return std::make_unique<PrefixRegistryKey>(*key);
}

const RegKeyNode* PrefixRegistry::Walk(RegRoot root, const std::vector<std::string_view>& parts,
                                       bool redirect, int& linkHops) const {
  const RegKeyNode* key = &(root == RegRoot::LocalMachine ? machine_ : user_).Root();
  for (std::string_view part : parts) {
    const RegKeyNode* next = nullptr;
    if (redirect) {
      if (const RegKeyNode* wow = key->FindSubKey("Wow6432Node")) next = wow->FindSubKey(part);
    }
    if (!next) next = key->FindSubKey(part);
    key = FollowLinks(next, linkHops);
    if (!key) return nullptr;
  }
  return key;
}

const RegKeyNode* PrefixRegistry::FollowLinks(const RegKeyNode* key, int& linkHops) const {
  while (key && key->IsLink()) {
    if (++linkHops > kMaxLinkHops) return nullptr;
    const RegNamedValue* link = key->FindValue("SymbolicLinkValue");
    if (!link || link->value.type != kRegLink) return nullptr;
    const std::string target = LinkTarget(link->value);
    if (auto rest = AfterPrefix(target, "\\Registry\\Machine")) {
      key = Walk(RegRoot::LocalMachine, SplitRegPath(*rest), false, linkHops);
    } else if (auto rest = user_.RelativeTo().empty()
                               ? std::nullopt
                               : AfterPrefix(target, "\\" + user_.RelativeTo())) {
      key = Walk(RegRoot::CurrentUser, SplitRegPath(*rest), false, linkHops);
    } else {
      return nullptr;
    }
  }
  return key;
}

bool PrefixRegistry::WriteString(RegRoot root, std::string_view path, std::string_view name,
                                 std::string_view text) {
  if (root != RegRoot::CurrentUser) {
    Note("Registry write refused: only HKEY_CURRENT_USER is written");
    return false;
  }
  const std::string userPath = prefixHostPath_ + "/user.reg";
  const auto fail = [&](const std::string& why) {
    Note("Registry value " + std::string(path) + "\\" + std::string(name) + " not written: " + why);
    return false;
  };
  std::string current;
  std::string error;
  if (!ReadHostFile(userPath, current, error)) return fail(error);
  // Read again: Wine may have saved the file since we loaded it.
  const RegFile parsed = RegFile::Parse(current, userPath);
  if (parsed.ProblemCount() > 0) {
    return fail(userPath + " has content that cannot be read safely (" + parsed.Problems()[0] +
                ")");
  }
  const RegValue value = MakeRegText(text);
  const auto remember = [&] {
    RegKeyNode* key = &user_.Root();
    for (std::string_view part : SplitRegPath(path)) key = &key->SubKey(part);
    key->SetValue(name, value);
    return true;
  };

  const RegKeyNode* fileKey = &parsed.Root();
  for (std::string_view part : SplitRegPath(path))
    fileKey = fileKey ? fileKey->FindSubKey(part) : nullptr;
  const RegNamedValue* onDisk = fileKey ? fileKey->FindValue(name) : nullptr;
  if (onDisk && onDisk->value.type == value.type && onDisk->value.data == value.data) {
    return remember();
  }
  auto edited = RegTextWithValue(current, parsed, path, name, value, UnixNow(), error);
  if (!edited) return fail(error);
  if (IsWineServerRunning(prefixHostPath_)) {
    Note("A Wine server is running for this prefix; it may overwrite the change to " +
         std::string(path) + "\\" + std::string(name) + " when it exits");
  }
  if (!ReplaceHostFile(userPath, *edited, error)) return fail(error);
  return remember();
}

}  // namespace dbinst
