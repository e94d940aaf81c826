// The process's application put together with the automation that DBINST_SCRIPT asks for; kept
// apart from the loop so that the loop knows scripts only as a ScriptDriver.
#include "platform/ProcessExit.h"
#include "ui/Automation.h"
#include "ui/TvgApplication.h"

namespace dbinst {

TvgApplication& TvgApplication::Instance() {
  // Never destroyed: every way out of the program ends the process with the windows still there.
  static TvgApplication* instance = [] {
    auto* created = new TvgApplication();
    created->SetScriptStarter(StartScriptFromEnvironment);
    AddBeforeExit([] {
      if (ScriptDriver* script = Instance().Script()) script->BeforeExit();
    });
    return created;
  }();
  return *instance;
}

}  // namespace dbinst
