// The game folders the launch tests prepare and what the stand-in game recorded there, by plain Win32 calls
// (never by the code under test).
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LauncherInstall.h"
#include "StandInRecord.h"
#include "TestSupport.h"

namespace launch_testing {

using testing_support::fileBytes;

inline std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// Writes a file with the given bytes, creating its missing folders.
inline void writeFile(const std::wstring& path, const std::string& bytes)
{
    for (size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1))
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    raii::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(file && WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr))
        << narrow(path);
}

struct Record {
    bool started = false;
    std::string commandLine, directory, pilotOpens;
};

// The stand-in's record in the game folder (ending in a backslash), waiting up to waitMs for it.
inline Record readRecord(const std::wstring& folder, DWORD waitMs = 15000)
{
    std::map<std::string, std::wstring> lines;
    testing_support::waitFor(
        [&] { return !(lines = testing_support::standInRecord(folder + L"standin-record.txt")).empty(); }, waitMs);
    return {!lines.empty(), narrow(lines["commandline"]), narrow(lines["directory"]), narrow(lines["pilotopens"])};
}

// The stand-in as main.exe and the given pilot files in a folder (ending in a backslash).
inline void fillGame(const std::wstring& folder, const std::vector<std::wstring>& pilots)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring standIn = testing_support::programFolder() + L"StandInGame.exe";
    EXPECT_TRUE(CopyFileW(standIn.c_str(), (folder + L"main.exe").c_str(), FALSE));
    for (const std::wstring& pilot : pilots) writeFile(folder + pilot, "pilot");
}

} // namespace launch_testing
