#include "qfcLibFilesA.h"

#include <windows.h>
#include <shlobj.h>

#include "Raii.h"
#include "RuntimeError.h"
#include "registry/qfcLibRegistryB.h"
#include "strings/StringRules.h"
#include "strings/TextCase.h"

namespace quillon::qfcLibFilesA {
namespace {

// Lists a pattern; calls visit(entry) for each entry until it returns false.
// Returns 0, or the listing's error when nothing could be listed.
template <class Visit>
DWORD listEntries(const std::wstring& pattern, Visit&& visit)
{
    WIN32_FIND_DATAW entry;
    raii::UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return GetLastError();
    do {
        if (!visit(entry)) break;
    } while (FindNextFileW(find.get(), &entry));
    return 0;
}

// Entries of a folder (its name ends in "\") as a listing with the attribute mask 16 shows them.
template <class Visit>
void listFolder(const std::wstring& folder, Visit&& visit)
{
    listEntries(folder + L'*', [&](const WIN32_FIND_DATAW& entry) {
        if (!IsDotEntry(entry.cFileName) && IsListed(entry.dwFileAttributes, kFilesAndFoldersMask)) visit(entry);
        return true;
    });
}

bool isFolder(const WIN32_FIND_DATAW& entry) { return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool isPlainFolder(const WIN32_FIND_DATAW& entry) { return IsFolderToEnter(entry.dwFileAttributes); }

bool opensForReading(const std::wstring& name)
{
    raii::UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
}

bool isDirectory(const std::wstring& name)
{
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A listing that could not start because of the name itself is the caller's error; a missing one is no match.
void raiseListingError(DWORD error)
{
    switch (error) {
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        throw RuntimeError(kBadFileName);
    case ERROR_NOT_READY:
        throw RuntimeError(kDiskNotReady);
    default:
        return;
    }
}

// A text an API fills, sized from the API's own answer. fill(buffer, size) returns the length written,
// or the size needed (with the terminator) when the buffer is too small, or 0 on failure.
template <class Fill>
std::wstring filledText(Fill&& fill)
{
    std::wstring text(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = fill(text.data(), static_cast<DWORD>(text.size()));
        if (length == 0) return std::wstring();
        if (length < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(length);
    }
}

std::wstring specialFolder(long id)
{
    raii::UniqueIdList list;
    if (SHGetSpecialFolderLocation(nullptr, static_cast<int>(id), list.put()) != S_OK || !list) return std::wstring();
    return ItemListPath(list.get());
}

std::wstring programFilesFolder()
{
    std::wstring text;
    qfcLibRegistryB::REG_GetString(HKEY_LOCAL_MACHINE, checkedName(L"Software\\Microsoft\\Windows\\CurrentVersion"),
                                   checkedName(L"ProgramFilesDir"), text);
    return text;
}

void collectByExtension(const std::wstring& folder, const std::wstring& upperExtension, bool recursive,
                        std::vector<std::wstring>& found)
{
    std::vector<std::wstring> folders;
    listFolder(folder, [&](const WIN32_FIND_DATAW& entry) {
        if (isFolder(entry)) {
            if (isPlainFolder(entry)) folders.push_back(folder + entry.cFileName + L'\\');
            return;
        }
        if (!EndsWithExtension(entry.cFileName, wcslen(entry.cFileName), upperExtension, textcase::Upper)) return;
        std::wstring name = folder + entry.cFileName;
        if (opensForReading(name)) found.push_back(std::move(name));
    });
    if (!recursive) return;
    for (auto sub = folders.rbegin(); sub != folders.rend(); ++sub)
        collectByExtension(*sub, upperExtension, recursive, found);
}

long long folderSize(const std::wstring& folder, bool recursive)
{
    long long total = 0;
    std::vector<std::wstring> folders;
    listFolder(folder, [&](const WIN32_FIND_DATAW& entry) {
        if (isFolder(entry)) {
            if (recursive && isPlainFolder(entry)) folders.push_back(folder + entry.cFileName + L'\\');
            return;
        }
        total += static_cast<long long>((static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) |
                                        entry.nFileSizeLow);
    });
    for (auto sub = folders.rbegin(); sub != folders.rend(); ++sub) total += folderSize(*sub, recursive);
    return total;
}

} // namespace

std::wstring ItemListPath(const ITEMIDLIST* list)
{
    std::wstring path(MAX_PATH, L'\0');
    while (!SHGetPathFromIDListEx(list, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) {
        if (path.size() >= 32768) return std::wstring();
        path.resize(path.size() * 2);
    }
    path.resize(wcslen(path.c_str()));
    return path;
}

bool ListsEntry(const std::wstring& name, unsigned long mask)
{
    std::wstring pattern = name;
    if (pattern.back() == L'\\' || pattern.back() == L'/') pattern += L'*';
    bool found = false;
    const DWORD error = listEntries(pattern, [&](const WIN32_FIND_DATAW& entry) {
        found = IsListed(entry.dwFileAttributes, mask);
        return !found;
    });
    if (error) raiseListingError(error);
    return found;
}

bool FileExists(const CheckedName& vFile)
{
    const std::wstring name = CleanPath(vFile.text());
    return !name.empty() && ListsEntry(name, kFilesMask);
}

bool DirExists(const CheckedName& vPath)
{
    const std::wstring named = CleanPath(Unquote(vPath.text()));
    if (named.empty()) return false;  // a blank text names no folder
    try {
        return ListsEntry(WithTrailing(named, L'\\'), kFilesAndFoldersMask);
    } catch (const RuntimeError&) {
        return false;
    }
}

std::wstring GetShortFileName(const CheckedName& vFile)
{
    if (vFile.empty()) return std::wstring();
    return filledText([&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(vFile.c_str(), buffer, size); });
}

std::wstring GetSystemFolder(long vFolderToReturn)
{
    std::wstring folder;
    switch (vFolderToReturn) {
    case qcProgramFiles:
        folder = programFilesFolder();
        break;
    case qcWindows:
        folder = filledText([](wchar_t* buffer, DWORD size) { return GetWindowsDirectoryW(buffer, size); });
        break;
    case qcWindowsSystem:
        folder = filledText([](wchar_t* buffer, DWORD size) { return GetSystemDirectoryW(buffer, size); });
        break;
    default:
        folder = specialFolder(vFolderToReturn);
        break;
    }
    return WithTrailing(folder, L'\\');
}

bool MakePath(const CheckedName& vDirName)
{
    if (vDirName.empty()) return false;
    for (const std::wstring& folder : FoldersToMake(vDirName.text())) {
        if (!isDirectory(folder)) CreateDirectoryW(folder.c_str(), nullptr);
    }
    // True only when the folder is there now: a missing drive or a name the file system refuses is a failure.
    const std::wstring folder = stringrules::TrimBlanks(vDirName.text());
    return !folder.empty() && isDirectory(WithTrailing(folder, L'\\'));
}

bool FindByExtension(const CheckedName& vPath, const CheckedName& vFileExt, bool vRecursive,
                     std::vector<std::wstring>& found)
{
    if (vPath.empty() || vFileExt.empty() || vFileExt.text() == L"*.*") return false;
    collectByExtension(WithTrailing(vPath.text(), L'\\'), textcase::Upper(SearchExtension(vFileExt.text())), vRecursive,
                       found);
    return true;
}

long long GetDirSize(const CheckedName& vPath, bool vRecursive)
{
    const std::wstring folder = CleanPath(vPath.text());
    if (folder.empty() || !isDirectory(folder)) return -1;  // not an empty folder
    return folderSize(WithTrailing(folder, L'\\'), vRecursive);
}

} // namespace quillon::qfcLibFilesA
