// The catalogue of the game's command-line options on the options dialog's
// first tab: the option texts in list order and their descriptions at the same
// index. Plain data, so it is checked without a window.
#pragma once

#include <cstddef>

namespace vantorel::catalogue {

struct Option {
    const wchar_t* text;        // as the user puts it into the parameters, placeholder included
    const wchar_t* description;
};

constexpr size_t kOptionCount = 35;
extern const Option kOptions[kOptionCount];

} // namespace vantorel::catalogue
