#include "tools/packer/Packer.h"

#include "payload/ArchivePaths.h"
#include "payload/CatalogueJson.h"
#include "payload/DatabaseEmbedded.h"
#include "payload/MyFileOp.h"
#include "payload/SevenZipReader.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/JsonWriter.h"
#include "platform/Text.h"
#include "platform/prefix/ElfResourceModule.h"
#include "platform/prefix/ElfSectionTable.h"
#include "platform/prefix/PrefixProfileReader.h"
#include "tools/packer/ToolProcess.h"

namespace dbinst {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kLargestDescription = 1 << 20;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::array<std::string_view, 6> kTypeTexts = {"TILES", "INTERIOR", "CABINETS",
                                                        "HHD",   "WALLS",    "MATERIALS"};
constexpr std::array<std::string_view, 4> kNamedTypeTexts = {"TILES", "INTERIOR", "CABINETS",
                                                             "HHD"};

bool ReadSmallFile(const std::string& path, std::string& bytes) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (error || size > static_cast<uintmax_t>(kLargestDescription)) return false;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  bytes = content.str();
  return in.good() || in.eof();
}

std::string Value(const std::string& bytes, std::string_view section, std::string_view key,
                  std::string_view defaultValue = "") {
  return PrefixProfileReader::GetStringFromBytes(bytes, section, key, defaultValue,
                                                 kPublisherCodePage);
}

bool HasKey(const std::string& bytes, std::string_view section, std::string_view key) {
  return Value(bytes, section, key, "0") != "0" || Value(bytes, section, key, "1") != "1";
}

template <size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& texts) {
  for (std::string_view each : texts) {
    if (text == each) return true;
  }
  return false;
}

std::string LastLines(const std::string& output) {
  const size_t start = output.size() > 400 ? output.size() - 400 : 0;
  return Trim(output.substr(start));
}

// Adds TARGETSIZE as the first key of the [INSTALL] section.
std::string WithTargetSize(const std::string& bytes, int64_t size) {
  size_t lineStart = 0;
  while (lineStart < bytes.size()) {
    size_t lineEnd = bytes.find('\n', lineStart);
    if (lineEnd == std::string::npos) lineEnd = bytes.size();
    if (EqualsNoCase(Trim(bytes.substr(lineStart, lineEnd - lineStart)), "[INSTALL]")) {
      const std::string line = "TARGETSIZE=" + std::to_string(size) + "\r\n";
      if (lineEnd == bytes.size()) return bytes + "\r\n" + line;
      return bytes.substr(0, lineEnd + 1) + line + bytes.substr(lineEnd + 1);
    }
    lineStart = lineEnd + 1;
  }
  return bytes + "\r\n[INSTALL]\r\nTARGETSIZE=" + std::to_string(size) + "\r\n";
}

bool IsPackageSection(std::string_view name) {
  if (!StartsWithNoCase(name, ".rsrc.DB")) return false;
  std::string_view rest = name.substr(8);
  size_t digits = 0;
  while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
  if (digits == 0) return false;
  rest.remove_prefix(digits);
  return EqualsNoCase(rest, "INI") || EqualsNoCase(rest, "FULL") || EqualsNoCase(rest, "CP");
}

bool IsResourceName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name) {
    const bool plain =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!plain) return false;
  }
  return true;
}

std::string PackageNumber(size_t index) {
  std::string number = std::to_string(index + 1);
  return number.size() < 2 ? "0" + number : number;
}

void AddSection(std::vector<std::string>& arguments, const std::string& name,
                const std::string& file) {
  arguments.push_back("--add-section");
  arguments.push_back(".rsrc." + name + "=" + file);
  arguments.push_back("--set-section-flags");
  arguments.push_back(".rsrc." + name + "=noload,readonly");
}

bool Refuse(std::string& error, std::string text) {
  error = std::move(text);
  return false;
}

}  // namespace

int64_t ArchiveUnpackedSize(const std::string& archive, std::string& error) {
  const std::string password = "-p" + std::string(kArchivePassword);
  const ToolRun listing = RunTool("7zz", {"l", "-slt", password, "--", archive});
  if (listing.exitCode != 0) {
    error = "the archive " + archive +
            " does not open with the installer's password: " + LastLines(listing.output);
    return -1;
  }
  int64_t total = 0;
  bool inItems = false;
  std::istringstream lines(listing.output);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("----------", 0) == 0) inItems = true;
    if (!inItems) continue;
    // The installer refuses such an item, and with it the whole database.
    if (line.rfind("Path = ", 0) == 0 && !RelativePathInside(line.substr(7))) {
      error = "the archive " + archive + " holds the item \"" + line.substr(7) +
              "\", whose path leaves the folder the archive is unpacked into";
      return -1;
    }
    if (line.rfind("Size = ", 0) == 0) total += ParseInteger(Trim(line.substr(7))).value_or(0);
  }
  return total;
}

bool CheckPackage(const PackagePaths& package, CheckedPackage& checked, std::string& error) {
  std::string bytes;
  if (!ReadSmallFile(package.ini, bytes)) {
    return Refuse(error,
                  "the description " + package.ini + " cannot be read (missing, or over 1 MB)");
  }
  const std::string type = Value(bytes, "INSTALL", "TYPE");
  if (!IsOneOf(type, kTypeTexts)) {
    return Refuse(error, "the description " + package.ini + " has TYPE \"" + type +
                             "\"; it must be one of TILES, INTERIOR, CABINETS, HHD, WALLS, "
                             "MATERIALS (upper case)");
  }
  if (IsOneOf(type, kNamedTypeTexts) && Value(bytes, "info", "BAZA").empty()) {
    return Refuse(error, "the description " + package.ini + " of a " + type +
                             " package names no database: [info] BAZA is missing");
  }
  if (!IsPlainFileName(Value(bytes, "INSTALL", "TARGETNAME"))) {
    return Refuse(error, "the description " + package.ini +
                             " has a TARGETNAME that is not a plain file name");
  }
  if (!fs::is_regular_file(package.archive)) {
    return Refuse(error, "the archive " + package.archive + " does not exist");
  }
  const int64_t size = ArchiveUnpackedSize(package.archive, error);
  if (size < 0) return false;
  const ToolRun test =
      RunTool("7zz", {"t", "-p" + std::string(kArchivePassword), "--", package.archive});
  if (test.exitCode != 0) {
    return Refuse(error,
                  "the archive " + package.archive +
                      " does not unpack with the installer's password: " + LastLines(test.output));
  }
  checked.iniBytes = HasKey(bytes, "INSTALL", "TARGETSIZE") ? bytes : WithTargetSize(bytes, size);
  checked.archive = package.archive;
  checked.unpackedSize = size;
  checked.codePage = bytes.starts_with(kUtf8Mark) ? kUtf8CodePage : package.codePage;
  return true;
}

bool PackInstaller(const PackRequest& request, std::string& error) {
  std::vector<CheckedPackage> packages(request.packages.size());
  for (size_t i = 0; i < request.packages.size(); ++i) {
    if (!CheckPackage(request.packages[i], packages[i], error)) return false;
  }
  for (const auto& [name, file] : request.resources) {
    if (!IsResourceName(name)) return Refuse(error, "\"" + name + "\" is no resource name");
    if (!fs::is_regular_file(file))
      return Refuse(error, "the resource file " + file + " does not exist");
  }
  const ElfSectionTable table = ReadElfSectionTable(request.installer);
  if (!table.error.empty()) return Refuse(error, request.installer + ": " + table.error);

  const fs::path work = request.output + ".packing";
  std::error_code ignored;
  fs::remove_all(work, ignored);
  const auto cleanUp = [&](bool result) {
    fs::remove_all(work, ignored);
    if (!result) fs::remove(request.output + ".tmp", ignored);
    return result;
  };
  if (!fs::create_directories(work, ignored) && !fs::is_directory(work)) {
    return Refuse(error, "cannot create " + work.string());
  }

  std::vector<std::string> arguments;
  for (const ElfSection& section : table.sections) {
    bool replaced = !request.packages.empty() && IsPackageSection(section.name);
    for (const auto& [name, file] : request.resources) {
      replaced = replaced || EqualsNoCase(section.name, ".rsrc." + name);
    }
    if (replaced) arguments.insert(arguments.end(), {"--remove-section", section.name});
  }
  for (size_t i = 0; i < packages.size(); ++i) {
    const std::string ini = (work / ("DB" + PackageNumber(i) + "INI.ini")).string();
    std::ofstream out(ini, std::ios::binary);
    out << packages[i].iniBytes;
    if (!out.flush()) return cleanUp(Refuse(error, "cannot write " + ini));
    AddSection(arguments, "DB" + PackageNumber(i) + "INI", ini);
    AddSection(arguments, "DB" + PackageNumber(i) + "FULL",
               fs::absolute(packages[i].archive).string());
    // Beside the description, where the CAD programs never look: the description itself stays
    // byte for byte as its publisher wrote it.
    const std::string codePage = (work / ("DB" + PackageNumber(i) + "CP.txt")).string();
    std::ofstream(codePage, std::ios::binary) << packages[i].codePage;
    AddSection(arguments, "DB" + PackageNumber(i) + "CP", codePage);
  }
  for (const auto& [name, file] : request.resources)
    AddSection(arguments, name, fs::absolute(file).string());

  const std::string temporary = request.output + ".tmp";
  fs::copy_file(request.installer, temporary, fs::copy_options::overwrite_existing, ignored);
  if (ignored)
    return cleanUp(Refuse(error, "cannot write " + temporary + ": " + ignored.message()));
  arguments.push_back(temporary);
  const ToolRun objcopy = RunTool("objcopy", arguments);
  if (objcopy.exitCode != 0)
    return cleanUp(Refuse(error, "objcopy failed: " + LastLines(objcopy.output)));
  fs::rename(temporary, request.output, ignored);
  if (ignored)
    return cleanUp(Refuse(error, "cannot write " + request.output + ": " + ignored.message()));
  return cleanUp(true);
}

bool ListInstaller(const std::string& installer, std::string& json, std::string& error) {
  const ElfResourceModule module(installer);
  if (!module.Error().empty()) return Refuse(error, module.Error());
  // The machine's own code page is not known here; descriptions without one read as the family's.
  const auto catalogue =
      ReadCatalogueOf(module, [](std::string_view text, uint32_t codePage, std::string_view section,
                                 std::string_view key, std::string_view defaultValue) {
        return PrefixProfileReader::GetStringFromBytes(
            text, section, key, defaultValue, codePage == 0 ? kPublisherCodePage : codePage);
      });
  JsonWriter writer;
  writer.BeginObject().Key("databases");
  WriteCatalogueJson(writer, catalogue, module);
  writer.EndObject();
  json = writer.Text();
  return true;
}

}  // namespace dbinst
