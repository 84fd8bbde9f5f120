// The settings and game folders the launch tests prepare, handled by plain
// Win32 calls (never by the code under test).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "StandInRecord.h"
#include "TestSupport.h"

namespace launch_testing {

const std::wstring kAppKey = L"Software\\Brannock\\Apps\\Vantorel";
const std::wstring kSystemKey = L"Software\\Brannock\\System";
const std::wstring kUserKey = L"Software\\Brannock\\User";

// Writes a text value of the current user.
inline void setValue(const std::wstring& key, const std::wstring& name, const std::wstring& data)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

// A text value, or "<missing>".
inline std::wstring valueOf(const std::wstring& key, const std::wstring& name, HKEY root = HKEY_CURRENT_USER)
{
    std::wstring data;
    return testing_support::readString(root, key, name, &data) ? data : L"<missing>";
}

// The folder read-only-folder.sh made, through Wine's drive of the Unix root, ending in a backslash.
inline std::wstring readOnlyFolder()
{
    wchar_t unixPath[MAX_PATH] = {};
    GetEnvironmentVariableW(L"QUILLON_READ_ONLY_FOLDER", unixPath, MAX_PATH);
    std::wstring folder = std::wstring(L"Z:") + unixPath + L"\\";
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    return folder;
}

inline std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

inline std::string contentsOf(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// What the stand-in wrote: "name=value" lines.
struct Record {
    bool started = false;
    std::string commandLine, directory, pilotOpens;
};

// The stand-in's record in the game folder (ending in a backslash), waiting up to waitMs for it.
inline Record readRecord(const std::wstring& folder, DWORD waitMs)
{
    const std::wstring path = folder + L"standin-record.txt";
    std::map<std::string, std::wstring> lines;
    testing_support::waitFor([&] { return !(lines = testing_support::standInRecord(path)).empty(); }, waitMs);
    return {!lines.empty(), narrow(lines["commandline"]), narrow(lines["directory"]), narrow(lines["pilotopens"])};
}

// The stand-in as main.exe and the given pilot files in an existing folder (ending in a backslash).
inline void fillGame(const std::wstring& folder, const std::vector<std::wstring>& pilots)
{
    const std::wstring standIn = testing_support::programFolder() + L"StandInGame.exe";
    EXPECT_TRUE(CopyFileW(standIn.c_str(), (folder + L"main.exe").c_str(), FALSE));
    for (const std::wstring& pilot : pilots) std::ofstream((folder + pilot).c_str()) << "pilot";
}

} // namespace launch_testing
