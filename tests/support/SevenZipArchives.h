// Real 7z archives made with 7-Zip's own 7zz at test time.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace dbinst::test {

using ArchiveFiles = std::vector<std::pair<std::string, std::string>>;  // relative path, bytes

inline void WriteTree(const std::filesystem::path& root, const ArchiveFiles& files) {
  for (const auto& [relative, bytes] : files) {
    const std::filesystem::path path = root / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
}

// Runs "7zz a" inside sourceFolder with the options and item arguments given as they stand.
inline bool Run7zzAdd(const std::filesystem::path& archive,
                      const std::filesystem::path& sourceFolder, const std::string& options,
                      const std::string& items = ".") {
  std::filesystem::create_directories(archive.parent_path());
  const std::string command = "cd '" + sourceFolder.string() + "' && 7zz a -t7z -bso0 -bsp0 " +
                              options + " '" + archive.string() + "' " + items;
  return std::system(command.c_str()) == 0;
}

// Writes the files into a fresh folder beside the archive and packs them.
inline bool Make7z(const std::filesystem::path& archive, const ArchiveFiles& files,
                   const std::string& options = "") {
  const std::filesystem::path source = archive.string() + ".source";
  std::filesystem::remove_all(source);
  WriteTree(source, files);
  const bool made = Run7zzAdd(archive, source, options);
  std::filesystem::remove_all(source);
  return made;
}

inline std::string SlurpFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace dbinst::test
