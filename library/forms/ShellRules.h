// The value rules behind qfcLibWindows, apart from any Windows call: shell
// verbs, control-panel applet command lines and the shell's error texts.
#pragma once

#include <string>

namespace quillon::ShellRules {

// The verb of a qcShowActions value; nullptr (the shell's default action) for any other value.
const wchar_t* ShellVerb(long vShowAction);

// The applet text of a qcCPApplets value; nullptr outside 0..23.
const wchar_t* AppletText(long vAppIndex);

// The command line that opens an applet with `runner` (the full path of rundll32.exe, quoted here). An
// index outside the table keeps `previousApplet` (the text of the previous call on the same thread); an
// index inside it replaces `previousApplet`.
std::wstring AppletCommandLine(const std::wstring& runner, long vAppIndex, std::wstring& previousApplet);

// The description of a shell-execution result of 32 or less ("Unknown Error." for codes without one).
const wchar_t* ShellErrorDescription(long code);

extern const wchar_t kShellErrorTitle[];

// The text of the message box that reports a failed shell execution.
std::wstring ShellErrorMessage(long code);

// Leading and trailing spaces removed (spaces only, as the callers' documents expect).
std::wstring TrimSpaces(const std::wstring& text);

} // namespace quillon::ShellRules
