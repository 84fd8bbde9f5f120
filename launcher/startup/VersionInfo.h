// The running program's own version resource.
#pragma once

#include <windows.h>
#include <string>

namespace vantorel {

struct ProgramVersion {
    short major = 0;
    short minor = 0;
    short revision = 0;
    std::wstring fileDescription;  // "" when the resource has none
};

// Major and minor from the first file-version word, the revision from the third field.
ProgramVersion versionFromFixed(const VS_FIXEDFILEINFO& fixed);

// The full path of the running program.
std::wstring runningProgramPath();

// The version resource of the given module file; zeros and "" when it has none.
ProgramVersion readProgramVersion(const std::wstring& modulePath);

} // namespace vantorel
