// Registration round trips through regsvr32 in the prefix, and a client that loads the DLL itself.
#include <fstream>
#include <regex>
#include <set>

#include "ServerClasses.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

std::wstring dllPath() { return programFolder() + L"Quillon.dll"; }
long regsvr32(const std::wstring& flags) { return runProcess(L"regsvr32 " + flags + L" /s \"" + dllPath() + L"\""); }
std::wstring libraryKey() { return L"Software\\Classes\\TypeLib\\" + guidText(LIBID_Quillon) + L"\\1.0"; }

// Other tests of this build rely on the machine-wide registration.
struct RegisteredAgainAtExit { ~RegisteredAgainAtExit() { EXPECT_EQ(0, regsvr32(L"")); } };

template <class F>
F exported(HMODULE dll, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// A call by name works unregistered (type information from the DLL's own file); DllCanUnloadNow counts live
// objects and locks.
void expectDirectUse()
{
    raii::UniqueModule dll(LoadLibraryW(dllPath().c_str()));
    auto getClassObject = exported<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(dll.get(), "DllGetClassObject");
    auto canUnloadNow = exported<HRESULT(STDAPICALLTYPE*)()>(dll.get(), "DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnloadNow);
    raii::ComPtr<IClassFactory> factory;
    raii::ComPtr<IDispatch> object;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject(IID_IDispatch, IID_IClassFactory, factory.putVoid()));
    ASSERT_EQ(S_OK, getClassObject(CLSID_qfcLibCore, IID_IClassFactory, factory.putVoid()));
    ASSERT_EQ(S_OK, factory->LockServer(TRUE));
    factory.reset();
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "a lock";
    ASSERT_EQ(S_OK, getClassObject(CLSID_qfcLibCore, IID_IClassFactory, factory.putVoid()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, object.putVoid()));
    ASSERT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(E_UNEXPECTED, factory->LockServer(FALSE)) << "an unlock without a lock counted below zero";
    factory.reset();
    EXPECT_EQ(S_FALSE, canUnloadNow()) << "a live object";
    EXPECT_EQ(S_OK, latebound::call(object.get(), L"GetAppVersion").hr);
    object.reset();
    EXPECT_EQ(S_OK, canUnloadNow());
}

HRESULT activate(REFCLSID clsid, REFIID iid, raii::ComPtr<IUnknown>& object)
{
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, object.putVoid());
}

// The installer's registration of the 32-bit library (generated beside the server's own rows): the values it writes,
// with its file, folder and platform entry shown as "<dll>", "<folder>" and "<platform>", and the trees it deletes.
struct InstallerRows {
    std::set<std::wstring> written;
    std::vector<std::wstring> deleted;
};

InstallerRows installerRows()
{
    static const std::regex write(R"re(^\s*WriteRegStr HKLM "([^"]*)" "([^"]*)" "([^"]*)"\s*$)re");
    static const std::regex remove(R"re(^\s*DeleteRegKey HKLM "([^"]*)"\s*$)re");
    static const std::pair<std::string, std::string> shown[] = {
        {"${FILE}", "<dll>"}, {"${FOLDER}", "<folder>"}, {"\\0\\win32", "\\0\\<platform>"}, {"$$", "$"}};
    const auto wide = [](std::string text) {
        for (const auto& [from, to] : shown)
            for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
                text.replace(at, from.size(), to);
        return std::wstring(text.begin(), text.end());
    };
    InstallerRows rows;
    std::ifstream file((programFolder() + L"QuillonRegistration32.nsh").c_str());
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
        if (std::regex_match(line, match, write))
            rows.written.insert(wide(match[1]) + L"|" + wide(match[2]) + L"=" + wide(match[3]));
        else if (std::regex_match(line, match, remove))
            rows.deleted.push_back(wide(match[1]));
    }
    return rows;
}

// The values below root in the trees the installer's uninstallation deletes, shown as installerRows() shows
// them; a tree without values must be gone.
std::set<std::wstring> registration(HKEY root, const std::vector<std::wstring>& trees)
{
    std::set<std::wstring> written;
    for (const std::wstring& tree : trees) {
        const std::vector<std::wstring> lines = registryLines(root, tree);
        EXPECT_TRUE(!lines.empty() || !keyExists(root, tree)) << tree << " is left empty";
        for (std::wstring line : lines) {
            const size_t data = line.find(L'=') + 1, entry = line.find(L"\\0\\win64|");
            for (const auto& [path, shown] : {std::pair{dllPath(), L"<dll>"}, std::pair{programFolder(), L"<folder>"}})
                if (lstrcmpiW(line.c_str() + data, path.c_str()) == 0) line.replace(data, std::wstring::npos, shown);
            if (entry != std::wstring::npos) line.replace(entry + 3, 5, L"<platform>");
            written.insert(line);
        }
    }
    return written;
}

} // namespace

// The 64-bit DllRegisterServer writes what the installer writes for the 32-bit library (which cannot run here) but
// the file and platform entry. Then unregistered, per user (keys only: Wine does not activate classes from HKCU)
// and machine-wide with activation; unregistering leaves the 32-bit library's entry of the shared type library key.
TEST(Registration, RoundTrips)
{
    raii::ComScope com;
    RegisteredAgainAtExit guard;
    raii::ComPtr<IUnknown> object, refused;
    const InstallerRows rows = installerRows();
    ASSERT_GT(rows.written.size(), 4 * std::size(kClasses)) << "QuillonRegistration32.nsh beside the program";
    ASSERT_EQ(0, regsvr32(L""));
    // Only what lies below the trees uninstallation deletes is read back, so equal rows are all deleted too.
    EXPECT_EQ(rows.written, registration(HKEY_LOCAL_MACHINE, rows.deleted)) << "the installer's, then the server's";

    const std::wstring other = L"C:\\Other\\x86\\Quillon.dll";
    setText(libraryKey() + L"\\0\\win32", L"", other, HKEY_LOCAL_MACHINE);
    ASSERT_EQ(0, regsvr32(L"/u"));
    EXPECT_EQ(other, storedText(HKEY_LOCAL_MACHINE, libraryKey() + L"\\0\\win32"));
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, libraryKey() + L"\\0\\win64"));
    deleteTree(HKEY_LOCAL_MACHINE, libraryKey());
    EXPECT_EQ(0, regsvr32(L"/u")) << "unregistering twice must succeed";
    EXPECT_TRUE(registration(HKEY_LOCAL_MACHINE, rows.deleted).empty());
    for (const ServerClass& row : kClasses) EXPECT_EQ(REGDB_E_CLASSNOTREG, activate(*row.clsid, IID_IUnknown, object));
    expectDirectUse();

    EXPECT_NE(0, regsvr32(L"/n /i:nobody")) << "an unknown scope must be refused";
    ASSERT_EQ(0, regsvr32(L"/n /i:user"));
    EXPECT_EQ(rows.written, registration(HKEY_CURRENT_USER, rows.deleted));
    EXPECT_TRUE(registration(HKEY_LOCAL_MACHINE, rows.deleted).empty());
    ASSERT_EQ(0, regsvr32(L"/u /n /i:user"));
    EXPECT_TRUE(registration(HKEY_CURRENT_USER, rows.deleted).empty());

    ASSERT_EQ(0, regsvr32(L""));
    for (const ServerClass& row : kClasses) {
        SCOPED_TRACE(row.name);
        ASSERT_EQ(S_OK, activate(*row.clsid, *row.iid, object));
        const IID& otherClass = row.iid == &IID__qfcLibCore ? IID__qfcLibFiles : IID__qfcLibCore;
        EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(otherClass, refused.putVoid()));
    }
}
