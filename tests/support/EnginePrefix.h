#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "env/GeneralMod.h"
#include "platform/Machine.h"
#include "tests/TempFolder.h"
#include "tools/demoprefix/PrefixBuilder.h"

namespace dbinst::test {

// A prefix made by the demo-prefix builder, an installer file carrying chosen resources, and the
// shared module on them, set as the run's module for as long as this lives.
class EnginePrefix {
 public:
  EnginePrefix();
  ~EnginePrefix();
  EnginePrefix(const EnginePrefix&) = delete;
  EnginePrefix& operator=(const EnginePrefix&) = delete;

  PrefixBuilder& Builder() { return builder_; }
  // Resources of the installer the machine opens: NAME and bytes.
  void AddResource(std::string name, std::string bytes);
  // Builds the prefix and the installer, opens the machine and makes the module.
  void Open();

  Machine& machine() { return *machine_; }
  TGeneralMod& module() { return *module_; }
  std::string HostPath(const std::string& windowsPath) const {
    return builder_.HostPath(windowsPath);
  }
  const std::filesystem::path& Root() const { return folder_.Path(); }

 private:
  test::TempFolder folder_;
  std::filesystem::path prefixFolder_ = folder_.Path() / "prefix";
  PrefixBuilder builder_{prefixFolder_.string()};
  std::vector<std::pair<std::string, std::string>> resources_;
  std::unique_ptr<Machine> machine_;
  std::unique_ptr<TGeneralMod> module_;
};

}  // namespace dbinst::test
