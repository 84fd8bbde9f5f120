// The welcome dialog's text: file bytes to text, and text to lines each ended
// by CR LF. No window in sight, so both are checked from tables.
#pragma once

#include <string>

namespace quillon::runonce {

// UTF-8 (with or without a byte-order mark), UTF-16 with a byte-order mark
// (either byte order), else the ANSI code page.
std::wstring decodeText(const std::string& bytes);

// The most of a file the dialog reads (256 KB, some sixty pages): filling the
// text box with a megabyte held the window back by more than two seconds.
constexpr size_t kMaxFileBytes = 256 * 1024;
// The line shown after a text that was cut there.
constexpr wchar_t kCutNote[] = L"[The file continues: only its first 256 KB are shown here.]";

// Bytes cut at a count, shortened to whole characters of decodeText's encoding
// (no half UTF-16 unit or surrogate pair, no partial UTF-8 sequence).
std::string wholeCharacters(const std::string& bytes);

// Every line of the text followed by CR LF; a line ends at CR LF, LF or CR.
// A break at the very end starts no further line; an empty text is one empty line.
std::wstring withLineBreaks(const std::wstring& text);

// The heading and caption with the application title put for their placeholders,
// which count only as whole, exact values.
std::wstring heading(const std::wstring& text, const std::wstring& appTitle);
std::wstring caption(const std::wstring& text, const std::wstring& appTitle);

// Sizes below 2000 twips take the designed size.
long usableWidth(long width);
long usableHeight(long height);

} // namespace quillon::runonce
