#include "ScratchFolder.h"

#include <filesystem>
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
    std::error_code ignored;
    std::filesystem::create_directories(path_ + relative, ignored);
    return path_ + relative;
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
    // Read-only entries would stop the removal.
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(folder, ignored);
}

bool exists(const std::wstring& name) { return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring currentDirectory() { return std::filesystem::current_path().wstring(); }

} // namespace files_testing
