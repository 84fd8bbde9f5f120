// Helpers shared by the tests: COM set-up, scratch registry keys, processes.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "LateBound.h"
#include "QuillonTypes.h"
#include "Raii.h"

namespace testing_support {

// Folder of the running test program, with a trailing backslash.
std::wstring programFolder();

// "{4409E919-...}", as the registry writes an identifier.
std::wstring guidText(REFGUID guid);

// Starts a command line (with standard output and error on `output` when given); false when it cannot start.
bool startProcess(const std::wstring& commandLine, raii::ProcessInfo& started, HANDLE output = nullptr);

// Waits for a started process: its exit code, or -2 when it did not end within timeoutMs (it is then killed).
long waitForProcess(const raii::ProcessInfo& process, DWORD timeoutMs);

// Runs a command line and waits for it: its exit code, -1 when it could not start, or -2 as above.
long runProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// What a command line writes to standard output and error (bytes as written) up to its end or timeoutMs (when
// it is killed: -2); descendants that outlive it are not waited for.
std::string captureProcess(const std::wstring& commandLine, long* exitCode = nullptr, DWORD timeoutMs = 60000);

// A file's bytes, "" when it cannot be read. Read with every kind of sharing, so a writer may replace it meanwhile.
std::string fileBytes(const std::wstring& path);

// Checks the condition about every 20 ms until it holds (true) or timeoutMs has passed (false).
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// COM on this thread for the life of a test.
class ComTest : public ::testing::Test {
protected:
    raii::ComScope com_;
};

// HKEY_CURRENT_USER of this process on a fresh scratch key for the life of the object.
class ScratchCurrentUser {
public:
    explicit ScratchCurrentUser(const std::wstring& name);
    ~ScratchCurrentUser();
    ScratchCurrentUser(const ScratchCurrentUser&) = delete;
    ScratchCurrentUser& operator=(const ScratchCurrentUser&) = delete;

private:
    std::wstring path_;
    raii::UniqueHKey key_;
};

// Registry access around the library. view: 0 for this program's view, or KEY_WOW64_32KEY / KEY_WOW64_64KEY.
// A REG_SZ value, or "<missing>" when it is missing or of another type.
std::wstring storedText(HKEY root, const std::wstring& path, const std::wstring& name = L"", REGSAM view = 0);
bool keyExists(HKEY root, const std::wstring& path, REGSAM view = 0);
// Every value below root\path and its sub-keys, one "path\sub\key|name=data" line each (the default value's
// name empty; data other than REG_SZ as "(type n)"), sorted; none when the key is missing.
std::vector<std::wstring> registryLines(HKEY root, const std::wstring& path, REGSAM view = 0);
// Writes a REG_SZ value, making the key and those above it; a test failure when it cannot.
void setText(const std::wstring& path, const std::wstring& name, const std::wstring& text,
             HKEY root = HKEY_CURRENT_USER, REGSAM view = 0);
// Removes the key with everything below it; a missing key is no failure.
void deleteTree(HKEY root, const std::wstring& path);

// The colour of a client-area pixel of a window as the screen shows it.
COLORREF pixelAt(HWND window, int x, int y);

// Creates an object by class identifier and asks for the given interface.
template <class T>
raii::ComPtr<T> create(REFCLSID clsid, REFIID iid)
{
    raii::ComPtr<T> result;
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, result.putVoid());
    EXPECT_EQ(S_OK, hr);
    return result;
}

// The class and interface identifiers behind each of the library's interfaces.
struct ClassIds {
    const CLSID& clsid;
    const IID& iid;
};
template <class I> ClassIds idsOf();
template <> inline ClassIds idsOf<_qfcLibCore>() { return {CLSID_qfcLibCore, IID__qfcLibCore}; }
template <> inline ClassIds idsOf<_qfcLibRegistry>() { return {CLSID_qfcLibRegistry, IID__qfcLibRegistry}; }
template <> inline ClassIds idsOf<_qfcLibFiles>() { return {CLSID_qfcLibFiles, IID__qfcLibFiles}; }
template <> inline ClassIds idsOf<_qfcLibForms>() { return {CLSID_qfcLibForms, IID__qfcLibForms}; }
template <> inline ClassIds idsOf<_qfcLibWindows>() { return {CLSID_qfcLibWindows, IID__qfcLibWindows}; }
template <> inline ClassIds idsOf<_qfcLibStrings>() { return {CLSID_qfcLibStrings, IID__qfcLibStrings}; }
template <> inline ClassIds idsOf<_qfcLibNetwork>() { return {CLSID_qfcLibNetwork, IID__qfcLibNetwork}; }

template <class I>
raii::ComPtr<I> create()
{
    return create<I>(idsOf<I>().clsid, idsOf<I>().iid);
}

inline raii::UniqueBstr bstr(const std::wstring& text) { return raii::makeBstr(text); }

// InitCore through a library object, as a client starts: the application key becomes
// Software\Brannock\Apps\<title>, the program folder `path`, the version 1.1.32.
void initCore(const std::wstring& title = L"Vantorel", const std::wstring& path = L"C:\\Games\\");

// A client of one library class: COM on the test's thread, the object through its vtable (object_), and
// InitCore done with the defaults above.
template <class I>
class ClientTest : public ComTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(object_);
        initCore();
    }
    raii::ComPtr<I> object_ = create<I>();
};

} // namespace testing_support
