#include <cstdint>
#include <iostream>
#include <string>

#include "tools/packer/Packer.h"

namespace {

constexpr const char* kUsage =
    "usage: pack-installer --list INSTALLER\n"
    "       pack-installer --installer FILE --output FILE\n"
    "                      [--codepage N] [--package INI ARCHIVE]...\n"
    "                      [--lib7z FILE] [--libb1 FILE] [--resource NAME=FILE]...\n"
    "Packages become DB01INI/DB01FULL, DB02INI/DB02FULL, ... in the order given and replace the\n"
    "installer's own; other resources are replaced by name. --codepage names the code page of\n"
    "the descriptions that follow it (default 1250; a UTF-8 byte-order mark speaks for itself).\n";

bool ParseArguments(int argc, char** argv, dbinst::PackRequest& request) {
  uint32_t codePage = dbinst::kPublisherCodePage;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const int left = argc - i - 1;
    if (option == "--installer" && left >= 1) {
      request.installer = argv[++i];
    } else if (option == "--output" && left >= 1) {
      request.output = argv[++i];
    } else if (option == "--package" && left >= 2) {
      request.packages.push_back({argv[i + 1], argv[i + 2], codePage});
      i += 2;
    } else if (option == "--codepage" && left >= 1) {
      const std::string number = argv[++i];
      if (number.empty() || number.size() > 5 || number == "0" ||
          number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
      }
      codePage = static_cast<uint32_t>(std::stoul(number));
    } else if (option == "--lib7z" && left >= 1) {
      request.resources.emplace_back("LIB7Z", argv[++i]);
    } else if (option == "--libb1" && left >= 1) {
      request.resources.emplace_back("LIBB1", argv[++i]);
    } else if (option == "--resource" && left >= 1) {
      const std::string pair = argv[++i];
      const size_t equals = pair.find('=');
      if (equals == std::string::npos) return false;
      request.resources.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
    } else {
      return false;
    }
  }
  return !request.installer.empty() && !request.output.empty();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--list") {
    std::string json;
    std::string error;
    if (!dbinst::ListInstaller(argv[2], json, error)) {
      std::cerr << "pack-installer: " << error << "\n";
      return 1;
    }
    std::cout << json << "\n";
    return 0;
  }
  dbinst::PackRequest request;
  if (!ParseArguments(argc, argv, request)) {
    std::cerr << kUsage;
    return 2;
  }
  std::string error;
  if (!dbinst::PackInstaller(request, error)) {
    std::cerr << "pack-installer: " << error << "\n";
    return 1;
  }
  std::cout << request.output << "\n";
  return 0;
}
