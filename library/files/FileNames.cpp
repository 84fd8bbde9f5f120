#include "FileNames.h"

#include "Quillon_enums.h"

#include "strings/StringRules.h"

namespace quillon::qfcLibFilesA {
namespace {

constexpr wchar_t kDirSep = L'\\';

std::size_t shortLimit(const std::wstring& piece)
{
    return piece.find(L'.') == std::wstring::npos ? 8 : 12;
}

// Whether some piece between "\" is longer than its 8.3 limit.
bool hasLongPiece(const std::wstring& path)
{
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(kDirSep, start);
        const std::wstring piece = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (piece.size() > shortLimit(piece)) return true;
        if (end == std::wstring::npos) return false;
        start = end + 1;
    }
}

bool isBlank(const std::wstring& name)
{
    return name.find_first_not_of(L" \t") == std::wstring::npos;
}

void addName(SourceNames& result, const std::wstring& name)
{
    if (!isBlank(name)) result.names.push_back(name);
}

} // namespace

std::wstring Unquote(const std::wstring& path)
{
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') return path.substr(1, path.size() - 2);
    return path;
}

std::wstring CleanPath(const std::wstring& path) { return stringrules::TrimBlanks(Unquote(path)); }

std::wstring WithTrailing(const std::wstring& text, wchar_t separator)
{
    if (text.empty() || text.back() == separator) return text;
    return text + separator;
}

namespace {

// A value that cleans down to nothing still gets its separator, as it always has.
std::wstring addSeparator(const std::wstring& path, wchar_t separator)
{
    if (path.empty()) return path;
    const std::wstring text = CleanPath(path);
    return text.empty() ? std::wstring(1, separator) : WithTrailing(text, separator);
}

} // namespace

std::wstring AddDirSep(const std::wstring& vPath) { return addSeparator(vPath, kDirSep); }

std::wstring AddURLSep(const std::wstring& vPathName) { return addSeparator(vPathName, L'/'); }

std::wstring GetFilePath(const std::wstring& vFile)
{
    const std::wstring text = CleanPath(vFile);
    const std::size_t last = text.rfind(kDirSep);
    return last == std::wstring::npos ? text : text.substr(0, last + 1);
}

std::wstring GetFileTitle(const std::wstring& vFile, bool vWithExt)
{
    std::wstring text = CleanPath(vFile);
    const std::size_t last = text.rfind(kDirSep);
    if (last != std::wstring::npos) text.erase(0, last + 1);
    if (!vWithExt) {
        const std::size_t dot = text.rfind(L'.');
        if (dot != std::wstring::npos) text.erase(dot);
    }
    return text;
}

std::wstring GetFileExt(const std::wstring& vFile)
{
    const std::wstring text = CleanPath(vFile);
    const std::size_t dot = text.rfind(L'.');
    return dot == std::wstring::npos ? text : text.substr(dot + 1);
}

bool IsLongFileName(const std::wstring& vFile)
{
    if (vFile.empty()) return false;
    return vFile.find(L' ') != std::wstring::npos || hasLongPiece(vFile);
}

bool IsShortFileName(const std::wstring& vFileName)
{
    if (vFileName.empty() || vFileName.find(L' ') != std::wstring::npos) return false;
    return !hasLongPiece(vFileName);
}

std::vector<std::wstring> FoldersToMake(const std::wstring& vDirName)
{
    std::wstring text = stringrules::TrimBlanks(vDirName);
    text = text.empty() ? std::wstring(1, kDirSep) : WithTrailing(text, kDirSep);

    std::vector<std::wstring> folders;
    std::size_t at = text.size() > 1 && text[1] == L':' ? 3 : 0;
    for (std::size_t sep = text.find(kDirSep, at); sep != std::wstring::npos; sep = text.find(kDirSep, sep + 1)) {
        if (sep > 0) folders.push_back(text.substr(0, sep));
    }
    return folders;
}

bool IsListed(unsigned long attributes, unsigned long mask)
{
    const unsigned long selective = kAttrHidden | kAttrSystem | kAttrDirectory;
    return (attributes & selective & ~mask) == 0;
}

bool IsFolderToEnter(unsigned long attributes)
{
    constexpr unsigned long kAttrReparsePoint = 0x400;
    return (attributes & (kAttrDirectory | kAttrReparsePoint)) == kAttrDirectory;
}

bool IsDotEntry(const wchar_t* name)
{
    return name[0] == 0 || (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)));
}

std::wstring SearchExtension(const std::wstring& vFileExt)
{
    const std::size_t dot = vFileExt.find(L'.');
    return dot == std::wstring::npos ? vFileExt : vFileExt.substr(dot + 1);
}

bool EndsWithExtension(const wchar_t* name, std::size_t nameLength, const std::wstring& upperExtension,
                       wchar_t (*upper)(wchar_t))
{
    const std::size_t k = upperExtension.size();
    if (k > nameLength) return false;
    const wchar_t* tail = name + (nameLength - k);
    for (std::size_t i = 0; i < k; ++i) {
        if (tail[i] != upperExtension[i] && upper(tail[i]) != upperExtension[i]) return false;
    }
    return true;
}

SourceNames NamesFromArray(const std::vector<std::wstring>& elements)
{
    SourceNames result;
    result.multiple = true;
    for (const std::wstring& element : elements) addName(result, element);
    return result;
}

SourceNames NamesFromText(const std::wstring& vFiles, const std::wstring& vParseChar)
{
    SourceNames result;
    // An empty separator is "found" in any non-empty text, and the whole text is then the one piece.
    const bool isList = !vFiles.empty() && (vParseChar.empty() || vFiles.find(vParseChar) != std::wstring::npos);
    if (!isList || vParseChar.empty()) {
        addName(result, vFiles);
        result.multiple = isList;
        return result;
    }
    result.multiple = true;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = vFiles.find(vParseChar, start);
        addName(result, vFiles.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos) return result;
        start = end + vParseChar.size();
    }
}

std::wstring ShellList(const std::vector<std::wstring>& names)
{
    std::wstring list;
    for (const std::wstring& name : names) {
        list += name;
        list += L'\0';
    }
    list += L'\0';
    return list;
}

bool FitsShellFlags(long flags) { return flags >= 0 && flags <= 0xFFFF; }

unsigned int BrowseFlags(long vFlags)
{
    switch (vFlags) {
    case typelib::qcFolders: return 0x0001;  // file-system folders only
    case typelib::qcComputers: return 0x1000;
    case typelib::qcPrinters: return 0x2000;
    default: return 0;
    }
}

std::wstring DialogExtension(const std::wstring& vDefExtension)
{
    std::wstring extension = vDefExtension;
    if (!extension.empty() && extension.front() == L'*') extension.erase(0, 1);
    if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);
    return extension;
}

std::wstring InitialFolder(const std::wstring& vInitDirectory, const std::wstring& appPath)
{
    const std::wstring& folder = vInitDirectory.empty() ? appPath : vInitDirectory;
    return folder.empty() ? std::wstring(1, kDirSep) : WithTrailing(folder, kDirSep);
}

std::wstring DialogFilter(const std::wstring& appTitle, const std::wstring& extension,
                          const std::wstring& vExtraFilters)
{
    return appTitle + L" Files|*." + extension + vExtraFilters + L"|All Files (*.*)|*.*";
}

std::wstring DialogTitle(const std::wstring& vDialogTitle, const std::wstring& appTitle, bool save)
{
    if (!vDialogTitle.empty()) return vDialogTitle;
    return (save ? L"Save " : L"Open ") + appTitle + L" File";
}

std::wstring DialogAnswer(const std::wstring& fileName, const std::wstring& fileTitle, bool cancelled)
{
    if (cancelled || fileName.find(L'*') != std::wstring::npos || fileTitle.empty()) return std::wstring();
    return fileName;
}

} // namespace quillon::qfcLibFilesA
