#include "SystemSettings.h"

namespace vantorel {
namespace {

const wchar_t* checkText(int state) { return state == 1 ? L"1" : L"0"; }

} // namespace

std::wstring trimBlanks(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

void copySystemControls(const SystemControls& controls, qcolProperties& settings, qcLogging& log)
{
    auto data = [&](const wchar_t* name) -> std::wstring { return settings.Item(std::wstring(name))->Data(); };
    auto set = [&](const wchar_t* name, const std::wstring& value) { settings.Item(std::wstring(name))->Data(value); };

    log.StartProc(L"Options:SetSysINI");
    set(L"ShowSplash", checkText(controls.sysCheckBox[0]));
    log.Post(L"RegKey: ShowSplash", data(L"ShowSplash"));
    set(L"WinAnimate", checkText(controls.sysCheckBox[1]));
    set(L"IsDLLDebugging", checkText(controls.sysCheckBox[2]));
    set(L"NetworkPort", controls.sysBox[1]);
    log.Post(L"RegKey: WinAnimate", data(L"WinAnimate"));
    log.Post(L"RegKey: IsDLLDebugging", data(L"IsDLLDebugging"));
    set(L"UserName", trimBlanks(controls.userBox[1]));
    log.Post(L"UserName", data(L"UserName"));
    set(L"UserCompany", trimBlanks(controls.userBox[2]));
    log.Post(L"UserCompany", data(L"UserCompany"));
    set(L"UserEMail", trimBlanks(controls.userBox[3]));
    log.Post(L"E-Mail", data(L"UserEMail"));
    set(L"AreaCode", controls.sysBox[0]);
    log.Post(L"RegKey: User Name", data(L"UserName"));
    log.Post(L"RegKey: User Company", data(L"UserCompany"));
    log.Post(L"RegKey: User EMail", data(L"UserEMail"));
    log.Post(L"RegKey: Area Code", data(L"AreaCode"));
    log.StopProc(L"", L"Void");
}

} // namespace vantorel
