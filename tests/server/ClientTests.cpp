// Clients of the server frame: failures seen by C++ callers, and real script clients.
#include <algorithm>
#include <stdexcept>

#include "TestSupport.h"
#include "server/DispatchObject.h"

using namespace testing_support;

namespace {

// A class over an existing interface whose routines fail the ways real routines can.
class Failing final : public quillon::DispatchObject<Failing, _qfcLibCore> {
public:
    static constexpr const wchar_t* kName = L"qfcLibFailing";
    static const IID& iid() { return IID__qfcLibCore; }
    STDMETHODIMP ShowRunOnceDialog(BSTR, BSTR, BSTR, BSTR, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHODIMP GetAppVersion(VARIANT_BOOL, BSTR* out) override
    { return call(out, []() -> std::wstring { throw std::runtime_error("not an automation error"); }); }
    STDMETHODIMP InitCore(BSTR, BSTR, BSTR, short, short, short) override
    { return call([] { throw quillon::RuntimeError(quillon::kInvalidArgument); }); }
};

// Lends the real Quillon.dll's type information to the test class.
struct ModuleScope {
    explicit ModuleScope(HMODULE dll) { quillon::server::setModule(dll); }
    ~ModuleScope() { quillon::server::releaseTypeLibrary(); quillon::server::setModule(nullptr); }
};

} // namespace

// An automation error is 0x800A0000 + its number (through IDispatch: the script clients below); anything else
// thrown is a plain failure.
TEST(ErrorPath, FailuresReachVtableAndDispatchClients)
{
    raii::ComScope com;
    raii::UniqueModule dll(LoadLibraryW((programFolder() + L"Quillon.dll").c_str()));
    ModuleScope scope(dll.get());
    raii::ComPtr<_qfcLibCore> failing;
    ASSERT_EQ(S_OK, Failing::create(IID__qfcLibCore, failing.putVoid()));
    EXPECT_EQ(HRESULT(0x800A0005), failing->InitCore(nullptr, nullptr, nullptr, 1, 1, 32));
    BSTR out = const_cast<BSTR>(L"not the server's to free"); // an [out] value is never read
    EXPECT_TRUE(FAILED(failing->GetAppVersion(VARIANT_FALSE, &out)));
    EXPECT_EQ(nullptr, out) << "a failed call hands back no result";

}

// cscript runs the script files next to this program: create by ProgID, InitCore, GetAppVersion with and
// without its optional argument, read a failing call's error; the same mistakes made on the system's own
// FileSystemObject and on Quillon give the same numbers and the engine's own texts (printed once when equal);
// JScript names registry roots by numbers above the 32-bit range.
TEST(ScriptClients, CallWithAndWithoutOptionalArgumentsAndReadErrors)
{
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"core.vbs", "1132 1132 v1.1.32\n"
                      "5 | Invalid procedure call or argument: a name holds a NUL character | Quillon.qfcLibFiles\n"
                      "unknown member: 438 Object doesn't support this property or method\n"
                      "missing argument: 450 Wrong number of arguments or invalid property assignment\n"
                      "extra argument: 450 Wrong number of arguments or invalid property assignment\n"
                      "wrong type: 13 Type mismatch\n"
                      "Set: -2147467259 \n" // this engine's own answer to Set with a text
                      "For Each: 438 Object doesn't support this property or method\n"},
        {L"core.js", "1132 1132 v1.1.32\n800A0005 | Invalid procedure call or argument: a name holds a NUL character\n"
                     "true current user true\n8002000A\n"}, // JScript's errors have no source
    };
    for (const auto& [file, expected] : cases) {
        long exitCode = -1;
        std::string output = captureProcess(L"cscript.exe //nologo \"" + programFolder() + file + L"\"", &exitCode);
        output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
        EXPECT_EQ(0, exitCode) << expected;
        EXPECT_EQ(expected, output);
    }
}
