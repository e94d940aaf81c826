// Real ELF files for the resource tests, made by copying a system program and adding sections
// with the real objcopy, as the build embeds resources.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace dbinst::test {

namespace fs = std::filesystem;

inline std::string ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void WriteWholeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Bytes that differ from position to position, so a misplaced read shows.
inline std::string PatternBytes(size_t size, unsigned seed = 1) {
  std::string bytes(size, '\0');
  uint32_t state = seed;
  for (char& byte : bytes) {
    state = state * 1664525 + 1013904223;
    byte = static_cast<char>(state >> 24);
  }
  return bytes;
}

inline bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

// Adds each NAME=bytes pair as a section ".rsrc.NAME" flagged as the build flags resources. A
// format names the input's ELF flavour where objcopy cannot tell it by itself ("elf64-big").
inline bool AddResourceSections(const fs::path& elf,
                                const std::vector<std::pair<std::string, std::string>>& resources,
                                const std::string& format = "") {
  std::string command = format.empty() ? "objcopy" : "objcopy -I " + format;
  int index = 0;
  for (const auto& [name, bytes] : resources) {
    const fs::path data = elf.parent_path() / ("resource-" + std::to_string(index++) + ".bin");
    WriteWholeFile(data, bytes);
    command += " --add-section '.rsrc." + name + "=" + data.string() + "'";
    command += " --set-section-flags '.rsrc." + name + "=noload,readonly'";
  }
  return Run(command + " '" + elf.string() + "'");
}

// A copy of a small real program.
inline fs::path CopyOfSystemProgram(const fs::path& folder) {
  const fs::path copy = folder / "program";
  fs::copy_file("/bin/true", copy, fs::copy_options::overwrite_existing);
  return copy;
}

// An object file of another ELF flavour ("elf32-i386", "elf64-big") made from raw bytes.
inline fs::path ObjectFileOfFormat(const fs::path& folder, const std::string& format) {
  const fs::path seed = folder / "seed.bin";
  WriteWholeFile(seed, "seed");
  const fs::path object = folder / ("object-" + format + ".o");
  const bool made =
      Run("objcopy -I binary -O " + format + " '" + seed.string() + "' '" + object.string() + "'");
  return made ? object : fs::path();
}

}  // namespace dbinst::test
