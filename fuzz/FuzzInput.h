// What every fuzz target reads: the input as 16-bit little-endian units (the
// width of a text unit on Windows, so a native wchar_t never holds more),
// cut into texts at U+FFFF, a unit no text of the product holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzzinput {

struct Texts {
    std::vector<std::wstring> items;
    // The i-th text, empty when the input has fewer.
    std::wstring operator[](std::size_t i) const { return i < items.size() ? items[i] : std::wstring(); }
    // The i-th text's first unit as a number (0 without one).
    unsigned number(std::size_t i) const { return i < items.size() && !items[i].empty() ? items[i][0] : 0; }
};

inline Texts read(const std::uint8_t* data, std::size_t size)
{
    Texts texts;
    texts.items.emplace_back();
    for (std::size_t at = 0; at + 1 < size; at += 2) {
        const wchar_t unit = static_cast<wchar_t>(data[at] | (data[at + 1] << 8));
        if (unit == 0xFFFF)
            texts.items.emplace_back();
        else
            texts.items.back() += unit;
    }
    return texts;
}

inline std::size_t count(const std::wstring& text, const std::wstring& piece)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(piece); !piece.empty() && at != std::wstring::npos; at = text.find(piece, at + 1))
        ++n;
    return n;
}

inline bool startsWith(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }

inline bool endsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace fuzzinput

// A target's entry point: the body that follows runs for each input, read into `texts` as above.
#define FUZZ_TARGET(texts)                                                                   \
    static void fuzzOne(const fuzzinput::Texts& texts);                                      \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)       \
    {                                                                                        \
        fuzzOne(fuzzinput::read(data, size));                                                \
        return 0;                                                                            \
    }                                                                                        \
    static void fuzzOne(const fuzzinput::Texts& texts)

// A broken invariant is a crash the fuzzer keeps, with the rule that broke.
#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "broken invariant: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)
