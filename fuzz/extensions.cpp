// Extension matching of the file search and the extension rules of file types and dialogs.
#include "FuzzInput.h"
#include "files/FileNames.h"
#include "registry/AssociationRules.h"
#include "strings/TextCase.h"

using namespace quillon;
using namespace fuzzinput;

namespace {

wchar_t upper(wchar_t c) { return textcase::Upper(std::wstring(1, c))[0]; }

bool ends(const std::wstring& name, const std::wstring& upperExtension)
{
    return qfcLibFilesA::EndsWithExtension(name.c_str(), name.size(), upperExtension, upper);
}

} // namespace

FUZZ_TARGET(texts)
{
    const std::wstring asked = texts[0], name = texts[1];
    const std::wstring extension = textcase::Upper(qfcLibFilesA::SearchExtension(asked));
    FUZZ_CHECK(extension.size() <= asked.size());
    // A name ending in the extension, in any letter case, matches; a shorter name never does.
    FUZZ_CHECK(ends(name + extension, extension) && ends(name + textcase::Lower(extension), extension));
    if (!extension.empty()) FUZZ_CHECK(!ends(extension.substr(1), extension));
    if (ends(name, extension)) FUZZ_CHECK(name.size() >= extension.size());

    // A file type's extension is one key name: a dot and something, no separator.
    const std::wstring type = associationrules::NormalisedExtension(asked);
    if (!type.empty()) {
        FUZZ_CHECK(type.size() >= 2 && type[0] == L'.' && type.find(L'\\') == std::wstring::npos);
        FUZZ_CHECK(associationrules::NormalisedExtension(type) == type);
        FUZZ_CHECK(endsWith(associationrules::TypeName(type), L"File"));
    }
    const std::wstring dialog = qfcLibFilesA::DialogExtension(asked);
    FUZZ_CHECK(endsWith(asked, dialog) && asked.size() - dialog.size() <= 2);
}
