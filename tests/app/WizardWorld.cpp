#include "tests/app/WizardWorld.h"

#include <filesystem>
#include <stdexcept>

#include "payload/SevenZipReader.h"
#include "platform/RegistryValue.h"
#include "tests/support/ElfFiles.h"
#include "tests/support/RunProcess.h"
#include "tests/support/SevenZipArchives.h"
#include "tools/packer/Packer.h"

namespace dbinst::test {
namespace {

namespace fs = std::filesystem;

std::string TilesDescription(int number, const std::string& date) {
  return "[info]\r\nBAZA=Tiles " + std::to_string(number) + "\r\nMDATE=" + date + "\r\n";
}

}  // namespace

WizardWorld::WizardWorld() = default;

void WizardWorld::AddPrograms(int count) {
  if (count < 1) return;
  builder_.AddProgram("OV", kOrvane)
      .ExecutableVersion("2.1.0.5")
      .LibraryVersions("6.2.0.15", "2.1.0.0")
      .RegisteredIn(RegRoot::LocalMachine, "Orvane2");
  if (count < 3) return;
  builder_.AddProgram("KS", kKestrio)
      .ExecutableVersion("6.2.0.15")
      .LibraryVersions("6.2.0.15", "2.1.0.0")
      .RegisteredIn(RegRoot::LocalMachine, "Kestrio6");
  builder_.AddProgram("OVS", kSelka)
      .ExecutableVersion("2.0.3.0")
      .RegisteredIn(RegRoot::CurrentUser, "OrvaneSelka");
}

void WizardWorld::AddTilePackages(int count) { tilePackages_ = count; }

void WizardWorld::AddOpticalDrive() { opticalDrive_ = true; }

void WizardWorld::AddPackage(const std::string& stem, const std::string& description,
                             const ArchiveFiles& files, const std::string& options,
                             uint32_t codePage) {
  packages_.push_back({stem, description, files, options, codePage});
}

void WizardWorld::PlaceInstalledTiles(const std::string& programFolder, int number) {
  const fs::path folder = HostPath(programFolder + "Plytki\\");
  fs::create_directories(folder);
  test::WriteWholeFile(folder / ("Tiles" + std::to_string(number) + ".ini"),
                       TilesDescription(number, "2011-11-1"));
}

void WizardWorld::Build() {
  if (opticalDrive_) {
    builder_.SetValue(RegRoot::LocalMachine, "Software\\Wine\\Drives", "e:", MakeRegText("cdrom"),
                      RegView::Native);
  }
  std::string error;
  if (!builder_.Build(error)) throw std::runtime_error("prefix: " + error);
  if (opticalDrive_) {
    const fs::path disc = folder_.Path() / "disc";
    fs::create_directories(disc / "Data");
    fs::create_symlink(disc, fs::path(prefixFolder_) / "dosdevices" / "e:");
  }
  installer_ = (folder_.Path() / "dbinstall").string();
  if (tilePackages_ == 0 && packages_.empty()) {
    fs::copy_file(DBINST_INSTALLER_PATH, installer_);
    std::vector<std::string> arguments;
    for (const char* name : {"DB01INI", "DB01FULL", "DB02INI", "DB02FULL"}) {
      arguments.insert(arguments.end(), {"--remove-section", std::string(".rsrc.") + name});
    }
    arguments.push_back(installer_);
    if (RunProcess("/usr/bin/objcopy", arguments, {}).exitCode != 0) {
      throw std::runtime_error("objcopy could not remove the packages");
    }
    return;
  }
  PackRequest request{DBINST_INSTALLER_PATH, installer_, {}, resources_};
  for (int number = 1; number <= tilePackages_; ++number) {
    const std::string stem = "Tiles" + std::to_string(number);
    const fs::path archive = folder_.Path() / "packages" / (stem + ".7z");
    const ArchiveFiles files = {{stem + ".ini", TilesDescription(number, "2011-5-12")},
                                {stem + ".mdb", std::string(1000 + number, 'm')}};
    if (!Make7z(archive, files, "-p" + std::string(kArchivePassword) + " -mhe=on")) {
      throw std::runtime_error("7zz failed");
    }
    const fs::path ini = folder_.Path() / "packages" / (stem + ".ini");
    test::WriteWholeFile(ini, TilesDescription(number, "2011-5-12") +
                                  "[INSTALL]\r\nTYPE=TILES\r\nTARGETNAME=" + stem + ".mdb\r\n");
    request.packages.push_back({ini.string(), archive.string()});
  }
  for (const Package& package : packages_) {
    const fs::path archive = folder_.Path() / "packages" / (package.stem + ".7z");
    if (!Make7z(archive, package.files,
                "-p" + std::string(kArchivePassword) + " " + package.options)) {
      throw std::runtime_error("7zz failed");
    }
    const fs::path ini = folder_.Path() / "packages" / (package.stem + ".ini");
    test::WriteWholeFile(ini, package.description);
    request.packages.push_back({ini.string(), archive.string(), package.codePage});
  }
  if (!PackInstaller(request, error)) throw std::runtime_error("packer: " + error);
}

void WizardWorld::UpdateResource(const std::string& name, const std::string& bytes) {
  const fs::path file = folder_.Path() / (name + ".updated");
  test::WriteWholeFile(file, bytes);
  if (RunProcess("/usr/bin/objcopy",
                 {"--update-section", ".rsrc." + name + "=" + file.string(), installer_}, {})
          .exitCode != 0) {
    throw std::runtime_error("objcopy could not update " + name);
  }
}

std::unique_ptr<InstallerSession> WizardWorld::Start(const std::vector<std::string>& environment,
                                                     const std::vector<std::string>& arguments) {
  return std::make_unique<InstallerSession>(installer_, prefixFolder_, environment, arguments);
}

}  // namespace dbinst::test
