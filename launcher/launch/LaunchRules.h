// The decisions of the game launch, as functions of the texts and numbers they
// are made from (no Windows calls, so they are table-tested directly).
#pragma once

#include <optional>
#include <string>

namespace vantorel::launch {

// A stored switch: a number (0 false, anything else true) or "True"/"False" in
// any letter case, blanks around it ignored; nullopt for any other text, which
// the caller reads as the switch's default.
std::optional<bool> readBooleanText(const std::wstring& text);

// The game parameters with " -launched" appended unless "launched" already
// occurs in them (case-sensitive).
std::wstring withLaunchMarker(const std::wstring& parameters);

// The path with every "/" written as a backslash, which Windows takes for the same
// path and the folder and drive rules need.
std::wstring withBackslashes(const std::wstring& path);

// "C:" for a path that starts with a drive letter and a colon, "" otherwise
// (a network path has no drive to change to).
std::wstring driveOf(const std::wstring& exePath);

// Index of the chosen pilot among count files for a draw r in [0, 1); a draw
// of 1 or more (or one that rounds up to 1) names the last file. count must be at least 1.
int pilotIndex(double r, int count);

// A uniform draw in [0, 1) from a generator seeded with the given number
// (the launcher seeds it with the time of day).
double drawUniform(unsigned long seed);

// The game's command line: the executable path (quoted when it holds a blank,
// so Windows cannot start a shorter path first), " -pilot " and the pilot's
// name (quoted when it holds a blank) when a pilot is passed, one blank, the
// parameters.
std::wstring gameCommandLine(const std::wstring& exePath, const std::optional<std::wstring>& pilotName,
                             const std::wstring& parameters);

// Whether the system can start a command line of this length.
bool fitsCommandLine(const std::wstring& commandLine);

// What the player reads when the game cannot be started, and what to do.
std::wstring gameNotFoundText(const std::wstring& exePath);
std::wstring commandLineTooLongText(size_t length);
std::wstring gameNotStartedText(const std::wstring& exePath, const std::wstring& reason);

} // namespace vantorel::launch
