#include "app/TargetChoice.h"

#include "engine/DoDbInstallThings.h"
#include "env/MegabyteText.h"
#include "env/TextKeys.h"
#include "platform/FileSystem.h"
#include "platform/SystemInfo.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

bool ShowsVersion(EProductLine line) {
  return line != EProductLine::OrvanePro && line != EProductLine::OrvaneProDemo;
}

// The product names are keyed by their line.
int ProductNameKey(EProductLine line) {
  const int key = static_cast<int>(line);
  return key >= TextKey::ProductOrvane && key <= TextKey::ProductOrvaneProDemo
             ? key
             : TextKey::ProductOrvane;
}

// The parent of a folder given without its trailing backslash, with one; "" for a drive root.
std::string ParentFolder(std::string_view folder) {
  const size_t slash = folder.rfind('\\');
  if (slash == std::string_view::npos) return {};
  return std::string(folder.substr(0, slash + 1));
}

// As the class library's ExtractFileName: after the last backslash or drive colon.
std::string LastComponent(std::string_view folder) {
  const size_t slash = folder.find_last_of("\\:");
  return std::string(slash == std::string_view::npos ? folder : folder.substr(slash + 1));
}

}  // namespace

std::string ProgramDisplayName(const TCadAppInstalled& program, const TDoDbInstallThings& engine,
                               const TextOfKey& text) {
  std::string name = text(ProductNameKey(program.ProductLine));
  if (!ShowsVersion(program.ProductLine)) return name;
  std::string version;
  if (!engine.ProgramVersionText(program.Folder, program.ProductLine, version)) version.clear();
  return name + " " + version;
}

std::string BrowseStartFolder(std::string_view pathText, const FileSystem& files) {
  std::string start = WithTrailingBackslash(pathText);
  while (true) {
    const std::string bare = WithoutTrailingBackslash(start);
    if (LastComponent(bare).empty() || files.FolderExists(start)) break;
    start = ParentFolder(bare);
  }
  if (start.empty() || !files.FolderExists(start)) return {};
  return start;
}

bool IsOnLocalDrive(std::string_view folder, const TLocalDriveMap& drives) {
  if (folder.size() < 3 || folder[1] != ':' || folder[2] != '\\') return false;
  return drives.count(ToUpper(folder.substr(0, 1))) > 0;
}

TCadAppInstalled RecogniseProgramFolder(std::string_view folder, const TDoDbInstallThings& engine) {
  const bool newFormat = engine.AnyNewFormat();
  for (const EProductLine line :
       {EProductLine::Orvane, EProductLine::OrvaneSelka, EProductLine::OrvaneDemo,
        EProductLine::Kestrio, EProductLine::OrvanePro, EProductLine::OrvaneProDemo}) {
    bool filesPresent = false;
    bool versionsMet = false;
    if (!engine.CheckProgramFolder(folder, line, filesPresent, versionsMet)) continue;
    if (filesPresent && (!newFormat || versionsMet)) return {line, std::string(folder)};
  }
  return {};
}

std::string DiskSpaceText(std::string_view folder, int64_t freeBytes, const NumberFormat& format,
                          const TextOfKey& text) {
  const std::string letter = ToUpper(folder.substr(0, 1));
  return text(TextKey::FreeDiskSpace) + " " +
         FillPlaceholders(text(TextKey::DriveMegabytes), {letter, MegabyteText(freeBytes, format)});
}

}  // namespace dbinst
