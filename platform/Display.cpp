#include "platform/Display.h"

#include <cstdlib>
#include <string>
#include <utility>

namespace dbinst {
namespace {

UiServices& Services() {
  static UiServices services;
  return services;
}

}  // namespace

float ScaleFromEnvironment(float fallback) {
  const char* text = std::getenv("DBINST_SCALE");
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const float scale = std::strtof(text, &end);
  if (*end != '\0' || !(scale >= 1.0f && scale <= 4.0f)) return fallback;
  return scale;
}

void SetUiServices(UiServices services) { Services() = std::move(services); }

const UiServices& CurrentUiServices() { return Services(); }

}  // namespace dbinst
