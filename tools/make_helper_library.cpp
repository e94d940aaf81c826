#include <iostream>
#include <string>
#include <vector>

#include "tools/pe/PeWriter.h"

// Writes a small 32-bit DLL standing in for a helper library the installer places in the system
// folder; its version resource says plainly that it is a sample, so no one mistakes it for the
// real file a vendor packs.
int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make-helper-library OUTPUT FILE_NAME\n";
    return 2;
  }
  const std::string output = argv[1];
  const std::string fileName = argv[2];
  dbinst::VersionResource version =
      dbinst::MakeVersionResource({1, 0, 0, 0}, "1.0.0.0", 0x0409, 1200);
  auto& items = version.stringTables.front().items;
  std::erase_if(items, [](const auto& item) { return item.first == "CompanyName"; });
  items.emplace_back("FileDescription",
                     "Sample stand-in for " + fileName + ", not the real library");
  items.emplace_back("Comments",
                     "A sample made by the database installer's build; a vendor packs "
                     "the real " +
                         fileName + " with pack-installer --lib7z/--libb1.");
  items.emplace_back("OriginalFilename", fileName);
  std::string error;
  if (!dbinst::WritePeFile(output, {true, version}, error)) {
    std::cerr << "make-helper-library: " << error << "\n";
    return 1;
  }
  return 0;
}
