// The text side of the file services: path pieces, 8.3 tests, extension
// matching, shell list building and the dialog settings. Values in, values
// out, no Windows headers, so every rule can be checked from a table.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quillon::qfcLibFilesA {

// ---- path pieces -----------------------------------------------------------

// A surrounding pair of double quotes goes, then leading and trailing blanks (blanks only, tabs stay).
std::wstring CleanPath(const std::wstring& path);
// Only the surrounding pair of double quotes goes.
std::wstring Unquote(const std::wstring& path);
// The separator is appended when the text does not end with it; an empty text stays empty.
std::wstring WithTrailing(const std::wstring& text, wchar_t separator);

std::wstring AddDirSep(const std::wstring& vPath);
std::wstring AddURLSep(const std::wstring& vPathName);
// Up to and including the last "\"; a text without one comes back cleaned but otherwise unchanged.
std::wstring GetFilePath(const std::wstring& vFile);
// After the last "\"; without vWithExt, cut before the last ".".
std::wstring GetFileTitle(const std::wstring& vFile, bool vWithExt);
// After the last "." anywhere in the text (folders included); without a "." the cleaned text.
std::wstring GetFileExt(const std::wstring& vFile);

// A blank anywhere, or a piece between "\" longer than 12 characters (with a ".") or 8 (without).
bool IsLongFileName(const std::wstring& vFile);
// No blank and every piece within those limits.
bool IsShortFileName(const std::wstring& vFileName);

// The folders MakePath makes, outermost first: every prefix before a "\" past the drive part.
std::vector<std::wstring> FoldersToMake(const std::wstring& vDirName);

// ---- listings --------------------------------------------------------------

constexpr unsigned long kAttrHidden = 0x2;
constexpr unsigned long kAttrSystem = 0x4;
constexpr unsigned long kAttrDirectory = 0x10;
constexpr unsigned long kFilesMask = 39;            // read-only, hidden, system, archive: no folders
constexpr unsigned long kFilesAndFoldersMask = 16;  // folders and plain files: no hidden or system entries

// Whether a listing with an attribute mask shows an entry: hidden, system and folder entries only when asked for.
bool IsListed(unsigned long attributes, unsigned long mask);
// Whether a search goes into a listed entry: folders, but not junctions or
// symbolic links (reparse points, 0x400), which can lead back up the tree.
bool IsFolderToEnter(unsigned long attributes);
// "." and ".." (and an empty name) are never results.
bool IsDotEntry(const wchar_t* name);

// The extension FileExtSearch compares: everything up to and including the first "." goes.
std::wstring SearchExtension(const std::wstring& vFileExt);
// Whether the name's last characters equal the upper-cased extension, ignoring case; there is no dot check.
bool EndsWithExtension(const wchar_t* name, std::size_t nameLength, const std::wstring& upperExtension,
                       wchar_t (*upper)(wchar_t));

// ---- shell file operations -------------------------------------------------

// The names of a copy, move or delete and whether they came as a list (which adds qcMultiFiles).
// Empty and blank names are dropped: in the shell's list an empty name ends the list early, and a blank
// one would stand for the current folder.
struct SourceNames {
    std::vector<std::wstring> names;
    bool multiple = false;
};
SourceNames NamesFromArray(const std::vector<std::wstring>& elements);
// A text holding vParseChar is split at every occurrence (an empty vParseChar keeps the text whole but still
// counts as a list); otherwise it is one name.
SourceNames NamesFromText(const std::wstring& vFiles, const std::wstring& vParseChar);
// Each name followed by one NUL, then one more NUL.
std::wstring ShellList(const std::vector<std::wstring>& names);
// The shell's flags field holds 16 bits; nothing wider is ever cut down to fit.
bool FitsShellFlags(long flags);

// ---- folder browser and file dialogs ---------------------------------------

// qcFolders, qcComputers, qcPrinters to the browser's flags; anything else to none.
unsigned int BrowseFlags(long vFlags);

// A leading "*", then a leading ".", go.
std::wstring DialogExtension(const std::wstring& vDefExtension);
std::wstring InitialFolder(const std::wstring& vInitDirectory, const std::wstring& appPath);
std::wstring DialogFilter(const std::wstring& appTitle, const std::wstring& extension,
                          const std::wstring& vExtraFilters);
std::wstring DialogTitle(const std::wstring& vDialogTitle, const std::wstring& appTitle, bool save);
constexpr long kOpenDialogFlags = 0x281010;  // long names, explorer, file must exist, help button
constexpr long kSaveDialogFlags = 0x82002;   // explorer, create prompt, overwrite prompt
// The dialog's answer: nothing when cancelled, when the pattern itself came back, or without a file title.
std::wstring DialogAnswer(const std::wstring& fileName, const std::wstring& fileTitle, bool cancelled);

} // namespace quillon::qfcLibFilesA
