#include "ScratchFolder.h"

#include <shlobj.h>

#include <vector>

#include "Raii.h"

namespace files_testing {

ScratchFolder::ScratchFolder(const std::wstring& name)
{
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"QuillonFiles-" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    removeTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { removeTree(path_); }

std::wstring ScratchFolder::folder(const std::wstring& relative) const
{
    const std::wstring full = path_ + relative;
    SHCreateDirectoryExW(nullptr, full.c_str(), nullptr);
    return full;
}

std::wstring ScratchFolder::file(const std::wstring& relative, DWORD size, DWORD attributes) const
{
    const size_t slash = relative.rfind(L'\\');
    if (slash != std::wstring::npos) folder(relative.substr(0, slash));
    const std::wstring full = path_ + relative;
    raii::UniqueFile file(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr));
    const std::vector<char> bytes(size, 'x');
    DWORD written = 0;
    if (size) WriteFile(file.get(), bytes.data(), size, &written, nullptr);
    return full;
}

void removeTree(const std::wstring& folder)
{
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L'\\';
    WIN32_FIND_DATAW entry;
    raii::UniqueFind find(FindFirstFileW((base + L'*').c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = base + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find.get(), &entry));
    }
    find.reset();
    RemoveDirectoryW(base.c_str());
}

bool exists(const std::wstring& name) { return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring currentDirectory()
{
    std::wstring text(GetCurrentDirectoryW(0, nullptr), L'\0');
    text.resize(GetCurrentDirectoryW(static_cast<DWORD>(text.size()), text.data()));
    return text;
}

} // namespace files_testing
