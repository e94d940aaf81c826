// libFuzzer target: any bytes either read as a form or fail with EFormStreamError; what reads
// writes back, and the written form reads to the same bytes again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ui/FormStreamReader.h"
#include "ui/FormStreamWriter.h"

namespace {

void ReadNestedBlocks(const dbinst::TFormObject& object) {
  for (const dbinst::TFormProperty& property : object.properties) {
    if (property.value.type != dbinst::EFormValueType::vaBinary) continue;
    try {
      dbinst::ReadNestedFormStream(property.value);
    } catch (const dbinst::EFormStreamError&) {
    }
  }
  for (const dbinst::TFormObject& child : object.children) ReadNestedBlocks(child);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  dbinst::TFormObject object;
  try {
    object = dbinst::ReadFormStream(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const dbinst::EFormStreamError&) {
    return 0;
  }
  ReadNestedBlocks(object);
  const std::string written = dbinst::WriteFormStream(object);
  if (dbinst::WriteFormStream(dbinst::ReadFormStream(written)) != written) std::abort();
  return 0;
}
