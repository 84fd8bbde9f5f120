// The settings and game folders the launch tests prepare, handled by plain
// Win32 calls (never by the code under test).
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace launch_testing {

const std::wstring kAppKey = L"Software\\Brannock\\Apps\\Vantorel";
const std::wstring kSystemKey = L"Software\\Brannock\\System";

// Writes a text value of the current user.
inline void setValue(const std::wstring& key, const std::wstring& name, const std::wstring& data)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), REG_SZ, data.c_str(),
                    static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

inline std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

inline std::string contentsOf(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

} // namespace launch_testing
