// The names of a copy, move or delete and the shell's list built from them.
#include "FuzzInput.h"
#include "files/FileNames.h"

using namespace quillon::qfcLibFilesA;
using namespace fuzzinput;

namespace {

// The names the shell reads from a list: up to the first empty one.
std::vector<std::wstring> namesInList(const std::wstring& list)
{
    std::vector<std::wstring> names;
    for (std::size_t at = 0; at < list.size() && list[at] != L'\0';) {
        const std::size_t end = list.find(L'\0', at);
        names.push_back(list.substr(at, end - at));
        at = end + 1;
    }
    return names;
}

bool holdsNul(const std::wstring& text) { return text.find(L'\0') != std::wstring::npos; }

// The shell reads exactly the names it was given; names with a NUL never reach it (refused where they are converted).
void checkList(const SourceNames& sources, std::size_t pieces)
{
    FUZZ_CHECK(sources.names.size() <= pieces);
    for (const std::wstring& name : sources.names) {
        FUZZ_CHECK(name.find_first_not_of(L" \t") != std::wstring::npos);
        if (holdsNul(name)) return;
    }
    const std::wstring list = ShellList(sources.names);
    FUZZ_CHECK(endsWith(list, std::wstring(sources.names.empty() ? 1 : 2, L'\0')));
    FUZZ_CHECK(namesInList(list) == sources.names);
}

} // namespace

FUZZ_TARGET(texts)
{
    const std::wstring files = texts[0], separator = texts[1];
    const SourceNames fromText = NamesFromText(files, separator);
    const std::size_t pieces = separator.empty() ? 1 : count(files, separator) + 1;
    checkList(fromText, pieces);
    if (!separator.empty())
        for (const std::wstring& name : fromText.names) FUZZ_CHECK(name.find(separator) == std::wstring::npos);
    FUZZ_CHECK(fromText.multiple == (!files.empty() && (separator.empty() || files.find(separator) != std::wstring::npos)));

    const std::vector<std::wstring> elements(texts.items.begin() + (texts.items.size() > 2 ? 2 : texts.items.size()),
                                             texts.items.end());
    const SourceNames fromArray = NamesFromArray(elements);
    FUZZ_CHECK(fromArray.multiple);
    checkList(fromArray, elements.size());
    FUZZ_CHECK(FitsShellFlags(static_cast<long>(texts.number(0))));
}
