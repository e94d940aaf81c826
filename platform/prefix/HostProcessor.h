#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dbinst {

// What Wine puts under HARDWARE\DESCRIPTION\System\CentralProcessor\0 at run time.
struct HostProcessor {
  std::string name;        // ProcessorNameString
  std::string identifier;  // "AMD64 Family 25 Model 33 Stepping 0"
  std::string vendor;      // VendorIdentifier: "GenuineIntel", "AuthenticAMD"
  uint32_t mhz = 0;        // ~MHz
};

// CPUID on x86, else /proc/cpuinfo; the clock from cpufreq, else /proc/cpuinfo.
HostProcessor ProbeHostProcessor();

// The same facts from the text of /proc/cpuinfo (its first processor) alone.
HostProcessor HostProcessorFromCpuInfo(std::string_view cpuinfo, bool is64Bit);

// The value of "field" in the first block of /proc/cpuinfo text, trimmed.
std::optional<std::string> CpuInfoField(std::string_view cpuinfo, std::string_view field);

// Wineboot's Identifier: the architecture name, then family, model and stepping as CPUID's
// leaf 1 gives them (eax), with the extended family and model folded in as Windows does.
std::string ProcessorIdentifier(std::string_view vendor, uint32_t leaf1Eax, bool is64Bit);
std::string ProcessorIdentifier(std::string_view vendor, uint32_t family, uint32_t model,
                                uint32_t stepping, bool is64Bit);

}  // namespace dbinst
