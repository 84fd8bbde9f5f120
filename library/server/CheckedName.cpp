#include "CheckedName.h"

#include "RuntimeError.h"
#include "SystemLimits.h"

namespace quillon {
namespace {

std::size_t longestOf(NameKind kind)
{
    switch (kind) {
    case NameKind::Path: return syslimits::kMaxPath;
    case NameKind::CommandLine: return syslimits::kMaxCommandLine;
    case NameKind::Name: break;
    }
    return std::wstring().max_size();
}

} // namespace

std::wstring withoutTrailingNuls(std::wstring text)
{
    text.erase(text.find_last_not_of(L'\0') + 1);  // all NULs: npos + 1 == 0
    return text;
}

std::optional<CheckedName> wholeName(std::wstring text, NameKind kind)
{
    text = withoutTrailingNuls(std::move(text));
    if (text.find(L'\0') != std::wstring::npos || text.size() > longestOf(kind)) return std::nullopt;
    return CheckedName(std::move(text));
}

CheckedName checkedName(std::wstring text, NameKind kind)
{
    if (std::optional<CheckedName> name = wholeName(text, kind)) return std::move(*name);
    // The registry, the file system and the shell's lists would read only the part before a NUL.
    const bool holdsNul = withoutTrailingNuls(std::move(text)).find(L'\0') != std::wstring::npos;
    throw RuntimeError(kInvalidArgument, describeError(kInvalidArgument) +
                                             (holdsNul ? L": a name holds a NUL character"
                                                       : L": a name is longer than the system accepts"));
}

} // namespace quillon
