#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/FormMainDbInstall.h"
#include "app/FormMessage.h"
#include "app/InstallerList.h"
#include "app/RunFiles.h"
#include "app/SilentInstallation.h"
#include "engine/DoDbInstallThings.h"
#include "env/CommandLine.h"
#include "env/GeneralMod.h"
#include "env/MessagePump.h"
#include "platform/Display.h"
#include "platform/ExitCodes.h"
#include "platform/Machine.h"
#include "platform/MessageBox.h"
#include "platform/ProcessExit.h"
#include "platform/ReadOnlyMachine.h"
#include "platform/prefix/PrefixMachine.h"
#include "platform/prefix/PrefixUiServices.h"
#include "platform/prefix/SdlMessageBox.h"
#include "ui/Painter.h"
#include "ui/TvgApplication.h"

namespace dbinst {
namespace {

// The machine, the module and the windows live until the process ends: every way out of the
// wizard ends the process at once with its exit code.
Machine* TheMachine = nullptr;
TFormMainDbInstall* MainWindow = nullptr;
TFormMessage* MessageWindowOfRun = nullptr;

// What escapes the wizard is shown as the application shows any error; the process cannot go on.
[[noreturn]] void ShowEscapedError(const std::string& text) {
  std::string message = text.empty() ? std::string("Unknown error") : text;
  if (TheMachine) {
    TheMachine->messageBox().Tell(message, "Database Installer");
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
  ExitProcessWithCode(kExitCodeFatal);
}

// However the run ends, its log goes to the file /log: names; a file that cannot be written
// changes nothing of the run.
void WriteLogOfRun() {
  std::string error;
  if (!WriteLogFile(TheMachine->files(), GeneralMod->LogFile(), GeneralMod->Log().Lines(), error)) {
    std::fprintf(stderr, "The log cannot be written: %s\n", error.c_str());
  }
}

bool HasDisplayVariable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
}

// A debug run (DBINST_DEBUG=1) says which face fontconfig draws the layouts' font with.
void NoteFontOfDebugRun() {
  const char* debug = std::getenv("DBINST_DEBUG");
  if (!debug || std::string_view(debug) != "1") return;
  GeneralMod->Log().AddLine("Font: " + TFont().family + " is drawn as " +
                            ResolvedFontFamily(TFont()));
}

int Run(const std::vector<std::string>& arguments) {
  SetUiServices(PrefixUiServices());
  TvgApplication& application = TvgApplication::Instance();
  // Nothing is pumped until the window shows: neither input nor a script may reach it half built.
  SetMessagePump({});
  const std::string prefix = DefaultPrefixPath();
  std::string error;
  std::unique_ptr<Machine> machine = OpenPrefixMachine({prefix, RunningExecutablePath()}, error);
  const bool listOnly = AsksOnlyForList(arguments);
  // The list promises to change nothing, not even the screen saver's setting.
  if (machine && listOnly) machine = ReadOnlyMachine(std::move(machine));
  if (!machine) {
    const std::string text = "No Wine prefix to install into: " + error;
    std::fprintf(stderr, "%s\n", text.c_str());
    // A person who started the installer from a desktop sees no standard error.
    if (HasDisplayVariable()) SdlMessageBox().Tell(text, "Database Installer");
    return kExitCodeFatal;
  }
  TheMachine = machine.release();
  GeneralMod = new TGeneralMod(*TheMachine, arguments);
  if (!GeneralMod->LogFile().empty()) AddBeforeExit(WriteLogOfRun);
  if (listOnly) {
    std::printf("%s\n", InstallerListJson(*TheMachine, *GeneralMod).c_str());
    ExitProcessWithCode(kExitCodeFinished);
  }
  if (GeneralMod->IsSilent())
    ExitProcessWithCode(TSilentInstallation(*TheMachine, *GeneralMod).Run());
  application.SetLogSource([] { return GeneralMod->Log().Lines(); });
  NoteFontOfDebugRun();
  MainWindow = new TFormMainDbInstall(*TheMachine, *GeneralMod);
  application.SetMainForm(MainWindow);
  MessageWindowOfRun = new TFormMessage(TheMachine->resources(), MainWindow);
  MainWindow->Engine->SetMessageWindow(MessageWindowOfRun);
  // Laid out before it shows, so that the first click already finds every object in its place.
  MainWindow->Scene().Layout();
  MainWindow->Show();
  SetMessagePump([&application] { application.ProcessMessages(); });
  application.Run();
  return 0;
}

}  // namespace
}  // namespace dbinst

int main(int argc, char** argv) {
  try {
    return dbinst::Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    dbinst::ShowEscapedError(error.what());
  } catch (...) {
    dbinst::ShowEscapedError({});
  }
}
