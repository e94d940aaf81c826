#pragma once

#include <string>

#include "platform/SystemInfo.h"

namespace dbinst {

class PrefixFileSystem;
class Registry;

// Machine facts answered from the prefix's registry as Wine answers them.
class PrefixSystemInfo : public SystemInfo {
 public:
  PrefixSystemInfo(const Registry& registry, const PrefixFileSystem& files, bool win64,
                   std::string executableHostPath);

  std::optional<OsVersion> GetVersion() const override;
  uint16_t UserDefaultLangId() const override;
  uint32_t AnsiCodePage() const override;
  NumberFormat UserNumberFormat() const override;
  std::optional<std::string> SpecialFolder(int csidl) const override;
  std::string SystemDirectory() const override;
  std::string SystemWow64Directory() const override;
  std::string TempPath() const override;
  std::string ExecutablePath() const override;

  // %NAME% references replaced from the user's and the system's environment; unknown ones stay.
  std::string ExpandEnvironmentStrings(const std::string& text) const;

 private:
  std::string WindowsFolder() const;
  std::string EnvironmentValue(const std::string& name) const;

  const Registry& registry_;
  const PrefixFileSystem& files_;
  bool win64_;
  std::string executableHostPath_;
};

}  // namespace dbinst
