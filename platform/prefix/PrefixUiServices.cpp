#include "platform/prefix/PrefixUiServices.h"

#include "platform/prefix/FdScriptInput.h"
#include "platform/prefix/SdlDisplay.h"

namespace dbinst {

UiServices PrefixUiServices() {
  UiServices services;
  services.openDisplay = []() -> std::unique_ptr<Display> { return SdlDisplay::Open(); };
  services.openScript = [](const std::string& source,
                           std::string& error) -> std::unique_ptr<ScriptInput> {
    return FdScriptInput::Open(source, error);
  };
  return services;
}

}  // namespace dbinst
