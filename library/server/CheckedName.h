// A text that may be handed to the system as a name: a registry key path or
// value name, a file or folder name, a pattern, a shell list or a command line.
// Only checkedName() makes one, so a routine that takes a CheckedName cannot be
// given a text that stops early at a NUL or that the system cannot take.
#pragma once

#include <optional>
#include <string>

namespace quillon {

enum class NameKind {
    Name,         // registry names: the registry answers an over-long one itself
    Path,         // file-system names, at most syslimits::kMaxPath characters
    CommandLine,  // what the process and shell functions take, at most syslimits::kMaxCommandLine
};

class CheckedName {
public:
    CheckedName() = default;  // the empty text names nothing and holds no NUL
    const std::wstring& text() const noexcept { return text_; }
    const wchar_t* c_str() const noexcept { return text_.c_str(); }
    bool empty() const noexcept { return text_.empty(); }

private:
    explicit CheckedName(std::wstring text) : text_(std::move(text)) {}
    friend std::optional<CheckedName> wholeName(std::wstring text, NameKind kind);
    std::wstring text_;
};

// Fixed-length buffers of other programs end in NULs: they are no part of a name.
std::wstring withoutTrailingNuls(std::wstring text);

// Trailing NULs go; none when a NUL is left or the text is longer than its kind allows.
std::optional<CheckedName> wholeName(std::wstring text, NameKind kind);

// The same, refused with error 5 (RuntimeError) instead.
CheckedName checkedName(std::wstring text, NameKind kind = NameKind::Name);

// A name, or none where the marshalling refused it for a method that answers with its own result.
using NameIfWhole = std::optional<CheckedName>;

} // namespace quillon
