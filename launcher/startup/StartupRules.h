// The decisions of start-up, as functions of the texts they are made from.
#pragma once

#include <optional>
#include <string>

namespace vantorel::rules {

constexpr wchar_t kAppTitle[] = L"Vantorel";
constexpr wchar_t kLibraryFile[] = L"Quillon.dll";

// The system's upper case, one UTF-16 unit for one (StartupCase.cpp: the one Windows call of these rules).
std::wstring upperCase(const std::wstring& text);

// The arguments part of a full command line: the program's name (quoted or
// not) and the blanks after it removed, the rest as it stands.
std::wstring argumentsOf(const std::wstring& fullCommandLine);

// Base name and folder of a module path; the folder has no trailing backslash
// except at a drive root ("C:\").
std::wstring baseNameOf(const std::wstring& modulePath);
std::wstring folderOf(const std::wstring& modulePath);

// "/SETUP" or "-SETUP" anywhere, in any letter case.
bool requestsReset(const std::wstring& commandLine);
// A piece after a "/" that is exactly PROPERTIES or OPTIONS in any letter case.
bool requestsOptions(const std::wstring& commandLine);
// A switch text, read as the options dialog reads every switch (a number or
// "True"/"False"); any other text shows the splash, as the missing value does.
bool showsSplash(const std::wstring& showSplashValue);
bool isFirstRun(const std::wstring& runOnceValue);
bool registersAppPath(const std::wstring& baseName);

// The key the settings reset deletes; nullopt when the base name is empty or
// not a single key name, since the key would then hold every application's settings.
std::optional<std::wstring> applicationKey(const std::wstring& baseName);
std::wstring appPathKey(const std::wstring& baseName);
std::wstring appPathData(const std::wstring& folder, const std::wstring& baseName);
std::wstring readmePath(const std::wstring& folder);

// The folder the log is written in (ending in "\"): `ownLogPath`, the log path
// next to the program, while the log file there can be written; otherwise the
// player's "<local application data>\Brannock\Vantorel\", or still
// `ownLogPath` when the player's folder is unknown ("").
std::wstring logFolder(const std::wstring& ownLogPath, bool ownLogWritable, const std::wstring& localAppData);

// What a player reads when a class of the library cannot be created: which
// file and class, whether the file is missing from the program's folder, the
// system's reason, and that reinstalling repairs it. One line, for the log too.
std::wstring libraryFailureText(const std::wstring& className, const std::wstring& folder, bool fileMissing,
                                const std::wstring& reason);

// A boolean as the log shows it: "-1" true, "0" false.
std::wstring numberText(bool value);

} // namespace vantorel::rules
