#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dbinst {

// What GetVersionEx answers.
struct OsVersion {
  uint32_t platformId = 0;  // 2 = NT family, 1 = Windows 95 family
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  std::string servicePack;  // CSDVersion
};

struct NumberFormat {
  std::string thousandSeparator = ",";
  std::string decimalSeparator = ".";
};

// Facts of the machine and the user that the system functions give.
class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual std::optional<OsVersion> GetVersion() const = 0;
  // GetUserDefaultUILanguage: the full 16-bit LANGID; 0 when unknown.
  virtual uint16_t UserDefaultLangId() const = 0;
  virtual uint32_t AnsiCodePage() const = 0;
  virtual NumberFormat UserNumberFormat() const = 0;
  // SHGetSpecialFolderLocation + SHGetPathFromIDList: 36 = Windows folder, 37 = system folder.
  virtual std::optional<std::string> SpecialFolder(int csidl) const = 0;
  virtual std::string SystemDirectory() const = 0;       // GetSystemDirectory
  virtual std::string SystemWow64Directory() const = 0;  // empty on a 32-bit machine
  // GetTempPath: the user's temporary folder with a trailing backslash.
  virtual std::string TempPath() const = 0;
  // The running executable as a Windows path.
  virtual std::string ExecutablePath() const = 0;
};

}  // namespace dbinst
