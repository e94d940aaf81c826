#pragma once

#include <memory>
#include <string>
#include <vector>

namespace dbinst {

class DynamicLibraries;
class FileSystem;
class FileVersionReader;
class SystemMessageBox;
class Processes;
class ProfileReader;
class Registry;
class ResourceModule;
class SystemInfo;

// The services of one machine. The core reaches the operating system only through these.
class Machine {
 public:
  virtual ~Machine() = default;
  virtual Registry& registry() = 0;
  virtual FileSystem& files() = 0;
  virtual SystemInfo& system() = 0;
  virtual Processes& processes() = 0;
  virtual FileVersionReader& versions() = 0;
  virtual ProfileReader& profiles() = 0;
  // The installer's own module.
  virtual ResourceModule& resources() = 0;
  virtual SystemMessageBox& messageBox() = 0;
  // Libraries loaded by their Windows name ("7z.dll").
  virtual DynamicLibraries& libraries() = 0;
  // Remarks the platform gathered for the log (a Wine server holding the registry, say); each is
  // handed out once.
  virtual std::vector<std::string> TakeNotes() = 0;
};

}  // namespace dbinst
