#include "platform/prefix/HostProcessor.h"

#include <gtest/gtest.h>

#include "platform/Text.h"
#include "tests/platform/prefix/ScratchFolder.h"

namespace dbinst {
namespace {

const char kCpuInfo[] =
    "processor\t: 0\n"
    "vendor_id\t: AuthenticAMD\n"
    "cpu family\t: 26\n"
    "model\t\t: 2\n"
    "model name\t: AMD Ryzen 7 9700X 8-Core Processor   \n"
    "stepping\t: 1\n"
    "cpu MHz\t\t: 3800.123\n"
    "\n"
    "processor\t: 1\n"
    "model name\t: Second Processor\n";

TEST(HostProcessor, IdentifierFoldsExtendedFamilyAndModelAsWineboot) {
  // Zen 5: base family 0xF plus extended 0x0B, model 2 with extended model 0.
  EXPECT_EQ(ProcessorIdentifier("AuthenticAMD", 0x00B00F21u, true),
            "AMD64 Family 26 Model 2 Stepping 1");
  // Intel family 6 adds the extended model: 0x9 + (0xA << 4) = 169.
  EXPECT_EQ(ProcessorIdentifier("GenuineIntel", 0x000A0699u, true),
            "Intel64 Family 6 Model 169 Stepping 9");
  // Below family 6 the extended model is not added.
  EXPECT_EQ(ProcessorIdentifier("GenuineIntel", 0x00010543u, false),
            "x86 Family 5 Model 4 Stepping 3");
  EXPECT_EQ(ProcessorIdentifier("CentaurHauls", 6, 15, 2, true),
            "Intel64 Family 6 Model 15 Stepping 2");
}

TEST(HostProcessor, ReadsTheFirstProcessorOfCpuInfo) {
  const HostProcessor cpu = HostProcessorFromCpuInfo(kCpuInfo, true);
  EXPECT_EQ(cpu.name, "AMD Ryzen 7 9700X 8-Core Processor");
  EXPECT_EQ(cpu.vendor, "AuthenticAMD");
  EXPECT_EQ(cpu.identifier, "AMD64 Family 26 Model 2 Stepping 1");
  EXPECT_EQ(cpu.mhz, 3800u);
  EXPECT_FALSE(CpuInfoField(kCpuInfo, "flags"));
  EXPECT_EQ(CpuInfoField("", "model name"), std::nullopt);
}

TEST(HostProcessor, ProbeAgreesWithThisMachinesCpuInfo) {
  const std::string cpuinfo = test::ReadFile("/proc/cpuinfo");
  if (!CpuInfoField(cpuinfo, "cpu family")) GTEST_SKIP() << "/proc/cpuinfo has no x86 fields here";
  const HostProcessor fromFile = HostProcessorFromCpuInfo(cpuinfo, sizeof(void*) == 8);
  const HostProcessor probed = ProbeHostProcessor();
  EXPECT_EQ(probed.vendor, fromFile.vendor);
  EXPECT_EQ(probed.identifier, fromFile.identifier);
  // The name comes from CPUID's brand string, which a virtual machine may word unlike the kernel.
  EXPECT_FALSE(probed.name.empty());
  EXPECT_EQ(probed.name, Trim(probed.name));
  EXPECT_GT(probed.mhz, 0u);
}

}  // namespace
}  // namespace dbinst
