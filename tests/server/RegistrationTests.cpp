// Registration round trips through regsvr32 in the prefix, and a client that loads the DLL itself.
#include "ServerClasses.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

std::wstring dllPath() { return programFolder() + L"Quillon.dll"; }
std::wstring progId(const ServerClass& row) { return std::wstring(L"Quillon.") + row.name; }
long regsvr32(const std::wstring& flags) { return runProcess(L"regsvr32 " + flags + L" /s \"" + dllPath() + L"\""); }


// Other tests of this build rely on the machine-wide registration.
struct RegisteredAgainAtExit { ~RegisteredAgainAtExit() { EXPECT_EQ(0, regsvr32(L"")); } };

// A value below root\Software\Classes, with this build's DLL path shown as "<dll>".
std::wstring classesValue(HKEY root, const std::wstring& path, const std::wstring& name = L"")
{
    std::wstring value = L"(missing)";
    readString(root, L"Software\\Classes\\" + path, name, &value);
    return lstrcmpiW(value.c_str(), dllPath().c_str()) == 0 ? L"<dll>" : value;
}

// What a registration writes below root\Software\Classes, or that none of its keys is there.
void expectRegistration(HKEY root, bool registered)
{
    const std::wstring library = L"TypeLib\\" + guidText(LIBID_Quillon) + L"\\1.0";
    EXPECT_EQ(registered, keyExists(root, L"Software\\Classes\\" + library));
    for (const ServerClass& row : kClasses) {
        SCOPED_TRACE(row.name);
        const std::wstring clsid = L"CLSID\\" + guidText(*row.clsid), iface = L"Interface\\" + guidText(*row.iid);
        for (const std::wstring& key : {clsid, progId(row), iface})
            EXPECT_EQ(registered, keyExists(root, L"Software\\Classes\\" + key)) << key;
        if (!registered) continue;
        EXPECT_EQ(L"<dll>", classesValue(root, clsid + L"\\InprocServer32"));
        EXPECT_EQ(L"Apartment", classesValue(root, clsid + L"\\InprocServer32", L"ThreadingModel"));
        EXPECT_EQ(guidText(*row.clsid), classesValue(root, progId(row) + L"\\CLSID"));
    }
    if (!registered) return;
    EXPECT_EQ(L"<dll>", classesValue(root, library + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32")));
}

template <class F>
F exported(HMODULE dll, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

// A call by name works unregistered (the server reads its type information from
// its own file); DllCanUnloadNow counts live objects and locks.
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

} // namespace

// Unregistered, then per user (keys only: Wine does not activate classes from
// HKCU), then machine-wide with activation by ProgID.
TEST(Registration, RoundTrips)
{
    raii::ComScope com;
    RegisteredAgainAtExit guard;
    raii::ComPtr<IUnknown> object, refused;
    ASSERT_EQ(0, regsvr32(L"/u"));
    EXPECT_EQ(0, regsvr32(L"/u")) << "unregistering twice must succeed";
    expectRegistration(HKEY_LOCAL_MACHINE, false);
    for (const ServerClass& row : kClasses) EXPECT_EQ(REGDB_E_CLASSNOTREG, activate(*row.clsid, IID_IUnknown, object));
    expectDirectUse();

    EXPECT_NE(0, regsvr32(L"/n /i:nobody")) << "an unknown scope must be refused";
    ASSERT_EQ(0, regsvr32(L"/n /i:user"));
    expectRegistration(HKEY_CURRENT_USER, true);
    expectRegistration(HKEY_LOCAL_MACHINE, false);
    ASSERT_EQ(0, regsvr32(L"/u /n /i:user"));
    expectRegistration(HKEY_CURRENT_USER, false);

    ASSERT_EQ(0, regsvr32(L""));
    expectRegistration(HKEY_LOCAL_MACHINE, true);
    for (const ServerClass& row : kClasses) {
        SCOPED_TRACE(row.name);
        CLSID fromProgId = {};
        ASSERT_EQ(S_OK, CLSIDFromProgID(progId(row).c_str(), &fromProgId));
        EXPECT_EQ(*row.clsid, fromProgId);
        ASSERT_EQ(S_OK, activate(fromProgId, *row.iid, object));
        const IID& otherClass = row.iid == &IID__qfcLibCore ? IID__qfcLibFiles : IID__qfcLibCore;
        EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(otherClass, refused.putVoid()));
    }
}
