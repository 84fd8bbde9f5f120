// Clients of the server frame: failures seen by C++ callers, and real script clients.
#include <algorithm>
#include <stdexcept>

#include "ScratchFolder.h"
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

// An automation error is 0x800A0000 + its number, through IDispatch (built from the error
// info) with its description and source; anything else thrown is a plain failure.
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

    raii::ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, failing.as(dispatch, IID_IDispatch));
    latebound::Args identity;
    identity.text(L"V").text(L"V").text(L"C:\\").i2(1).i2(1).i2(32);
    latebound::Result init = latebound::call(dispatch.get(), L"InitCore", identity);
    EXPECT_EQ(DISP_E_EXCEPTION, init.hr);
    EXPECT_EQ(HRESULT(0x800A0005), init.scode);
    EXPECT_EQ(L"Quillon.qfcLibFailing: Invalid procedure call or argument", init.source + L": " + init.description);
}

// cscript runs the script files next to this program: create by ProgID, InitCore, GetAppVersion with and
// without its optional argument, read a failing call's error; the same mistakes made on the system's own
// FileSystemObject and on Quillon give the same numbers and the engine's own texts (printed once when equal);
// JScript names registry roots by numbers above the 32-bit range.
TEST(ScriptClients, CallWithAndWithoutOptionalArgumentsAndReadErrors)
{
    const std::pair<const wchar_t*, const char*> cases[] = {
        {L"core.vbs", "1132 1132 v1.1.32\n5 | Invalid procedure call or argument: a name holds a NUL character | Quillon.qfcLibFiles\n"
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

// Texts from other programs' fixed-length buffers end in NULs: a name with one or several works as without
// them (a registry key and value, a file, a shell command, a network drive).
TEST(NamesFromBuffers, TrailingNulsAreDropped)
{
    raii::ComScope com;
    ScratchCurrentUser user(L"TrailingNuls");
    files_testing::ScratchFolder scratch(L"TrailingNuls");
    const std::wstring file = scratch.file(L"a.txt");
    auto registry = create<_qfcLibRegistry>(CLSID_qfcLibRegistry, IID__qfcLibRegistry);
    auto files = create<_qfcLibFiles>(CLSID_qfcLibFiles, IID__qfcLibFiles);
    auto windows = create<_qfcLibWindows>(CLSID_qfcLibWindows, IID__qfcLibWindows);
    auto network = create<_qfcLibNetwork>(CLSID_qfcLibNetwork, IID__qfcLibNetwork);
    ASSERT_TRUE(registry && files && windows && network);
    const auto text = [](const std::wstring& name, const std::wstring& tail) { return bstr(name + tail); };
    const std::wstring share = L"\\\\quillon-nohost\\noshare";
    const auto mapped = [&](const std::wstring& path, const std::wstring& drive) {
        LONG code = 0;
        VARIANT_BOOL permanent = VARIANT_FALSE;
        EXPECT_EQ(S_OK, network->MapNetDrive(bstr(path).get(), bstr(drive).get(), bstr(L"").get(), bstr(L"").get(), 0,
                                             &permanent, &code));
        return code;
    };
    const LONG plainDrive = mapped(share, L"Q:");
    EXPECT_NE(ERROR_INVALID_PARAMETER, plainDrive);
    for (const std::wstring& tail : {std::wstring(1, L'\0'), std::wstring(3, L'\0')}) {
        SCOPED_TRACE(testing::Message() << tail.size() << " NUL(s)");
        VARIANT_BOOL done = VARIANT_FALSE;
        raii::UniqueBstr read;
        ASSERT_EQ(S_OK, registry->KeySet(text(L"Value", tail).get(), bstr(L"data").get(),
                                         text(L"Sub", tail).get(), qcUser, &done));
        EXPECT_EQ(VARIANT_TRUE, done);
        ASSERT_EQ(S_OK, registry->KeyGet(text(L"Value", tail).get(), bstr(L"").get(),
                                         text(L"Sub", tail).get(), qcUser, read.put()));
        EXPECT_EQ(L"data", raii::toWString(read.get()));
        EXPECT_EQ(S_OK, files->FileExists(text(file, tail).get(), &done));
        EXPECT_EQ(VARIANT_TRUE, done);
        EXPECT_EQ(S_OK, windows->ShellCommand(text(L"cmd.exe", tail).get(), text(L"/c rem", tail).get(),
                                              SA_Open, qcShowStates(SW_HIDE), text(scratch.path(), tail).get(), -1,
                                              VARIANT_FALSE, &done));
        EXPECT_EQ(VARIANT_TRUE, done);
        EXPECT_EQ(plainDrive, mapped(share + tail, L"Q:" + tail));
    }
}
