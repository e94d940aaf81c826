#include "payload/ShellOps.h"

#include <limits>

#include "platform/FileSystem.h"
#include "platform/FileVersion.h"
#include "platform/Machine.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/RegistryValue.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"
#include "platform/VersionText.h"

namespace dbinst {
namespace {

constexpr int kCsidlWindows = 36;
constexpr int kCsidlSystem = 37;
constexpr size_t kMaxPath = 260;

int32_t IntegerOrMinusOne(std::string_view text) {
  const auto number = ParseInteger(text);
  if (!number || *number < std::numeric_limits<int32_t>::min() ||
      *number > std::numeric_limits<int32_t>::max()) {
    return -1;
  }
  return static_cast<int32_t>(*number);
}

}  // namespace

ShellOps::ShellOps(Machine& machine) : machine_(machine) {
  FindFolders();
  const std::string temp = machine_.system().TempPath();
  // GetTempPathA fails for an answer that does not fit its 260-character buffer.
  if (!temp.empty() && Utf8ToUtf16(temp).size() <= kMaxPath) {
    TempFolder = WithTrailingBackslash(temp);
  }
}

void ShellOps::FindFolders() {
  const auto version = machine_.system().GetVersion();
  const uint32_t platform = version ? version->platformId : 0;

  if (auto folder = machine_.system().SpecialFolder(kCsidlWindows)) {
    WindowsFolder = *folder;
  } else if (platform == 1 || platform == 2) {
    const char* keyPath = platform == 1 ? "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION"
                                        : "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION";
    auto key = machine_.registry().OpenKey(RegRoot::LocalMachine, keyPath);
    auto value = key ? key->ReadValue("SystemRoot") : std::nullopt;
    WindowsFolder = value ? RegValueText(*value).value_or("") : std::string();
  } else {
    WindowsFolder = "C:\\WINDOWS";
  }

  if (auto folder = machine_.system().SpecialFolder(kCsidlSystem)) {
    SystemFolder = *folder;
  } else if (platform == 1) {
    SystemFolder = WithTrailingBackslash(WindowsFolder) + "SYSTEM";
  } else if (platform == 2) {
    SystemFolder = WithTrailingBackslash(WindowsFolder) + "SYSTEM32";
  }
}

std::string ShellOps::FileVersionText(std::string_view path) const {
  if (!machine_.files().FileExists(path)) return {};
  const auto block = machine_.versions().GetFileVersionInfo(path);
  return block ? FileVersionTextOf(*block) : std::string();
}

TFileVersionNumbers ShellOps::VersionNumbersOfText(std::string_view text) {
  TFileVersionNumbers numbers;
  numbers.text = std::string(text);
  if (Trim(text).empty()) return numbers;
  const size_t dot = text.find('.');
  if (dot == std::string_view::npos || dot == 0) return numbers;
  numbers.major = IntegerOrMinusOne(text.substr(0, dot));
  if (dot + 1 == text.size()) return numbers;
  // The minor number runs to the next dot or, in a text with one dot such as "5.81", to the end:
  // reading that as no minor number would turn away programs that meet their minimum version.
  const std::string_view rest = text.substr(dot + 1);
  const size_t secondDot = rest.find('.');
  if (secondDot != 0) numbers.minor = IntegerOrMinusOne(Trim(rest.substr(0, secondDot)));
  return numbers;
}

TFileVersionNumbers ShellOps::FileVersionNumbers(std::string_view path) const {
  return VersionNumbersOfText(FileVersionText(path));
}

bool ShellOps::IsProcessRunning(std::string_view executableName) const {
  const std::string wanted = ToLower(Trim(executableName));
  for (const ProcessEntry& process : machine_.processes().Enumerate()) {
    for (const std::string& name : process.executableNames) {
      if (ToLower(Trim(name)) == wanted) return true;
    }
  }
  return false;
}

}  // namespace dbinst
