// Path clean-up and the path splitters of the library and of the launcher's start-up.
#include "FuzzInput.h"
#include "files/FileNames.h"
#include "launcher/startup/StartupRules.h"

using namespace quillon::qfcLibFilesA;
using namespace fuzzinput;

FUZZ_TARGET(texts)
{
    const std::wstring path = texts[0];
    const std::wstring clean = CleanPath(path);
    FUZZ_CHECK(clean.empty() || (clean.front() != L' ' && clean.back() != L' '));

    // A split joined again gives the cleaned path; without a "\" both halves are the whole text.
    const std::wstring folder = GetFilePath(path), title = GetFileTitle(path, true);
    if (clean.find(L'\\') == std::wstring::npos)
        FUZZ_CHECK(folder == clean && title == clean);
    else
        FUZZ_CHECK(folder + title == clean && folder.back() == L'\\' && title.find(L'\\') == std::wstring::npos);
    const std::wstring stem = GetFileTitle(path, false);
    FUZZ_CHECK(startsWith(title, stem));
    if (stem.size() < title.size()) FUZZ_CHECK(title == stem + L"." + GetFileExt(path));

    const std::wstring withSep = AddDirSep(path);
    FUZZ_CHECK(path.empty() ? withSep.empty() : endsWith(withSep, L"\\") && startsWith(withSep + L"\\", clean));
    FUZZ_CHECK(path.empty() ? !IsShortFileName(path) && !IsLongFileName(path)
                            : IsShortFileName(path) != IsLongFileName(path));

    // Each folder MakePath makes contains the one before it, and there are no more than separators.
    const std::vector<std::wstring> folders = FoldersToMake(path);
    FUZZ_CHECK(folders.size() <= count(path, L"\\") + 1);
    for (std::size_t i = 1; i < folders.size(); ++i)
        FUZZ_CHECK(folders[i].size() > folders[i - 1].size() && startsWith(folders[i], folders[i - 1] + L"\\"));

    // The launcher's own splitters: pieces of the text they came from.
    namespace rules = vantorel::rules;
    const std::wstring arguments = rules::argumentsOf(path), base = rules::baseNameOf(path), home = rules::folderOf(path);
    FUZZ_CHECK(endsWith(path, arguments));
    FUZZ_CHECK(base.find_first_of(L"\\/") == std::wstring::npos && path.find(base) != std::wstring::npos);
    FUZZ_CHECK(startsWith(path, home) || (home.size() == 3 && startsWith(path, home.substr(0, 2))));
}
