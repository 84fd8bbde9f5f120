#include "StartupRules.h"

#include "LaunchRules.h"

namespace vantorel::rules {

std::wstring argumentsOf(const std::wstring& fullCommandLine)
{
    size_t at = 0;
    if (!fullCommandLine.empty() && fullCommandLine[0] == L'"') {
        size_t close = fullCommandLine.find(L'"', 1);
        at = close == std::wstring::npos ? fullCommandLine.size() : close + 1;
    } else {
        while (at < fullCommandLine.size() && fullCommandLine[at] != L' ' && fullCommandLine[at] != L'\t') ++at;
    }
    while (at < fullCommandLine.size() && (fullCommandLine[at] == L' ' || fullCommandLine[at] == L'\t')) ++at;
    return fullCommandLine.substr(at);
}

std::wstring baseNameOf(const std::wstring& modulePath)
{
    size_t slash = modulePath.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? modulePath : modulePath.substr(slash + 1);
    if (name.size() > 4 && upperCase(name.substr(name.size() - 4)) == L".EXE") name.resize(name.size() - 4);
    return name;
}

std::wstring folderOf(const std::wstring& modulePath)
{
    size_t slash = modulePath.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    std::wstring folder = modulePath.substr(0, slash);
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

bool requestsReset(const std::wstring& commandLine)
{
    const std::wstring upper = upperCase(commandLine);
    return upper.find(L"-SETUP") != std::wstring::npos || upper.find(L"/SETUP") != std::wstring::npos;
}

bool requestsOptions(const std::wstring& commandLine)
{
    size_t slash = commandLine.find(L'/');
    while (slash != std::wstring::npos) {
        size_t next = commandLine.find(L'/', slash + 1);
        size_t end = next == std::wstring::npos ? commandLine.size() : next;
        const std::wstring piece = upperCase(commandLine.substr(slash + 1, end - slash - 1));
        if (piece == L"PROPERTIES" || piece == L"OPTIONS") return true;
        slash = next;
    }
    return false;
}

bool showsSplash(const std::wstring& showSplashValue)
{
    return launch::readBooleanText(showSplashValue).value_or(true);
}
bool isFirstRun(const std::wstring& runOnceValue) { return runOnceValue == L"False"; }
bool registersAppPath(const std::wstring& baseName) { return upperCase(baseName) != L"AUTOLOAD"; }

std::optional<std::wstring> applicationKey(const std::wstring& baseName)
{
    if (baseName.empty() || baseName.find_first_of(std::wstring(L"\\\0", 2)) != std::wstring::npos) return std::nullopt;
    return L"Software\\Brannock\\Apps\\" + baseName;
}

std::wstring appPathKey(const std::wstring& baseName)
{
    return L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\app paths\\" + baseName + L".exe";
}

std::wstring appPathData(const std::wstring& folder, const std::wstring& baseName)
{
    return folder + L"\\" + baseName + L".exe";
}

std::wstring readmePath(const std::wstring& folder) { return folder + L"\\readme.txt"; }

std::wstring logFolder(const std::wstring& ownLogPath, bool ownLogWritable, const std::wstring& localAppData)
{
    if (ownLogWritable || localAppData.empty()) return ownLogPath;
    const bool separated = localAppData.back() == L'\\';
    return localAppData + (separated ? L"" : L"\\") + L"Brannock\\" + kAppTitle + L"\\";
}

std::wstring numberText(bool value) { return value ? L"-1" : L"0"; }

std::wstring libraryFailureText(const std::wstring& className, const std::wstring& folder, bool fileMissing,
                                const std::wstring& reason)
{
    const std::wstring title = kAppTitle, file = kLibraryFile;
    const std::wstring what = fileMissing ? L"its library file " + file + L" is missing from the folder " + folder
                                          : L"its library file " + file + L" could not be loaded";
    return title + L" cannot start because " + what + L" (" + className + L": " + reason +
           L"). Please reinstall " + title + L" to repair it.";
}

} // namespace vantorel::rules
