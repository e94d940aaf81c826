#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/DoDbInstallThings.h"
#include "env/GeneralMod.h"
#include "payload/MyFileOp.h"
#include "platform/FileSystem.h"
#include "platform/Machine.h"
#include "platform/SystemInfo.h"
#include "platform/prefix/PrefixMachine.h"
#include "ui/TvgText.h"

namespace dbinst {
namespace {

constexpr int kExitInstalled = 0;
constexpr int kExitInstallFailed = 1;
constexpr int kNoDatabasesKey = 224;

// Every file below a folder with its last-write time, by Windows path.
using FileTimes = std::map<std::string, std::optional<int64_t>>;

// Shows the engine's activity line on standard output, as the window would show it.
class PrintedText : public TvgText {
 public:
  void SetText(std::string_view text) override {
    TvgText::SetText(text);
    std::printf("%s\n", Text().c_str());
  }
};

void PrintEnvironment(Machine& machine, const TGeneralMod& module) {
  std::printf("Installer: %s\n", machine.system().ExecutablePath().c_str());
  std::printf("Language: %s\n", module.CurrentLanguageCode().c_str());
  std::printf("Window title: %s\n", module.Text(207).c_str());
  for (const auto& [line, folder] : module.CurrentInstallations()) {
    std::printf("Installed: %s in %s\n", module.ProductName(line).c_str(), folder.c_str());
  }
}

void PrintLog(TGeneralMod& module) {
  std::printf("\nLog:\n");
  for (const std::string& line : module.Log().Lines()) std::printf("%s\n", line.c_str());
}

void CollectFiles(const FileSystem& files, const std::string& folder, FileTimes& found) {
  for (const DirEntry& entry : files.Find(folder + "*")) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = folder + entry.name;
    if (entry.isFolder) {
      CollectFiles(files, path + "\\", found);
    } else {
      found[path] = files.LastWriteTime(path);
    }
  }
}

FileTimes FilesInInstallFolders(Machine& machine, const TDoDbInstallThings& engine,
                                const std::string& programFolder) {
  FileTimes found;
  for (const auto& [kind, databases] : engine.CatalogueCopy()) {
    for (const TDatabaseEmbedded& database : databases) {
      const std::string folder = engine.InstallFolder(programFolder, database);
      if (!folder.empty()) CollectFiles(machine.files(), folder, found);
    }
  }
  return found;
}

int Install(Machine& machine, TDoDbInstallThings& engine) {
  const TCadAppInstalledVec targets = engine.TargetPrograms();
  if (targets.empty()) {
    std::printf("\nNo installed program of the family takes these databases; nothing installed.\n");
    PrintLog(*GeneralMod);
    return kExitInstalled;
  }
  const std::string programFolder = targets.front().Folder;
  std::printf("\nInstalling into %s\n", programFolder.c_str());
  const FileTimes before = FilesInInstallFolders(machine, engine, programFolder);
  PrintedText activity;
  const bool installed = engine.CopyArchives(nullptr, nullptr, &activity) &&
                         engine.InstallDatabases(programFolder, nullptr, nullptr, &activity);
  PrintLog(*GeneralMod);
  std::printf("\nFiles written:\n");
  for (const auto& [path, time] : FilesInInstallFolders(machine, engine, programFolder)) {
    const auto earlier = before.find(path);
    if (earlier == before.end() || earlier->second != time) std::printf("%s\n", path.c_str());
  }
  if (!installed) {
    std::fprintf(stderr,
                 "The installation did not complete; the log says which database failed.\n");
    return kExitInstallFailed;
  }
  return kExitInstalled;
}

// Held here, like the module, for the life of the process: nothing tears them down in order.
TDoDbInstallThings* Engine = nullptr;

int Run(const std::vector<std::string>& arguments) {
  const std::string prefix = DefaultPrefixPath();
  std::string error;
  std::unique_ptr<Machine> machine = OpenPrefixMachine({prefix, RunningExecutablePath()}, error);
  if (!machine) {
    std::fprintf(stderr, "No Wine prefix to install into: %s\n", error.c_str());
    return kExitCodeFatal;
  }
  // The module and the engine live until the process ends, as every part of the program reaches
  // the module and every way out ends the process at once.
  GeneralMod = new TGeneralMod(*machine, arguments);
  Engine = new TDoDbInstallThings(*machine);
  if (Engine->DatabaseCount() < 1 || !Engine->PrepareHelperLibraries()) {
    Engine->FatalError(GeneralMod->Text(kNoDatabasesKey));
  }
  Engine->FileOp().ListLocalDrives();

  std::printf("Prefix: %s\n", prefix.c_str());
  PrintEnvironment(*machine, *GeneralMod);
  return Install(*machine, *Engine);
}

}  // namespace
}  // namespace dbinst

int main(int argc, char** argv) {
  return dbinst::Run(std::vector<std::string>(argv + 1, argv + argc));
}
