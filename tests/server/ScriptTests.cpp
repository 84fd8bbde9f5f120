// Real script clients: cscript runs the VBScript and JScript files next to
// this program against the registered server, and they print what they see.
#include <algorithm>

#include "TestSupport.h"

using namespace testing_support;

namespace {

std::string withoutCarriageReturns(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

struct ScriptCase {
    const wchar_t* file;
    const char* failingCall; // JScript's error object has no source
};

const char kBefore[] = "before: v0.0.0 000\n"
                       "omitted: 1132 1132\n"
                       "formatted: v1.1.32\n"
                       "negative: v-1.0.7\n";
const char kAfter[] = "missing method: 438\n"
                      "done\n";

} // namespace

TEST(ScriptClients, CreateByProgIdCallWithAndWithoutOptionalArgumentsAndReadErrors)
{
    const ScriptCase cases[] = {
        {L"core.vbs", "failing call: 80004001 | Not implemented | Quillon.qfcLibCore\n"},
        {L"core.js", "failing call: 80004001 | Not implemented\n"},
    };
    for (const ScriptCase& script : cases) {
        SCOPED_TRACE(script.failingCall);
        long exitCode = -1;
        std::string output =
            captureProcess(L"cscript.exe //nologo \"" + programFolder() + script.file + L"\"", &exitCode);
        EXPECT_EQ(0, exitCode);
        EXPECT_EQ(std::string(kBefore) + script.failingCall + kAfter, withoutCarriageReturns(output));
    }
}
