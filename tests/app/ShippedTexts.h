// The installer's own translation table, read from the repository, as a text-of-key function.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "app/TextOfKey.h"
#include "env/TranslationTable.h"
#include "platform/TextLines.h"

namespace dbinst::test {

inline TextOfKey ShippedTexts(const std::string& languageCode) {
  std::ifstream in(std::filesystem::path(DBINST_SOURCE_DIR) / "resources" / "TxtTransl.txt",
                   std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  auto table = std::make_shared<TranslationTable>();
  table->Reset();
  table->LoadSection(DecodeTextLines(bytes.str()), languageCode);
  return [table](int key) { return table->Text(key); };
}

}  // namespace dbinst::test
