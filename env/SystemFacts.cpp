#include "env/SystemFacts.h"

#include <memory>
#include <optional>

#include "env/Languages.h"
#include "env/WindowsVersion.h"
#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr std::string_view kProcessorKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";

std::optional<std::string> ReadText(const RegistryKey& key, std::string_view name) {
  const std::optional<RegValue> value = key.ReadValue(name);
  return value ? RegValueText(*value) : std::nullopt;
}

bool ReadProcessorKey(const RegistryKey& key, ProcessorFacts& facts) {
  if (key.ValueExists("ProcessorNameString")) {
    const std::optional<std::string> name = ReadText(key, "ProcessorNameString");
    if (!name) return false;
    facts.name = *name;
  }
  const std::string trimmed = Trim(facts.name);
  if ((trimmed.empty() || trimmed == kUnknownProcessorName) && key.ValueExists("Identifier")) {
    const std::optional<std::string> identifier = ReadText(key, "Identifier");
    if (!identifier) return false;
    facts.name = *identifier;
  }
  if (key.ValueExists("~MHz")) {
    const std::optional<RegValue> value = key.ReadValue("~MHz");
    const std::optional<int32_t> speed = value ? RegValueInteger(*value) : std::nullopt;
    if (!speed) return false;
    facts.speedMhz = *speed;
  }
  return true;
}

}  // namespace

bool GatherProcessorFacts(Registry& registry, ProcessorFacts& facts) {
  facts = ProcessorFacts{};
  if (const auto key = registry.OpenKey(RegRoot::LocalMachine, kProcessorKey)) {
    if (!ReadProcessorKey(*key, facts)) return false;
  }
  return registry.WriteString(RegRoot::CurrentUser, "Control Panel\\Desktop", "ScreenSaveActive",
                              "0");
}

bool Is64BitWindows(const Registry& registry) {
  const bool wowNodeExists =
      registry.OpenKey(RegRoot::LocalMachine, "\\SOFTWARE\\Wow6432Node") != nullptr;
  bool x86Identifier = false;
  if (const auto key = registry.OpenKey(RegRoot::LocalMachine, kProcessorKey)) {
    if (key->ValueExists("Identifier")) {
      const std::optional<std::string> identifier = ReadText(*key, "Identifier");
      if (!identifier) return false;
      x86Identifier = identifier->starts_with("x86");
    }
  }
  return wowNodeExists && !x86Identifier;
}

bool GatherWindowsFacts(const Registry& registry, const SystemInfo& system, WindowsFacts& facts) {
  facts = WindowsFacts{};
  if (const std::optional<OsVersion> version = system.GetVersion()) {
    if (version->platformId == kPlatformIdNT) facts.family = "WINNT";
    if (version->platformId == kPlatformId9x) facts.family = "WIN9X";
    facts.versionCode = WindowsVersionCode(*version);
  }
  facts.isNT = facts.family == "WINNT";
  facts.is64Bit = Is64BitWindows(registry);
  facts.systemLanguageCode = SystemLanguageCodeOfLangId(system.UserDefaultLangId());
  return !facts.family.empty();
}

}  // namespace dbinst
