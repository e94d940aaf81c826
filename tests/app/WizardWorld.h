// A demo-prefix machine and an installer packed for it, for the end-to-end tests of the wizard.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/TempFolder.h"
#include "tests/app/InstallerSession.h"
#include "tests/support/SevenZipArchives.h"
#include "tools/demoprefix/PrefixBuilder.h"

namespace dbinst::test {

inline const std::string kOrvane = "C:\\Program Files (x86)\\Velmora\\Orvane 2\\";
inline const std::string kSelka = "C:\\Program Files (x86)\\Velmora\\Orvane Selka\\";
inline const std::string kKestrio = "C:\\Program Files (x86)\\Velmora\\Kestrio 6\\";

class WizardWorld {
 public:
  WizardWorld();

  PrefixBuilder& Builder() { return builder_; }
  // Orvane 2 alone, or with Orvane Selka and Kestrio 6, registered as the demo prefix has them.
  void AddPrograms(int count);
  // Tile databases "Tiles 1" … "Tiles N" dated 12 May 2011, each a real 7z archive.
  void AddTilePackages(int count);
  // A package of its own: the description as given, the archive of these files made by 7zz with
  // the installer's password and the options, packed after the tile databases.
  void AddPackage(const std::string& stem, const std::string& description,
                  const ArchiveFiles& files, const std::string& options = "-mhe=on",
                  uint32_t codePage = 1250);
  // A CD-ROM drive E: whose root holds a folder "Data".
  void AddOpticalDrive();
  // A resource of the packed installer replaced by the bytes of a file.
  void ReplaceResource(std::string name, std::string file) {
    resources_.emplace_back(std::move(name), std::move(file));
  }
  // After Build: a resource of the installer given other bytes, past every check of the packer
  // (a damaged archive, one under another password).
  void UpdateResource(const std::string& name, const std::string& bytes);
  // The description a tile database of that number leaves in a program's tiles folder.
  void PlaceInstalledTiles(const std::string& programFolder, int number);

  // Builds the prefix and the installer: the packages packed into a copy of the built one, or a
  // copy without any database when none was added.
  void Build();
  std::unique_ptr<InstallerSession> Start(const std::vector<std::string>& environment = {},
                                          const std::vector<std::string>& arguments = {});

  std::string HostPath(const std::string& windowsPath) const {
    return builder_.HostPath(windowsPath);
  }
  const std::string& Prefix() const { return prefixFolder_; }
  const std::string& Installer() const { return installer_; }
  const std::filesystem::path& Root() const { return folder_.Path(); }

 private:
  test::TempFolder folder_;
  std::string prefixFolder_ = (folder_.Path() / "prefix").string();
  std::string installer_;
  PrefixBuilder builder_{prefixFolder_};
  std::vector<std::pair<std::string, std::string>> resources_;
  struct Package {
    std::string stem;
    std::string description;
    ArchiveFiles files;
    std::string options;
    uint32_t codePage;
  };
  std::vector<Package> packages_;
  int tilePackages_ = 0;
  bool opticalDrive_ = false;
};

}  // namespace dbinst::test
