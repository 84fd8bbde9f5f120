// The script writers' reference as a client meets it. Every file of its examples folder runs as a script writer
// would run it (cscript for .vbs and .js, the built program for .cpp), in a scratch folder and with a scratch
// application title, and prints exactly what the "Prints:" comment lines at its end say.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

std::wstring examplesFolder() { return programFolder() + L"examples\\"; }

bool endsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::wstring> exampleFiles()
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    raii::UniqueFind find(FindFirstFileW((examplesFolder() + L"*").c_str(), &entry));
    for (bool more = bool(find); more; more = FindNextFileW(find.get(), &entry))
        if (endsWith(entry.cFileName, L".vbs") || endsWith(entry.cFileName, L".js") || endsWith(entry.cFileName, L".cpp"))
            names.push_back(entry.cFileName);
    return names;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The comment lines after "Prints:", which ends each example, without their comment marks.
std::string expectedOutput(const std::wstring& file)
{
    std::ifstream source(narrow(examplesFolder() + file).c_str());
    std::string line, expected;
    bool printing = false;
    while (std::getline(source, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        // Without the comment mark and its blank: "' " in scripts, "// " in C++ and JScript.
        const std::string text = line.substr(std::min(line.rfind("//", 0) == 0 ? size_t(3) : size_t(2), line.size()));
        if (printing) expected += text + "\n";
        printing = printing || text == "Prints:";
    }
    return expected;
}

std::wstring commandLine(const std::wstring& file, const std::wstring& folder, const std::wstring& title)
{
    // Without its last "\": before a closing quote it would escape the quote.
    const std::wstring arguments = L" \"" + folder.substr(0, folder.size() - 1) + L"\" \"" + title + L"\"";
    if (endsWith(file, L".cpp"))
        return L"\"" + examplesFolder() + file.substr(0, file.size() - 4) + L".exe\"" + arguments;
    return L"cscript.exe //nologo \"" + examplesFolder() + file + L"\"" + arguments;
}

class Examples : public ::testing::TestWithParam<std::wstring> {};

TEST_P(Examples, PrintWhatTheySay)
{
    const std::wstring file = GetParam();
    const std::string expected = expectedOutput(file);
    ASSERT_FALSE(expected.empty()) << narrow(file) << " has no \"Prints:\" lines";
    files_testing::ScratchFolder folder(L"example-" + file);
    // The application key of a title of its own, removed before and after.
    const std::wstring title = L"Quillon example " + std::to_wstring(GetCurrentProcessId()) + L" " + file;
    const std::wstring appKey = L"Software\\Brannock\\Apps\\" + title;
    deleteTree(HKEY_CURRENT_USER, appKey);
    long exitCode = -1;
    std::string output = captureProcess(commandLine(file, folder.path(), title), &exitCode, 120000);
    deleteTree(HKEY_CURRENT_USER, appKey);
    EXPECT_EQ(0, exitCode) << output;
    output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
    EXPECT_EQ(expected, output) << narrow(file);
}

std::string exampleName(const ::testing::TestParamInfo<std::wstring>& info)
{
    std::string name;
    for (wchar_t c : info.param) name += iswalnum(c) ? static_cast<char>(c) : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Reference, Examples, ::testing::ValuesIn(exampleFiles()), exampleName);

} // namespace
