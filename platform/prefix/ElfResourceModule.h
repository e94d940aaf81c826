#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Resources.h"

namespace dbinst {

// The resources an executable carries as ELF sections named ".rsrc.NAME"; each is streamed from
// the file, never loaded whole.
class ElfResourceModule : public ResourceModule {
 public:
  explicit ElfResourceModule(std::string elfHostPath);

  std::unique_ptr<ResourceStream> Open(std::string_view name) const override;
  // Resource names in the order of the section table.
  std::vector<std::string> Names() const;

  // False when the file could not be read as an ELF file; it then has no resources.
  bool Valid() const { return error_.empty(); }
  const std::string& Error() const { return error_; }

 private:
  struct Entry {
    std::string name;
    uint64_t offset = 0;
    uint64_t size = 0;
  };

  const Entry* Find(std::string_view name) const;

  std::string path_;
  std::vector<Entry> entries_;
  std::string error_;
};

}  // namespace dbinst
