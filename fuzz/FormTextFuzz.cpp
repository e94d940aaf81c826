// libFuzzer target: any text either compiles or fails with EFormTextError, and what compiles
// reads back and writes to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/FormStreamReader.h"
#include "ui/FormStreamWriter.h"
#include "ui/FormText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string compiled;
  try {
    compiled = dbinst::CompileFormText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const dbinst::EFormTextError&) {
    return 0;
  }
  if (dbinst::WriteFormStream(dbinst::ReadFormStream(compiled)) != compiled) std::abort();
  return 0;
}
