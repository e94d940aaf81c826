#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dbinst {

inline constexpr uint32_t kElfSectionNoBits = 8;

struct ElfSection {
  std::string name;
  uint32_t type = 0;
  uint64_t offset = 0;
  uint64_t size = 0;
};

struct ElfSectionTable {
  std::vector<ElfSection> sections;
  uint64_t fileSize = 0;
  // Empty when the file was read; otherwise why it is no usable ELF file.
  std::string error;
};

// The section headers of an ELF file (32 or 64 bits, either byte order) with their names. Every
// offset and size of the headers is checked against the file; a section's own range is not.
ElfSectionTable ReadElfSectionTable(const std::string& hostPath);

}  // namespace dbinst
