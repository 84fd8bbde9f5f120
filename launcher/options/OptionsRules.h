// The decisions of the options dialog, as functions of the texts they are made
// from (no Windows calls, so they are table-tested directly).
#pragma once

#include <string>
#include <vector>

namespace vantorel::options {

// The check-box state a stored switch shows: a number (0 clear, anything else
// ticked) or "True"/"False"; any other text shows the switch's default.
bool switchShows(const std::wstring& stored, bool defaultState);

// A keep list as stored: the entries joined by "|". An empty list stores "",
// which the culling reads as "nothing to keep" rather than leaving an old list.
std::wstring joinKeepList(const std::vector<std::wstring>& entries);

// The parameters after a double-click on a catalogue option: the option, one
// blank, the earlier text.
std::wstring prependOption(const std::wstring& option, const std::wstring& parameters);

// A chosen game executable is taken when its file name (not a folder of its
// path) is main.exe in any letter case.
bool isGameExecutable(const std::wstring& path);

// Where the file dialog of a keep list starts: the stored game folder (ending
// in "\") followed by the list's own folder, or "c:\" without a game folder.
std::wstring keepListFolder(const std::wstring& gameFolder, const std::wstring& customFolder);

// The about screen's look, 1 to 5, for a draw in [0, 1): draw * 4 + 1 rounded
// to the nearest whole number, halves to the even neighbour.
short aboutLook(double draw);

} // namespace vantorel::options
