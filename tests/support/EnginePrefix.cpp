#include "tests/support/EnginePrefix.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/prefix/PrefixMachine.h"
#include "tests/support/ElfFiles.h"

namespace dbinst::test {

EnginePrefix::EnginePrefix() = default;

EnginePrefix::~EnginePrefix() {
  if (GeneralMod == module_.get()) GeneralMod = nullptr;
}

void EnginePrefix::AddResource(std::string name, std::string bytes) {
  resources_.emplace_back(std::move(name), std::move(bytes));
}

void EnginePrefix::Open() {
  std::string error;
  if (!builder_.Build(error)) throw std::runtime_error("prefix: " + error);
  const std::filesystem::path installerFolder = folder_.Path() / "installer";
  std::filesystem::create_directories(installerFolder);
  const std::filesystem::path installer = test::CopyOfSystemProgram(installerFolder);
  resources_.emplace_back("TxtTransl", test::ReadWholeFile(std::string(DBINST_SOURCE_DIR) +
                                                           "/resources/TxtTransl.txt"));
  if (!test::AddResourceSections(installer, resources_)) {
    throw std::runtime_error("objcopy could not add the resources");
  }
  machine_ = OpenPrefixMachine({prefixFolder_.string(), installer.string()}, error);
  if (!machine_) throw std::runtime_error("prefix machine: " + error);
  module_ = std::make_unique<TGeneralMod>(*machine_, std::vector<std::string>{});
  GeneralMod = module_.get();
}

}  // namespace dbinst::test
