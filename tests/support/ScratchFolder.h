// A fresh folder of its own for each test, removed with everything in it
// afterwards (by plain Win32 calls, never by the code under test).
#pragma once

#include <windows.h>

#include <string>

namespace files_testing {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's full path, ending in "\".
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + relative; }

    // Creates a file (and its missing folders) with `size` bytes; returns its full name.
    std::wstring file(const std::wstring& relative, DWORD size = 0, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    std::wstring folder(const std::wstring& relative) const;

private:
    std::wstring path_;
};

void removeTree(const std::wstring& folder);
bool exists(const std::wstring& name);

// The current directory, as the process sees it.
std::wstring currentDirectory();

} // namespace files_testing
