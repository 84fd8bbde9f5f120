// The script writers' reference as a client meets it. Every file of its examples folder runs as a script writer
// would run it (cscript for .vbs and .js, the built program for .cpp), in a scratch folder and with a scratch
// application title, and prints exactly what the "Prints:" comment lines at its end say.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

namespace fs = std::filesystem;

fs::path examplesFolder() { return fs::path(programFolder()) / L"examples"; }

std::vector<std::wstring> exampleFiles()
{
    std::vector<std::wstring> names;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(examplesFolder(), ignored)) {
        const fs::path extension = entry.path().extension();
        if (extension == L".vbs" || extension == L".js" || extension == L".cpp")
            names.push_back(entry.path().filename());
    }
    return names;
}

// The comment lines after "Prints:", which ends each example, without their comment marks.
std::string expectedOutput(const std::wstring& file)
{
    std::ifstream source(examplesFolder() / file);
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
    const fs::path path = examplesFolder() / file;
    if (path.extension() == L".cpp")
        return L"\"" + fs::path(path).replace_extension(L".exe").wstring() + L"\"" + arguments;
    return L"cscript.exe //nologo \"" + path.wstring() + L"\"" + arguments;
}

} // namespace

// Each in a scratch folder and with an application key of its own, removed before and after.
TEST(Examples, PrintWhatTheySay)
{
    const std::vector<std::wstring> files = exampleFiles();
    ASSERT_FALSE(files.empty()) << "no examples beside the program";
    for (const std::wstring& file : files) {
        SCOPED_TRACE(file);
        const std::string expected = expectedOutput(file);
        EXPECT_FALSE(expected.empty()) << "no \"Prints:\" lines";
        files_testing::ScratchFolder folder(L"example-" + file);
        const std::wstring title = L"Quillon example " + std::to_wstring(GetCurrentProcessId()) + L" " + file;
        const std::wstring appKey = L"Software\\Brannock\\Apps\\" + title;
        deleteTree(HKEY_CURRENT_USER, appKey);
        long exitCode = -1;
        std::string output = captureProcess(commandLine(file, folder.path(), title), &exitCode, 120000);
        deleteTree(HKEY_CURRENT_USER, appKey);
        EXPECT_EQ(0, exitCode) << output;
        output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
        EXPECT_EQ(expected, output);
    }
}
