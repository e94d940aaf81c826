#include "env/SystemFacts.h"

#include <memory>
#include <optional>

#include "env/Languages.h"
#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

constexpr std::string_view kProcessorKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
constexpr uint32_t kPlatformNT = 2;
constexpr uint32_t kPlatform9x = 1;

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

int32_t NtVersionCode(uint32_t major, uint32_t minor) {
  if (major <= 4) return 4;
  if (major == 5 && minor == 0) return 6;
  if (major == 5 && minor == 1) return 7;
  if (major == 6 && minor == 0) return 8;
  if (major == 6 && minor == 1) return 9;
  return 0;
}

int32_t Win9xVersionCode(const OsVersion& version) {
  if (version.major != 4) return 0;
  if (version.minor == 0) return 1;
  if (version.minor == 10) {
    const bool secondEdition = version.servicePack.size() >= 2 && version.servicePack[1] == 'A';
    return secondEdition ? 3 : 2;
  }
  if (version.minor == 90) return 5;
  return 0;
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

int32_t WindowsVersionCode(const OsVersion& version) {
  if (version.platformId == kPlatformNT) return NtVersionCode(version.major, version.minor);
  if (version.platformId == kPlatform9x) return Win9xVersionCode(version);
  return 0;
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
    if (version->platformId == kPlatformNT) facts.family = "WINNT";
    if (version->platformId == kPlatform9x) facts.family = "WIN9X";
    facts.versionCode = WindowsVersionCode(*version);
  }
  facts.isNT = facts.family == "WINNT";
  facts.is64Bit = Is64BitWindows(registry);
  facts.systemLanguageCode = SystemLanguageCodeOfLangId(system.UserDefaultLangId());
  return !facts.family.empty();
}

}  // namespace dbinst
