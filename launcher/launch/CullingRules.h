// The decisions of the logo and taunt culling, apart from the files they act
// on (no Windows calls, so they are table-tested directly).
#pragma once

#include <string>
#include <vector>

namespace vantorel::culling {

// One culling run's constants: its settings, its folder below the game folder,
// the size the folder must exceed and the patterns it removes, in order.
struct Kind {
    const wchar_t* switchValue;
    const wchar_t* keepValue;
    const wchar_t* folder;
    double threshold;
    std::vector<const wchar_t*> patterns;
};

const Kind& taunts();
const Kind& logos();

// The folder is culled only when what lies directly in it is larger than the threshold.
bool exceedsThreshold(double folderSize, const Kind& kind);

// The keep-list text split at every "|", empty pieces included.
std::vector<std::wstring> splitKeepList(const std::wstring& keepList);

// A name that stays inside its folder: not empty, not "." or "..", without
// "\", "/", ":", wildcards or NUL.
bool isBareFileName(const std::wstring& name);

struct KeepPlan {
    std::vector<std::wstring> kept;    // bare names, in list order, each once
    std::vector<std::wstring> refused; // names that would reach outside the folder
};

// Which names of a keep list are kept; empty pieces name nothing and are dropped.
KeepPlan planKeeps(const std::wstring& keepList);

// The kept files wait in a sub-folder of the culling folder that no pattern of
// either run matches, under their own names. It is first filled under the
// staging name and renamed once complete, so a backup folder found at start-up
// always holds whole copies.
constexpr wchar_t kBackupFolder[] = L"~Vantorel kept";
constexpr wchar_t kStagingFolder[] = L"~Vantorel kept.new";

// The shell's flags for the pattern deletes: no recursion (0x1000), since the
// shell would otherwise apply a pattern to sub-folders too, where the kept files
// wait under their own names; the user is still asked.
constexpr long kPatternDeleteFlags = 0x1000;

// folder + name with exactly one backslash between them.
std::wstring joinPath(const std::wstring& folder, const std::wstring& name);

} // namespace vantorel::culling
