#include "tools/demoprefix/DemoPrefix.h"

#include <filesystem>
#include <fstream>

#include "tools/demoprefix/PrefixBuilder.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

// Empties a demo prefix made here; anything else that exists and holds files is refused.
bool ClearFolder(const fs::path& folder, std::string& error) {
  std::error_code failure;
  if (!fs::exists(fs::symlink_status(folder, failure))) return true;
  if (!fs::is_directory(fs::symlink_status(folder, failure))) {
    error = folder.string() + " exists and is not a folder";
    return false;
  }
  if (fs::is_empty(folder, failure) && !failure) return true;
  if (!fs::exists(folder / kDemoPrefixMarker, failure)) {
    error = folder.string() + " exists and is not a demo prefix made by this tool; not touching it";
    return false;
  }
  // remove_all removes links themselves, so dosdevices/z: never leads it into the host's root.
  for (const auto& entry : fs::directory_iterator(folder, failure)) {
    fs::remove_all(entry.path(), failure);
    if (failure) break;
  }
  if (failure) error = "cannot empty " + folder.string() + ": " + failure.message();
  return !failure;
}

bool WriteMarker(const fs::path& folder, std::string& error) {
  std::error_code failure;
  fs::create_directories(folder, failure);
  std::ofstream marker(folder / kDemoPrefixMarker);
  marker << "Demo Wine prefix made by make-demo-prefix; it may be rebuilt and its contents lost.\n";
  marker.close();
  if (failure || !marker) error = "cannot write " + (folder / kDemoPrefixMarker).string();
  return !failure && marker;
}

}  // namespace

bool MakeDemoPrefix(const DemoPrefixOptions& options, std::string& error) {
  const fs::path folder(options.hostFolder);
  if (!ClearFolder(folder, error) || !WriteMarker(folder, error)) return false;

  PrefixBuilder builder(options.hostFolder);
  builder.UserName(options.userName);
  if (options.polish) builder.Polish();
  builder.AddProgram("OV", "C:\\Program Files (x86)\\Velmora\\Orvane 2")
      .ExecutableVersion("2.1.0.5")
      .LibraryVersions("6.2.0.15", "2.1.0.0")
      .RegisteredIn(RegRoot::LocalMachine, "Orvane2")
      .RunFrom();
  builder.AddProgram("KS", "C:\\Program Files (x86)\\Velmora\\Kestrio 6")
      .ExecutableVersion("6.2.0.15")
      .LibraryVersions("6.2.0.15", "2.1.0.0")
      .RegisteredIn(RegRoot::LocalMachine, "Kestrio6");
  builder.AddProgram("OVS", "C:\\Program Files (x86)\\Velmora\\Orvane Selka")
      .ExecutableVersion("2.0.3.0")
      .RegisteredIn(RegRoot::CurrentUser, "OrvaneSelka");
  builder.AddPreviousInstallation("ORVANE\\INSTALLATIONS", "C:\\Orvane 1.5", 20110512.5);
  builder.SetRunFrom("KESTRIO", "C:\\Kestrio 5");
  return builder.Build(error);
}

}  // namespace dbinst
