#include "env/CommandLine.h"

#include <string_view>

#include "env/InstallLog.h"
#include "platform/Text.h"

namespace dbinst {
namespace {

void ApplySwitch(std::string_view argument, std::string_view lowered,
                 const TStringToProductMap& codes, CommandLineFields& fields) {
  const auto rest = [&](std::string_view prefix) { return Trim(argument.substr(prefix.size())); };
  if (lowered.starts_with("/update")) {
    if (fields.programMode == EProgramMode::Standard) fields.programMode = EProgramMode::Update;
  } else if (lowered.starts_with("/path:")) {
    const std::string path = rest("/path:");
    if (!path.empty()) fields.updatePath = WithTrailingBackslash(path);
  } else if (lowered.starts_with("/product:")) {
    const EProductLine line = ProductLineOfCode(codes, rest("/product:"));
    if (line != EProductLine::None) fields.updateProduct = line;
  } else if (lowered.starts_with("/langcode:")) {
    const std::string code = rest("/langcode:");
    if (!code.empty()) fields.uninstallLanguageCode = code;
  } else if (lowered.starts_with("-s")) {
    fields.silent = true;
  } else if (lowered.starts_with("/log:")) {
    fields.logFile = rest("/log:");
  } else if (lowered.starts_with("/list")) {
    fields.listOnly = true;
  } else if (lowered.starts_with("/result:")) {
    fields.resultFile = rest("/result:");
  } else if (lowered.starts_with("/hostwait:")) {
    const auto seconds = ParseInteger(rest("/hostwait:"));
    if (seconds && *seconds >= 0 && *seconds <= kLongestHostWaitSeconds) {
      fields.hostWaitSeconds = static_cast<int32_t>(*seconds);
    }
  }
}

}  // namespace

CommandLineFields ReadCommandLine(const std::vector<std::string>& arguments,
                                  const TStringToProductMap& codes, InstallLog& log) {
  CommandLineFields fields;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string argument = Trim(arguments[i]);
    log.AddLine("Parameter " + std::to_string(i + 1) + ": " + argument);
    // Switches are ASCII, so a switch matched in the lowered copy has the same length in the
    // argument.
    ApplySwitch(argument, ToLower(argument), codes, fields);
  }
  return fields;
}

bool AsksOnlyForList(const std::vector<std::string>& arguments) {
  for (const std::string& argument : arguments) {
    CommandLineFields fields;
    const std::string trimmed = Trim(argument);
    ApplySwitch(trimmed, ToLower(trimmed), {}, fields);
    if (fields.listOnly) return true;
  }
  return false;
}

std::string ProgramModeText(EProgramMode mode) {
  switch (mode) {
    case EProgramMode::Standard:
      return "Standard";
    case EProgramMode::Update:
      return "Update";
    case EProgramMode::Uninstall:
      return "Uninstall";
    default:
      return "Unknown";
  }
}

}  // namespace dbinst
