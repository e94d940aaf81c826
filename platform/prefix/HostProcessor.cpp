#include "platform/prefix/HostProcessor.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/Text.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#define DBINST_HAVE_CPUID 1
#endif

namespace dbinst {
namespace {

std::string ReadWholeFile(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

uint32_t ParseLeadingNumber(std::string_view text) {
  uint64_t number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
    if (number > 0xFFFFFFFFu) return 0;
  }
  return static_cast<uint32_t>(number);
}

uint32_t MaxFrequencyMhz() {
  const std::string kHz =
      Trim(ReadWholeFile("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq"));
  return ParseLeadingNumber(kHz) / 1000;
}

#ifdef DBINST_HAVE_CPUID
struct CpuidFacts {
  std::string vendor;
  std::string brand;
  uint32_t leaf1Eax = 0;
  bool longMode = false;
};

CpuidFacts ReadCpuid() {
  CpuidFacts facts;
  unsigned regs[4] = {};
  if (!__get_cpuid(0, &regs[0], &regs[1], &regs[2], &regs[3])) return facts;
  char vendor[13] = {};
  std::memcpy(vendor, &regs[1], 4);
  std::memcpy(vendor + 4, &regs[3], 4);
  std::memcpy(vendor + 8, &regs[2], 4);
  facts.vendor = vendor;
  if (__get_cpuid(1, &regs[0], &regs[1], &regs[2], &regs[3])) facts.leaf1Eax = regs[0];
  if (__get_cpuid_max(0x80000000, nullptr) >= 0x80000004) {
    char brand[49] = {};
    for (unsigned leaf = 0; leaf < 3; ++leaf) {
      __get_cpuid(0x80000002 + leaf, &regs[0], &regs[1], &regs[2], &regs[3]);
      std::memcpy(brand + 16 * leaf, regs, 16);
    }
    facts.brand = Trim(brand);
  }
  if (__get_cpuid(0x80000001, &regs[0], &regs[1], &regs[2], &regs[3])) {
    facts.longMode = (regs[3] >> 29) & 1;
  }
  return facts;
}
#endif

}  // namespace

std::optional<std::string> CpuInfoField(std::string_view cpuinfo, std::string_view field) {
  size_t start = 0;
  while (start < cpuinfo.size()) {
    size_t end = cpuinfo.find('\n', start);
    if (end == std::string_view::npos) end = cpuinfo.size();
    const std::string_view line = cpuinfo.substr(start, end - start);
    if (Trim(line).empty()) break;  // the first processor's block ends at a blank line
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && Trim(line.substr(0, colon)) == field) {
      return Trim(line.substr(colon + 1));
    }
    start = end + 1;
  }
  return std::nullopt;
}

std::string ProcessorIdentifier(std::string_view vendor, uint32_t family, uint32_t model,
                                uint32_t stepping, bool is64Bit) {
  const char* arch = !is64Bit ? "x86" : vendor == "AuthenticAMD" ? "AMD64" : "Intel64";
  return std::string(arch) + " Family " + std::to_string(family) + " Model " +
         std::to_string(model) + " Stepping " + std::to_string(stepping);
}

std::string ProcessorIdentifier(std::string_view vendor, uint32_t leaf1Eax, bool is64Bit) {
  const uint32_t baseFamily = (leaf1Eax >> 8) & 0xF;
  uint32_t family = baseFamily;
  if (baseFamily == 0xF) family += (leaf1Eax >> 20) & 0xFF;
  uint32_t model = (leaf1Eax >> 4) & 0xF;
  if (baseFamily == 6 || baseFamily == 0xF) model += ((leaf1Eax >> 16) & 0xF) << 4;
  return ProcessorIdentifier(vendor, family, model, leaf1Eax & 0xF, is64Bit);
}

HostProcessor HostProcessorFromCpuInfo(std::string_view cpuinfo, bool is64Bit) {
  HostProcessor cpu;
  cpu.name = CpuInfoField(cpuinfo, "model name").value_or("");
  cpu.vendor = CpuInfoField(cpuinfo, "vendor_id").value_or("");
  const auto number = [&](std::string_view field) {
    return ParseLeadingNumber(CpuInfoField(cpuinfo, field).value_or(""));
  };
  cpu.identifier = ProcessorIdentifier(cpu.vendor, number("cpu family"), number("model"),
                                       number("stepping"), is64Bit);
  cpu.mhz = number("cpu MHz");
  return cpu;
}

HostProcessor ProbeHostProcessor() {
  const std::string cpuinfo = ReadWholeFile("/proc/cpuinfo");
  HostProcessor cpu = HostProcessorFromCpuInfo(cpuinfo, sizeof(void*) == 8);
#ifdef DBINST_HAVE_CPUID
  const CpuidFacts facts = ReadCpuid();
  if (!facts.vendor.empty()) {
    cpu.vendor = facts.vendor;
    cpu.identifier = ProcessorIdentifier(facts.vendor, facts.leaf1Eax, facts.longMode);
  }
  if (!facts.brand.empty()) cpu.name = facts.brand;
#endif
  if (const uint32_t mhz = MaxFrequencyMhz(); mhz != 0) cpu.mhz = mhz;
  return cpu;
}

}  // namespace dbinst
