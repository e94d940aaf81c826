// Unpacks one generated package of 200+ MB through MyFileOp::ExtractArchive into a real prefix,
// installs it through the engine from an installer that carries it, and unpacks it with "7zz x",
// each in a process of its own, and compares time and peak memory. Run by hand:
//   dbinst_archive_bench [work-folder]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/DoDbInstallThings.h"
#include "engine/InstallProgress.h"
#include "engine/ProgressView.h"
#include "env/GeneralMod.h"
#include "env/InstallLog.h"
#include "payload/MyFileOp.h"
#include "platform/Machine.h"
#include "platform/prefix/PrefixMachine.h"
#include "tools/demoprefix/PrefixBuilder.h"
#include "tools/packer/Packer.h"

extern char** environ;

namespace dbinst {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kPackageBytes = 210ll << 20;
// Other work on the machine only ever slows a run down, so the best of a few rounds counts.
constexpr int kRounds = 3;

// The engine's progress with nothing drawn: these runs time the unpacking alone.
class ShownNowhere : public ProgressView {
 public:
  void ShowOverall(float, float) override {}
  void ShowItem(float, float) override {}
  void ShowActivity(std::string_view) override {}
  void ProcessMessages() override {}
};

struct Run {
  double seconds = 0;
  double cpuSeconds = 0;
  long peakKib = 0;
  bool ok = false;
};

// Text-like lines, runs of zeros and random bytes, so the archive has the mix real databases have.
std::string FileBytes(std::mt19937_64& random, size_t size) {
  std::string bytes;
  bytes.reserve(size);
  static const char* words[] = {"tile ",   "glaze ", "matt ",  "60x60 ", "porcelain ",
                                "white\n", "grey ",  "beige ", "floor ", "wall\n"};
  switch (random() % 3) {
    case 0:
      while (bytes.size() < size) bytes += words[random() % 10];
      break;
    case 1:
      while (bytes.size() < size) {
        bytes.append(random() % 4096, '\0');
        for (int i = 0; i < 512; ++i) bytes.push_back(static_cast<char>(random()));
      }
      break;
    default:
      while (bytes.size() < size) bytes.push_back(static_cast<char>(random()));
  }
  bytes.resize(size);
  return bytes;
}

int64_t GeneratePackage(const fs::path& folder) {
  std::mt19937_64 random(2026);
  int64_t total = 0;
  for (int index = 0; total < kPackageBytes; ++index) {
    const size_t size = 1024 + random() % (index % 50 == 0 ? (4 << 20) : (256 << 10));
    const fs::path path = folder / ("group" + std::to_string(index % 23)) /
                          ("sub" + std::to_string(index % 7)) /
                          ("item" + std::to_string(index) + ".dat");
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << FileBytes(random, size);
    total += static_cast<int64_t>(size);
  }
  return total;
}

Run RunProcess(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  Run run;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return run;
  int status = 0;
  struct rusage usage {};
  if (::wait4(pid, &status, 0, &usage) != pid) return run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakKib = usage.ru_maxrss;
  run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                   (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

// The child process: the installer's own extraction with both bars, as the engine calls it.
int ExtractAsInstaller(const std::string& prefixFolder) {
  std::string error;
  auto machine = OpenPrefixMachine({prefixFolder, RunningExecutablePath()}, error);
  if (!machine) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  InstallLog log;
  MyFileOp fileOp(*machine, log);
  ShownNowhere view;
  InstallProgress progress(&view);
  if (!fileOp.ExtractArchive("C:\\bench\\db.7z", "C:\\Program Files\\Db\\",
                             progress.ArchiveHooks())) {
    std::fprintf(stderr, "%s\n", fileOp.LastArchiveError().c_str());
    return 1;
  }
  return 0;
}

// The child process of the engine run: both steps of an installation, as the wizard drives them.
int InstallThroughEngine(const std::string& prefixFolder, const std::string& installer) {
  std::string error;
  auto machine = OpenPrefixMachine({prefixFolder, installer}, error);
  if (!machine) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  GeneralMod = new TGeneralMod(*machine, {});
  TDoDbInstallThings engine(*machine, *GeneralMod);
  ShownNowhere view;
  const bool copied = engine.CopyArchives(&view);
  if (!copied || !engine.InstallDatabases("C:\\Program Files\\Db\\", &view)) {
    for (const std::string& line : GeneralMod->Log().Lines())
      std::fprintf(stderr, "%s\n", line.c_str());
    return 1;
  }
  return 0;
}

// An installer that carries the package as its only database, made by the packer.
bool PackInstallerWith(const fs::path& work, const fs::path& archive, const std::string& built,
                       const fs::path& output) {
  if (fs::exists(output)) return true;
  const fs::path ini = work / "bench.ini";
  std::ofstream(ini) << "[info]\nDATA=2026\nMDATE=2026-12-08\n[INSTALL]\nTYPE=WALLS\n";
  PackRequest request;
  request.installer = built;
  request.output = output.string();
  request.packages.push_back({ini.string(), archive.string()});
  std::string error;
  if (!PackInstaller(request, error)) {
    std::fprintf(stderr, "packing the installer: %s\n", error.c_str());
    return false;
  }
  return true;
}

std::pair<int64_t, int64_t> CountTree(const fs::path& folder) {
  int64_t files = 0;
  int64_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    bytes += static_cast<int64_t>(entry.file_size());
  }
  return {files, bytes};
}

Run Best(const Run& a, const Run& b) {
  if (!a.ok || (b.ok && b.seconds < a.seconds)) return b;
  return a;
}

// A work folder from an earlier run keeps its prefix and archive, so only the extractions run.
bool PreparePackage(const fs::path& work, const fs::path& archive) {
  if (fs::exists(archive)) return true;
  std::string error;
  if (!PrefixBuilder((work / "prefix").string()).Build(error)) {
    std::fprintf(stderr, "prefix: %s\n", error.c_str());
    return false;
  }
  std::printf("generating the package...\n");
  const int64_t bytes = GeneratePackage(work / "source");
  fs::create_directories(archive.parent_path());
  std::printf("packing %.1f MB with 7zz (solid LZMA2)...\n", bytes / 1048576.0);
  const std::string pack = "cd '" + (work / "source").string() +
                           "' && 7zz a -t7z -m0=lzma2 -ms=on -mx=3 -mmt=1 -bso0 -bsp0 '" +
                           archive.string() + "' .";
  const bool packed = std::system(pack.c_str()) == 0;
  fs::remove_all(work / "source");
  if (!packed) fs::remove(archive);
  return packed;
}

int Bench(const fs::path& work, const std::string& self, const std::string& built) {
  const fs::path prefix = work / "prefix";
  const fs::path archive = prefix / "drive_c/bench/db.7z";
  if (!PreparePackage(work, archive)) return 2;
  const fs::path installer = work / "dbinstall-bench";
  if (!PackInstallerWith(work, archive, built, installer)) return 2;
  const fs::path engineOut = prefix / "drive_c/Program Files/Db/WALLS";

  const fs::path oursOut = prefix / "drive_c/Program Files/Db";
  const fs::path sevenOut = work / "7zz-out";
  Run ours;
  Run seven;
  Run engine;
  for (int round = 0; round < kRounds; ++round) {
    fs::remove_all(oursOut);
    engine = Best(engine, RunProcess({self, "--install", prefix.string(), installer.string()}));
    const auto engineTree = CountTree(engineOut);
    fs::remove_all(oursOut);
    ours = Best(ours, RunProcess({self, "--extract", prefix.string()}));
    if (engineTree != CountTree(oursOut)) {
      std::fprintf(stderr, "the engine's installation differs from the extraction\n");
      return 1;
    }
    fs::remove_all(sevenOut);
    seven = Best(seven, RunProcess({"/usr/bin/7zz", "x", "-y", "-bso0", "-bsp0",
                                    "-o" + sevenOut.string(), archive.string()}));
  }
  if (!ours.ok || !seven.ok || !engine.ok) {
    std::fprintf(stderr, "a run failed (ours %d, engine %d, 7zz %d)\n", ours.ok, engine.ok,
                 seven.ok);
    return 1;
  }
  const auto oursTree = CountTree(oursOut);
  const auto sevenTree = CountTree(sevenOut);
  const double ratio = ours.seconds / seven.seconds;
  std::printf("package: %lld files, %.1f MB unpacked, archive %.1f MB\n",
              static_cast<long long>(sevenTree.first), sevenTree.second / 1048576.0,
              fs::file_size(archive) / 1048576.0);
  std::printf("ExtractArchive: %.3f s (CPU %.3f s), peak RSS %ld KiB\n", ours.seconds,
              ours.cpuSeconds, ours.peakKib);
  std::printf("engine (copy + install): %.3f s (CPU %.3f s), peak RSS %ld KiB, ratio to 7zz %.3f\n",
              engine.seconds, engine.cpuSeconds, engine.peakKib, engine.seconds / seven.seconds);
  std::printf("7zz x:          %.3f s (CPU %.3f s), peak RSS %ld KiB\n", seven.seconds,
              seven.cpuSeconds, seven.peakKib);
  std::printf("ratio ours / 7zz: %.3f (limit 1.05)%s\n", ratio, ratio <= 1.05 ? "" : "  ABOVE");
  if (oursTree != sevenTree) {
    std::fprintf(stderr, "the two extractions differ\n");
    return 1;
  }
  return ratio <= 1.05 ? 0 : 1;
}

}  // namespace
}  // namespace dbinst

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (argc == 3 && std::string(argv[1]) == "--extract") return dbinst::ExtractAsInstaller(argv[2]);
  if (argc == 4 && std::string(argv[1]) == "--install") {
    return dbinst::InstallThroughEngine(argv[2], argv[3]);
  }
  const bool ownFolder = argc < 2;
  std::string work = argc >= 2 ? argv[1] : (fs::temp_directory_path() / "dbinst-bench-XXXXXX");
  if (ownFolder && ::mkdtemp(work.data()) == nullptr) return 2;
  const int result = dbinst::Bench(work, dbinst::RunningExecutablePath(), DBINST_INSTALLER_PATH);
  if (ownFolder) fs::remove_all(work);
  return result;
}
