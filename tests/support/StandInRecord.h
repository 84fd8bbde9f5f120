// What the stand-in game (tools/StandInGame) wrote about its run: "name=value" lines in UTF-8, among them
// "commandline", "directory" and "finished" ("1" once it has ended).
#pragma once

#include <windows.h>

#include <map>
#include <sstream>
#include <string>

#include "TestSupport.h"
#include "TextCodes.h"

namespace testing_support {

// The record in the file, none while it is missing; the stand-in may replace the file meanwhile.
inline std::map<std::string, std::wstring> standInRecord(const std::wstring& file)
{
    std::map<std::string, std::wstring> record;
    std::istringstream stream(fileBytes(file));
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string value = line.substr(equals + 1);
        record[line.substr(0, equals)] = textcodes::FromCodePage(CP_UTF8, value.data(), value.size());
    }
    return record;
}

} // namespace testing_support
