#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dbinst {

class Registry;
class SystemInfo;

inline constexpr std::string_view kUnknownProcessorName = "Nieznany";

struct ProcessorFacts {
  std::string name{kUnknownProcessorName};
  int32_t speedMhz = 0;
};

struct WindowsFacts {
  std::string family;  // "WINNT", "WIN9X" or empty
  int32_t versionCode = 0;
  bool isNT = false;
  bool is64Bit = false;
  std::string systemLanguageCode;
};

// Reads the processor's name and speed, then switches the user's screen saver off. A value of the
// wrong type ends the step; false then, or when the screen saver setting could not be written.
bool GatherProcessorFacts(Registry& registry, ProcessorFacts& facts);
// False when the Windows family is unknown.
bool GatherWindowsFacts(const Registry& registry, const SystemInfo& system, WindowsFacts& facts);
// A Wow6432Node key and a processor whose identifier does not begin with "x86".
bool Is64BitWindows(const Registry& registry);

}  // namespace dbinst
