#include "app/SilentInstallation.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/FormSilentProgress.h"
#include "app/RunFiles.h"
#include "app/TerminalProgress.h"
#include "app/UnattendedTarget.h"
#include "engine/DoDbInstallThings.h"
#include "env/GeneralMod.h"
#include "env/TextKeys.h"
#include "payload/DatabaseEmbedded.h"
#include "platform/Console.h"
#include "platform/ExitCodes.h"
#include "platform/JsonWriter.h"
#include "platform/Machine.h"
#include "platform/Text.h"
#include "ui/TvgApplication.h"

namespace dbinst {
namespace {

using Clock = std::chrono::steady_clock;

// As often as the wizard's timer asks on the welcome page.
constexpr auto kHostCheckInterval = std::chrono::milliseconds(250);

const char* ReasonName(EInstallFailure failure) {
  switch (failure) {
    case EInstallFailure::None:
      return "";
    case EInstallFailure::NoSpace:
      return "no space";
    case EInstallFailure::WriteProtected:
      return "write-protected";
    case EInstallFailure::DamagedArchive:
      return "damaged archive";
    case EInstallFailure::WrongPassword:
      return "wrong password";
    case EInstallFailure::InUse:
      return "in use by another installer";
    case EInstallFailure::Cancelled:
      return "cancelled";
  }
  return "";
}

void Tell(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

}  // namespace

TSilentInstallation::TSilentInstallation(Machine& machine, TGeneralMod& module)
    : machine_(machine), module_(module) {}

TSilentInstallation::~TSilentInstallation() = default;

int TSilentInstallation::Fatal(const std::string& text) {
  error_ = text;
  module_.Log().AddLine(text);
  Tell(text);
  return kExitCodeFatal;
}

bool TSilentInstallation::WaitForHostToEnd() {
  const auto until = Clock::now() + std::chrono::seconds(module_.HostWaitSeconds());
  while (engine_->IsHostRunning()) {
    if (Clock::now() >= until) return false;
    std::this_thread::sleep_for(kHostCheckInterval);
  }
  return true;
}

int TSilentInstallation::Run() {
  const auto start = Clock::now();
  const int code = Prepare();
  seconds_ = std::chrono::duration<double>(Clock::now() - start).count();
  WriteResult(code);
  return code;
}

int TSilentInstallation::Prepare() {
  engine_ = std::make_unique<TDoDbInstallThings>(machine_, module_);
  if (engine_->DatabaseCount() < 1 || !engine_->PrepareHelperLibraries()) {
    return Fatal(module_.Text(TextKey::NoDatabases));
  }
  TLocalDriveMap drives;
  for (const TLogicalDriveFound& drive : engine_->LocalDrives()) {
    drives[ToUpper(drive.letter.substr(0, 1))] = drive;
  }
  target_ = UnattendedTarget(module_.UpdatePath(), *engine_, drives, error_);
  if (!target_) return Fatal("No folder to install into: " + error_);
  if (!WaitForHostToEnd()) {
    error_ = "The CAD host program " + module_.FixedNames().cadHostExecutable +
             " kept running for " + std::to_string(module_.HostWaitSeconds()) + " s";
    module_.Log().AddLine(error_);
    Tell(error_);
    return kExitCodeHostRunning;
  }
  if (TvgApplication::Instance().Headless()) return Install(nullptr);
  const int title =
      engine_->DatabaseCount() < 2 ? TextKey::TitleOneDatabase : TextKey::TitleSeveralDatabases;
  TFormSilentProgress window(machine_.resources(), module_.Text(title),
                             module_.Text(TextKey::InstallProgressTitle));
  window.Scene().Layout();
  window.Show();
  const int code = Install(&window.Progress());
  window.Hide();
  return code;
}

int TSilentInstallation::Install(ProgressView* window) {
  TTerminalProgress terminal;
  TProgressViews views;
  if (window) views.Add(*window);
  const bool onTerminal = StandardErrorIsTerminal();
  if (onTerminal) views.Add(terminal);
  const std::string folder = target_->Folder;
  const TSpaceShortageVec shortages = engine_->SpaceShortages(folder);
  if (!shortages.empty()) {
    for (const TSpaceShortage& shortage : shortages) {
      error_ = "Not enough free space on " + shortage.Drive + ": " +
               std::to_string(shortage.Needed) + " bytes needed, " + std::to_string(shortage.Free) +
               " free";
      module_.Log().AddLine(error_);
      Tell(error_);
    }
    return kExitCodeInstallFailed;
  }
  attempted_ = true;
  const bool copied = engine_->CopyArchives(&views);
  const bool installed = engine_->InstallDatabases(folder, &views);
  if (onTerminal) terminal.Finish();
  if (!copied) module_.Log().AddLine("Copying the database archives out of the installer failed");
  if (!installed) module_.Log().AddLine("Installing the databases into " + folder + " failed");
  return copied && installed ? kExitCodeFinished : kExitCodeInstallFailed;
}

void TSilentInstallation::WriteResult(int exitCode) {
  if (module_.ResultFile().empty()) return;
  JsonWriter json;
  json.BeginObject().Key("target");
  if (target_) {
    json.BeginObject();
    json.Key("line").Integer(static_cast<long long>(target_->ProductLine));
    json.Key("folder").String(target_->Folder);
    json.EndObject();
  } else {
    json.Null();
  }
  json.Key("databases").BeginArray();
  const auto outcomes = engine_->Outcomes();
  size_t index = 0;
  for (const auto& [kind, databases] : engine_->CatalogueCopy()) {
    for (const TDatabaseEmbedded& database : databases) {
      const TDatabaseOutcome* outcome = index < outcomes.size() ? &outcomes[index] : nullptr;
      ++index;
      const bool installed = outcome && outcome->Failure == EInstallFailure::None;
      const bool skipped = !attempted_ || !outcome || outcome->Skipped;
      json.BeginObject();
      json.Key("name").String(engine_->DisplayName(database));
      json.Key("kind").String(TextOfDatabaseType(database.Type));
      json.Key("outcome").String(installed ? "installed" : skipped ? "skipped" : "failed");
      json.Key("reason").String(installed || skipped ? "" : ReasonName(outcome->Failure));
      json.Key("detail").String(outcome ? outcome->Detail : "");
      json.Key("bytes").Integer(outcome ? outcome->Bytes : 0);
      json.EndObject();
    }
  }
  json.EndArray();
  json.Key("error").String(error_);
  json.Key("seconds").Number(static_cast<float>(seconds_));
  json.Key("exitCode").Integer(exitCode);
  json.EndObject();
  std::string error;
  if (!WriteFileAtomically(machine_.files(), module_.ResultFile(), json.Text() + "\n", error)) {
    Tell("The result cannot be written: " + error);
  }
}

}  // namespace dbinst
