#include "AssociationRules.h"

#include "files/FileNames.h"
#include "strings/StringRules.h"
#include "strings/TextCase.h"

namespace quillon::associationrules {
namespace {

std::wstring quotedProperCase(const std::wstring& path)
{
    return L"\"" + stringrules::ProperCase(path, stringrules::kProperCaseDelimiters) + L"\"";
}

std::wstring program(const std::wstring& exe)
{
    return qfcLibFilesA::IsLongFileName(exe) ? quotedProperCase(exe) : exe;
}

// The index follows a short path too: the shell reads "path,index" either way.
std::wstring icon(const std::wstring& path, short index)
{
    if (path.empty()) return path;
    const std::wstring at = L"," + std::to_wstring(index);
    return qfcLibFilesA::IsLongFileName(path) ? quotedProperCase(path) + at : path + at;
}

} // namespace

std::wstring NormalisedExtension(const std::wstring& vExtension)
{
    std::wstring extension = vExtension;
    if (!extension.empty() && extension.front() == L'*') extension.erase(0, 1);
    if (extension.empty() || extension.front() != L'.') extension.insert(0, 1, L'.');
    if (extension.size() < 2 || extension.find(L'\\') != std::wstring::npos) return std::wstring();
    return extension;
}

std::wstring TypeName(const std::wstring& extension)
{
    return textcase::Upper(extension.substr(1)) + L"File";
}

FileAssociation AssociationValues(const std::wstring& extension, const std::wstring& vDescription,
                                  const std::wstring& vOpenWithExe, const std::wstring& vCommandLineParam,
                                  const std::wstring& vIconPath, short vIconIndex, const std::wstring& appName)
{
    FileAssociation values;
    values.extension = extension;
    values.typeName = TypeName(extension);
    values.description = vDescription.empty() ? appName + L" File" : vDescription;
    values.command = program(vOpenWithExe) + L" " + vCommandLineParam;
    values.icon = icon(vIconPath.empty() ? vOpenWithExe : vIconPath, vIconIndex);
    return values;
}

std::wstring RunKeyPath(long vMode)
{
    static const wchar_t* const keys[] = {L"Run", L"RunOnce", L"RunServices", L"RunServicesOnce"};
    if (vMode < 1 || vMode > 4) return std::wstring();
    return std::wstring(L"Software\\Microsoft\\Windows\\CurrentVersion\\") + keys[vMode - 1];
}

} // namespace quillon::associationrules
