#include <benchmark/benchmark.h>

#include <string>

#include "platform/prefix/PrefixRegistry.h"

namespace dbinst {
namespace {

// Start-up reads both registry files of the prefix; a real system.reg has about 45,000 lines.
void BM_LoadWine8Registry(benchmark::State& state) {
  const std::string prefix = std::string(DBINST_TEST_FIXTURES) + "/wine-8.0-fresh-prefix";
  for (auto _ : state) {
    std::string error;
    auto registry = PrefixRegistry::Load(prefix, error);
    if (!registry) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(registry);
  }
}
BENCHMARK(BM_LoadWine8Registry)->Unit(benchmark::kMillisecond);

void BM_OpenRedirectedKey(benchmark::State& state) {
  const std::string prefix = std::string(DBINST_TEST_FIXTURES) + "/wine-8.0-fresh-prefix";
  std::string error;
  auto registry = PrefixRegistry::Load(prefix, error);
  if (!registry) {
    state.SkipWithError(error.c_str());
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        registry->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\VELMORA\\INSTALLATIONS\\Orvane2"));
  }
}
BENCHMARK(BM_OpenRedirectedKey);

}  // namespace
}  // namespace dbinst
