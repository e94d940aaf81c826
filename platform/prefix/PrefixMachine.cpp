#include "platform/prefix/PrefixMachine.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/prefix/ElfResourceModule.h"
#include "platform/prefix/PeFileVersionReader.h"
#include "platform/prefix/PosixDynamicLibraries.h"
#include "platform/prefix/PrefixFileSystem.h"
#include "platform/prefix/PrefixProcesses.h"
#include "platform/prefix/PrefixProfileReader.h"
#include "platform/prefix/PrefixRegistry.h"
#include "platform/prefix/PrefixSystemInfo.h"
#include "platform/prefix/PrefixUiServices.h"
#include "platform/prefix/SdlMessageBox.h"

namespace dbinst {
namespace {

class PrefixMachine : public Machine {
 public:
  PrefixMachine(std::unique_ptr<PrefixRegistry> registry, const PrefixOptions& options)
      : registry_(std::move(registry)),
        files_(options.prefixPath, *registry_),
        system_(*registry_, files_, registry_->Is64BitPrefix(), options.executablePath),
        versions_(files_),
        profiles_(files_, system_.AnsiCodePage()),
        resources_(options.executablePath) {
    if (!resources_.Valid()) notes_.push_back("Resources unreadable: " + resources_.Error());
  }

  Registry& registry() override { return *registry_; }
  FileSystem& files() override { return files_; }
  SystemInfo& system() override { return system_; }
  Processes& processes() override { return processes_; }
  FileVersionReader& versions() override { return versions_; }
  ProfileReader& profiles() override { return profiles_; }
  ResourceModule& resources() override { return resources_; }
  SystemMessageBox& messageBox() override { return messageBox_; }
  DynamicLibraries& libraries() override { return libraries_; }

  std::vector<std::string> TakeNotes() override {
    std::vector<std::string> notes = std::move(notes_);
    notes_.clear();
    for (std::string& note : registry_->TakeNotes()) notes.push_back(std::move(note));
    return notes;
  }

 private:
  std::unique_ptr<PrefixRegistry> registry_;
  PrefixFileSystem files_;
  PrefixSystemInfo system_;
  PrefixProcesses processes_;
  PeFileVersionReader versions_;
  PrefixProfileReader profiles_;
  ElfResourceModule resources_;
  SdlMessageBox messageBox_;
  PosixDynamicLibraries libraries_;
  std::vector<std::string> notes_;
};

}  // namespace

std::string DefaultPrefixPath() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.wine";
}

std::string RunningExecutablePath() {
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

std::unique_ptr<Machine> OpenPrefixMachine(const PrefixOptions& options, std::string& error) {
  auto registry = PrefixRegistry::Load(options.prefixPath, error);
  if (!registry) return nullptr;
  // The windows of a program on this machine are SDL2's, and its scripts come from host files.
  if (!CurrentUiServices().openDisplay) SetUiServices(PrefixUiServices());
  return std::make_unique<PrefixMachine>(std::move(registry), options);
}

}  // namespace dbinst
