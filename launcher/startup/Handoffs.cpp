#include "Handoffs.h"

#include "Initialization.h"
#include "LauncherError.h"
#include "LibrarySlots.h"
#include "OptionsDialog.h"
#include "Raii.h"
#include "StartupRules.h"

namespace vantorel {

void LoadOptionsDialog(bool exitOnComplete)
{
    loadOptionsDialog();
    if (exitOnComplete) setExitOnComplete(true);
}

void ShowWelcome(const std::wstring& folder)
{
    check(slots::core().ShowRunOnceDialog(raii::makeBstr(L"").get(), raii::makeBstr(rules::readmePath(folder)).get(),
                                          raii::makeBstr(L"Welcome to {AppTitle}").get(),
                                          raii::makeBstr(L"{AppTitle}").get(), 6495, 4800),
          L"Main");
}

} // namespace vantorel
