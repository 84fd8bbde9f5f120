// Copy, move and delete through the shell's file operation.
//
// Every name reaches the shell absolute and within the length it accepts:
// given one it cannot resolve, the shell may act on the current folder
// instead. Empty and blank names never become names at all.
#include "qfcLibFilesA.h"

#include <windows.h>
#include <shellapi.h>

#include "RuntimeError.h"

namespace quillon::qfcLibFilesA {
namespace {

// The names come from splitting the caller's list here, so they are checked here.
std::wstring shellName(const std::wstring& text)
{
    const CheckedName name = checkedName(text);  // the shell's own length limit follows
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0 || size > MAX_PATH) throw RuntimeError(kBadFileName);
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(name.c_str(), size, full.data(), nullptr));
    if (full.empty() || full.size() >= MAX_PATH) throw RuntimeError(kBadFileName);
    return full;
}

std::vector<std::wstring> shellNames(const SourceNames& sources)
{
    std::vector<std::wstring> names;
    names.reserve(sources.names.size());
    for (const std::wstring& name : sources.names) names.push_back(shellName(name));
    return names;
}

void checkFlags(long vFlags)
{
    if (!FitsShellFlags(vFlags)) throw RuntimeError(kInvalidArgument);
}

// The shell's answer: true only when it reports an aborted operation.
bool runOperation(long owner, UINT operation, const std::wstring& from, const std::wstring* to, long flags,
                  bool multiple, const std::wstring& title)
{
    SHFILEOPSTRUCTW record = {};
    record.hwnd = reinterpret_cast<HWND>(static_cast<LONG_PTR>(owner));
    record.wFunc = operation;
    record.pFrom = from.c_str();
    record.pTo = to ? to->c_str() : nullptr;
    record.fFlags = static_cast<FILEOP_FLAGS>(flags | (multiple ? qcMultiFiles : 0));
    record.lpszProgressTitle = title.empty() ? nullptr : title.c_str();
    SHFileOperationW(&record);
    return record.fAnyOperationsAborted != FALSE;
}

} // namespace

bool CopiesOrMoves(long vOperation) { return vOperation == qcCopy || vOperation == qcMove; }

bool CopyFile(long vOwnerhWnd, const SourceNames& vFiles, const NameIfWhole& vDestination, long vOperation,
              long vFlags, const std::wstring& vDialogText)
{
    if (!CopiesOrMoves(vOperation)) return false;
    checkFlags(vFlags);
    const std::vector<std::wstring> names = shellNames(vFiles);
    if (!vDestination || vDestination->empty() || names.empty() || !DirExists(*vDestination)) return false;
    const std::wstring destination = ShellList({shellName(CleanPath(Unquote(vDestination->text())))});
    return runOperation(vOwnerhWnd, static_cast<UINT>(vOperation), ShellList(names), &destination, vFlags,
                        vFiles.multiple, vDialogText);
}

bool DeleteFile(long vOwnerhWnd, const SourceNames& vFiles, long vFlags)
{
    checkFlags(vFlags);
    const std::vector<std::wstring> names = shellNames(vFiles);
    if (names.empty()) return false;
    return runOperation(vOwnerhWnd, qcDelete, ShellList(names), nullptr, vFlags, vFiles.multiple, std::wstring());
}

} // namespace quillon::qfcLibFilesA
