// The registry entries of a file association and of a run key, as plain values.
#pragma once

#include <string>

namespace quillon::associationrules {

// "*.txt", "txt" and ".txt" all give ".txt". Empty when nothing names an extension:
// empty input, a lone "." or "*", or a "\" that would reach into other keys.
std::wstring NormalisedExtension(const std::wstring& vExtension);

// ".abc" gives "ABCFile".
std::wstring TypeName(const std::wstring& extension);

struct FileAssociation {
    std::wstring extension;    // key under the classes root, its default value the type name
    std::wstring typeName;     // key, its default value the description
    std::wstring description;
    std::wstring command;      // default value of typeName\Shell\Open\Command
    std::wstring icon;         // default value of typeName\DefaultIcon
};

// extension: as NormalisedExtension gives it. appName stands in for an empty description.
FileAssociation AssociationValues(const std::wstring& extension, const std::wstring& vDescription,
                                  const std::wstring& vOpenWithExe, const std::wstring& vCommandLineParam,
                                  const std::wstring& vIconPath, short vIconIndex, const std::wstring& appName);

// The run key of a qcRegRunTypes value under the caller's root; empty outside 1 to 4.
std::wstring RunKeyPath(long vMode);

} // namespace quillon::associationrules
