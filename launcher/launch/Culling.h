// The culling of custom taunts and logos before a launch: every file of the
// folder's kinds is removed except the kept ones, once the folder has grown
// past its threshold. Kept files wait in a backup sub-folder while the shell
// removes the rest; a run that was killed is completed at the next start.
#pragma once

#include <functional>
#include <string>

#include "CullingRules.h"
#include "Logging.h"
#include "SettingsStore.h"

namespace vantorel::culling {

// Called after each step that changes the folder, with the number of steps so
// far; tests stop a run there to see that every moment is recoverable.
using StepHook = std::function<void(int step)>;

// One culling run of the given kind for the game at exePath. Leaves the
// culling folder as the current directory when it entered it.
void cullFolder(const Kind& kind, const std::wstring& exePath, SettingsStore& settings, qcLogging& log,
                const StepHook& afterStep = {});

// The taunt run, then the logo run.
void cullCustomFolders(const std::wstring& exePath, SettingsStore& settings, qcLogging& log);

} // namespace vantorel::culling
