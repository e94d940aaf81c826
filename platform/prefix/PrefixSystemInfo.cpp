#include "platform/prefix/PrefixSystemInfo.h"

#include <cstdio>
#include <utility>

#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "platform/Text.h"
#include "platform/prefix/PosixLocale.h"
#include "platform/prefix/PrefixFileSystem.h"

namespace dbinst {
namespace {

constexpr const char* kNtCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kInternational = "Control Panel\\International";

std::optional<std::string> ReadText(const Registry& registry, RegRoot root, const char* path,
                                    const char* name) {
  auto key = registry.OpenKey(root, path, RegView::Native);
  if (!key) return std::nullopt;
  auto value = key->ReadValue(name);
  if (!value) return std::nullopt;
  return RegValueText(*value);
}

std::optional<int32_t> ReadDword(const Registry& registry, RegRoot root, const char* path,
                                 const char* name) {
  auto key = registry.OpenKey(root, path, RegView::Native);
  if (!key) return std::nullopt;
  auto value = key->ReadValue(name);
  if (!value) return std::nullopt;
  return RegValueInteger(*value);
}

std::optional<uint32_t> ParseHex(const std::string& text) {
  if (text.empty() || text.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

PrefixSystemInfo::PrefixSystemInfo(const Registry& registry, const PrefixFileSystem& files,
                                   bool win64, std::string executableHostPath)
    : registry_(registry),
      files_(files),
      win64_(win64),
      executableHostPath_(std::move(executableHostPath)) {}

std::optional<OsVersion> PrefixSystemInfo::GetVersion() const {
  OsVersion version;
  version.platformId = 2;
  const auto major =
      ReadDword(registry_, RegRoot::LocalMachine, kNtCurrentVersion, "CurrentMajorVersionNumber");
  const auto minor =
      ReadDword(registry_, RegRoot::LocalMachine, kNtCurrentVersion, "CurrentMinorVersionNumber");
  if (major && minor) {
    version.major = static_cast<uint32_t>(*major);
    version.minor = static_cast<uint32_t>(*minor);
  } else {
    const std::string text =
        ReadText(registry_, RegRoot::LocalMachine, kNtCurrentVersion, "CurrentVersion")
            .value_or("6.1");
    unsigned parsedMajor = 0;
    unsigned parsedMinor = 0;
    if (std::sscanf(text.c_str(), "%u.%u", &parsedMajor, &parsedMinor) != 2) return std::nullopt;
    version.major = parsedMajor;
    version.minor = parsedMinor;
  }
  // A program whose manifest does not declare Windows 8.1 or later is told 6.2, as Windows and
  // Wine both do; the installer's manifest declares none.
  if (version.major > 6 || (version.major == 6 && version.minor > 2)) {
    version.major = 6;
    version.minor = 2;
  }
  const auto build =
      ReadText(registry_, RegRoot::LocalMachine, kNtCurrentVersion, "CurrentBuildNumber");
  if (build) version.build = static_cast<uint32_t>(ParseInteger(*build).value_or(0));
  version.servicePack =
      ReadText(registry_, RegRoot::LocalMachine, kNtCurrentVersion, "CSDVersion").value_or("");
  return version;
}

uint16_t PrefixSystemInfo::UserDefaultLangId() const {
  if (auto locale = ReadText(registry_, RegRoot::CurrentUser, kInternational, "Locale")) {
    if (auto lcid = ParseHex(Trim(*locale)); lcid && (*lcid & 0xFFFF) != 0) {
      return static_cast<uint16_t>(*lcid & 0xFFFF);
    }
  }
  return LangIdOfPosixLocale(PosixLocaleFromEnvironment());
}

uint32_t PrefixSystemInfo::AnsiCodePage() const {
  if (auto acp = ReadText(registry_, RegRoot::LocalMachine,
                          "System\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP")) {
    if (auto number = ParseInteger(Trim(*acp)); number && *number > 0 && *number < 65536) {
      return static_cast<uint32_t>(*number);
    }
  }
  return AnsiCodePageOfLangId(UserDefaultLangId());
}

NumberFormat PrefixSystemInfo::UserNumberFormat() const {
  NumberFormat format;
  const uint16_t primary = UserDefaultLangId() & 0x3FF;
  // Defaults of the locales that write "1 234,5" when the prefix does not say.
  if (primary != 0x09 && primary != 0x00) {
    format.thousandSeparator = "\xC2\xA0";
    format.decimalSeparator = ",";
  }
  if (auto sep = ReadText(registry_, RegRoot::CurrentUser, kInternational, "sThousand")) {
    format.thousandSeparator = *sep;
  }
  if (auto sep = ReadText(registry_, RegRoot::CurrentUser, kInternational, "sDecimal")) {
    format.decimalSeparator = *sep;
  }
  return format;
}

std::string PrefixSystemInfo::WindowsFolder() const {
  const auto root = ReadText(registry_, RegRoot::LocalMachine, kNtCurrentVersion, "SystemRoot");
  const std::string folder = root ? WithoutTrailingBackslash(Trim(*root)) : std::string();
  return folder.empty() ? std::string("C:\\windows") : folder;
}

std::optional<std::string> PrefixSystemInfo::SpecialFolder(int csidl) const {
  constexpr int kCsidlWindows = 36;
  constexpr int kCsidlSystem = 37;
  if (csidl == kCsidlWindows) return WindowsFolder();
  if (csidl == kCsidlSystem) return SystemDirectory();
  return std::nullopt;
}

std::string PrefixSystemInfo::SystemDirectory() const { return WindowsFolder() + "\\system32"; }

std::string PrefixSystemInfo::SystemWow64Directory() const {
  return win64_ ? WindowsFolder() + "\\syswow64" : std::string();
}

std::string PrefixSystemInfo::EnvironmentValue(const std::string& name) const {
  struct Source {
    RegRoot root;
    const char* path;
  };
  // The user's own variables win over the volatile session ones, which win over the system's.
  static constexpr Source kSources[] = {
      {RegRoot::CurrentUser, "Environment"},
      {RegRoot::CurrentUser, "Volatile Environment"},
      {RegRoot::LocalMachine, "System\\CurrentControlSet\\Control\\Session Manager\\Environment"},
  };
  for (const Source& source : kSources) {
    if (auto value = ReadText(registry_, source.root, source.path, name.c_str())) return *value;
  }
  if (EqualsNoCase(name, "SystemRoot") || EqualsNoCase(name, "windir")) return WindowsFolder();
  return {};
}

std::string PrefixSystemInfo::ExpandEnvironmentStrings(const std::string& text) const {
  std::string out;
  size_t i = 0;
  // Each variable is expanded once, so a value that names itself cannot loop.
  while (i < text.size()) {
    const size_t open = text.find('%', i);
    if (open == std::string::npos) break;
    const size_t close = text.find('%', open + 1);
    if (close == std::string::npos) break;
    out.append(text, i, open - i);
    const std::string name = text.substr(open + 1, close - open - 1);
    const std::string value = name.empty() ? std::string() : EnvironmentValue(name);
    if (value.empty()) {
      out.append(text, open, close - open);
      i = close;
    } else {
      out += value;
      i = close + 1;
    }
  }
  out.append(text, i, std::string::npos);
  return out;
}

std::string PrefixSystemInfo::TempPath() const {
  // GetTempPath's order: TMP, TEMP, USERPROFILE, then the Windows folder.
  for (const char* name : {"TMP", "TEMP", "USERPROFILE"}) {
    const std::string value = Trim(ExpandEnvironmentStrings(EnvironmentValue(name)));
    if (!value.empty()) return WithTrailingBackslash(value);
  }
  return WithTrailingBackslash(WindowsFolder());
}

std::string PrefixSystemInfo::ExecutablePath() const {
  return files_.WindowsPathOfHost(executableHostPath_);
}

}  // namespace dbinst
