#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "env/GeneralMod.h"
#include "payload/MyFileOp.h"
#include "platform/Machine.h"
#include "platform/SystemInfo.h"
#include "platform/prefix/PrefixMachine.h"

namespace dbinst {
namespace {

constexpr int kExitFatal = 3;

void PrintEnvironment(Machine& machine, const TGeneralMod& module) {
  std::printf("Installer: %s\n", machine.system().ExecutablePath().c_str());
  std::printf("Language: %s\n", module.CurrentLanguageCode().c_str());
  std::printf("Window title: %s\n", module.Text(207).c_str());
  for (const auto& [line, folder] : module.CurrentInstallations()) {
    std::printf("Installed: %s in %s\n", module.ProductName(line).c_str(), folder.c_str());
  }
}

int Run(const std::vector<std::string>& arguments) {
  const std::string prefix = DefaultPrefixPath();
  std::string error;
  std::unique_ptr<Machine> machine = OpenPrefixMachine({prefix, RunningExecutablePath()}, error);
  if (!machine) {
    std::fprintf(stderr, "No Wine prefix to install into: %s\n", error.c_str());
    return kExitFatal;
  }
  // The module lives until the process ends, as every part of the program reaches it.
  GeneralMod = new TGeneralMod(*machine, arguments);
  MyFileOp fileOp(*machine, GeneralMod->Log());
  fileOp.ListLocalDrives();

  std::printf("Prefix: %s\n", prefix.c_str());
  PrintEnvironment(*machine, *GeneralMod);
  std::printf("\nLog:\n");
  for (const std::string& line : GeneralMod->Log().Lines()) std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace
}  // namespace dbinst

int main(int argc, char** argv) {
  return dbinst::Run(std::vector<std::string>(argv + 1, argv + argc));
}
