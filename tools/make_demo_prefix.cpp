#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "tools/demoprefix/DemoPrefix.h"

int main(int argc, char** argv) {
  dbinst::DemoPrefixOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--polish") {
      options.polish = true;
    } else if (options.hostFolder.empty() && !argument.empty() && argument[0] != '-') {
      options.hostFolder = argument;
    } else {
      options.hostFolder.clear();
      break;
    }
  }
  if (options.hostFolder.empty()) {
    std::cerr << "usage: make-demo-prefix DIR [--polish]\n";
    return 2;
  }
  if (const char* user = std::getenv("USER"); user && *user) options.userName = user;
  std::error_code ignored;
  options.hostFolder = std::filesystem::absolute(options.hostFolder, ignored).string();

  std::string error;
  if (!dbinst::MakeDemoPrefix(options, error)) {
    std::cerr << "make-demo-prefix: " << error << "\n";
    return 1;
  }
  std::cout << options.hostFolder << "\n";
  return 0;
}
