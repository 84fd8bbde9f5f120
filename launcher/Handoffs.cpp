#include "Handoffs.h"

#include "Initialization.h"
#include "LauncherError.h"
#include "LibrarySlots.h"
#include "Raii.h"
#include "StartupRules.h"

namespace vantorel {

// Both roads are traced here so the log shows which one a start took; their
// work lands with the game launch and the options dialog.
void LaunchGame()
{
    qcLogging& log = applicationLog();
    log.StartProc(L"LaunchGame");
    log.StopProc(L"", L"Void");
}

void LoadOptionsDialog(bool exitOnComplete)
{
    qcLogging& log = applicationLog();
    log.StartProc(L"Options:Form_Load");
    log.Post(L"ExitOnComplete", exitOnComplete ? L"True" : L"False");
    log.StopProc(L"", L"Void");
}

void ShowWelcome(const std::wstring& folder)
{
    check(slots::core().ShowRunOnceDialog(raii::makeBstr(L"").get(), raii::makeBstr(rules::readmePath(folder)).get(),
                                          raii::makeBstr(L"Welcome to {AppTitle}").get(),
                                          raii::makeBstr(L"{AppTitle}").get(), 6495, 4800),
          L"Main");
}

} // namespace vantorel
