#pragma once

namespace dbinst {

// Every code the process ends with; scripts and the family's own installers read them.
inline constexpr int kExitCodeFinished = 0;
// A scripted run in memory whose window refused to close when the script ended.
inline constexpr int kExitCodeWindowStayedOpen = 1;
inline constexpr int kExitCodeUserQuit = 2;
// No prefix, no database, a helper library that cannot be placed, an unreadable script.
inline constexpr int kExitCodeFatal = 3;
// The final page was reached after a step of the installation failed.
inline constexpr int kExitCodeInstallFailed = 4;
// A run without a person waited for the CAD host program to end, and it did not.
inline constexpr int kExitCodeHostRunning = 5;

}  // namespace dbinst
