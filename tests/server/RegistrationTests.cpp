// Registration round trips through regsvr32 against the prefix's real
// registry and COM: machine-wide (then activation by ProgID and CLSID) and
// per user (keys only: Wine does not activate classes from HKCU).
#include <set>
#include <vector>

#include "TestSupport.h"

using namespace testing_support;

namespace {

struct ClassRow {
    const wchar_t* name;
    const CLSID* clsid;
    const IID* iid;
};

const ClassRow kClasses[] = {
    {L"qfcLibCore", &CLSID_qfcLibCore, &IID__qfcLibCore},
    {L"qfcLibFiles", &CLSID_qfcLibFiles, &IID__qfcLibFiles},
    {L"qfcLibForms", &CLSID_qfcLibForms, &IID__qfcLibForms},
    {L"qfcLibNetwork", &CLSID_qfcLibNetwork, &IID__qfcLibNetwork},
    {L"qfcLibRegistry", &CLSID_qfcLibRegistry, &IID__qfcLibRegistry},
    {L"qfcLibStrings", &CLSID_qfcLibStrings, &IID__qfcLibStrings},
    {L"qfcLibWindows", &CLSID_qfcLibWindows, &IID__qfcLibWindows},
};

const wchar_t kClassesKey[] = L"Software\\Classes\\";

std::wstring dllPath() { return programFolder() + L"Quillon.dll"; }
std::wstring progId(const ClassRow& row) { return std::wstring(L"Quillon.") + row.name; }

std::wstring guidText(REFGUID guid)
{
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, ARRAYSIZE(text));
    return text;
}

long regsvr32(const std::wstring& switches)
{
    return runProcess(L"regsvr32 " + switches + L" /s \"" + dllPath() + L"\"");
}

// Other tests of this build rely on the machine-wide registration.
struct RegisteredAgainAtExit {
    ~RegisteredAgainAtExit() { EXPECT_EQ(0, regsvr32(L"")); }
};

std::wstring valueOf(HKEY root, const std::wstring& path, const std::wstring& name = L"")
{
    std::wstring value = L"(missing)";
    readString(root, path, name, &value);
    return value;
}

bool samePath(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

// The keys a registration creates below one Software\Classes root.
std::vector<std::wstring> registeredKeys()
{
    std::vector<std::wstring> keys = {L"TypeLib\\" + guidText(LIBID_Quillon)};
    for (const ClassRow& row : kClasses) {
        keys.push_back(L"CLSID\\" + guidText(*row.clsid));
        keys.push_back(progId(row));
        keys.push_back(L"Interface\\" + guidText(*row.iid));
    }
    return keys;
}

// Names of the machine's class, interface and type-library keys.
std::set<std::wstring> machineClassKeys()
{
    std::set<std::wstring> names;
    for (const wchar_t* folder : {L"", L"CLSID", L"Interface", L"TypeLib"}) {
        raii::UniqueHKey key;
        std::wstring path = std::wstring(kClassesKey) + folder;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) continue;
        wchar_t name[256];
        for (DWORD i = 0, size = ARRAYSIZE(name);
             RegEnumKeyExW(key.get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
             ++i, size = ARRAYSIZE(name))
            names.insert(path + L"\\" + name);
    }
    return names;
}

void expectInterfaces(IUnknown* object, const ClassRow& row)
{
    for (const IID* iid : {row.iid, &IID_IDispatch, &IID_ISupportErrorInfo, &IID_IUnknown}) {
        raii::ComPtr<IUnknown> answer;
        EXPECT_EQ(S_OK, object->QueryInterface(*iid, answer.putVoid())) << guidText(*iid);
    }
    const IID& otherClass = row.iid == kClasses[0].iid ? *kClasses[1].iid : *kClasses[0].iid;
    for (const IID* iid : {&IID_IPersist, &IID_IClassFactory, &otherClass}) {
        void* answer = reinterpret_cast<void*>(1);
        EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(*iid, &answer)) << guidText(*iid);
        EXPECT_EQ(nullptr, answer);
    }
    raii::ComPtr<ISupportErrorInfo> support;
    raii::ComPtr<IUnknown> identityA, identityB;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_ISupportErrorInfo, support.putVoid()));
    EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(*row.iid));
    support->QueryInterface(IID_IUnknown, identityA.putVoid());
    object->QueryInterface(IID_IUnknown, identityB.putVoid());
    EXPECT_EQ(identityA.get(), identityB.get()) << "IUnknown identity differs between interfaces";
}

// The server reads its type information from its own file, so a client that
// loads it directly can call by name while nothing is registered.
void expectDispatchWithoutRegistration()
{
    raii::UniqueModule dll(LoadLibraryW(dllPath().c_str()));
    auto getClassObject = reinterpret_cast<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>(
        reinterpret_cast<void*>(GetProcAddress(dll.get(), "DllGetClassObject")));
    ASSERT_TRUE(getClassObject);
    raii::ComPtr<IClassFactory> factory;
    raii::ComPtr<IDispatch> core;
    ASSERT_EQ(S_OK, getClassObject(CLSID_qfcLibCore, IID_IClassFactory, factory.putVoid()));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDispatch, core.putVoid()));
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"GetAppVersion")};
    DISPID id = DISPID_UNKNOWN;
    DISPPARAMS none = {};
    raii::UniqueVariant version;
    ASSERT_EQ(S_OK, core->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(S_OK, core->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &none, version.get(), nullptr,
                                 nullptr));
    EXPECT_EQ(VT_BSTR, V_VT(version.get()));
}

class Registration : public ComTest {};

} // namespace

TEST_F(Registration, MachineWideRoundTrip)
{
    RegisteredAgainAtExit guard;
    ASSERT_EQ(0, regsvr32(L"/u"));
    EXPECT_EQ(0, regsvr32(L"/u")) << "unregistering twice must succeed";
    for (const ClassRow& row : kClasses) {
        SCOPED_TRACE(row.name);
        raii::ComPtr<IUnknown> object;
        EXPECT_EQ(REGDB_E_CLASSNOTREG,
                  CoCreateInstance(*row.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()));
        CLSID clsid = {};
        EXPECT_TRUE(FAILED(CLSIDFromProgID(progId(row).c_str(), &clsid)));
    }
    for (const std::wstring& key : registeredKeys())
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kClassesKey + key)) << "left behind: " << key;
    raii::ComPtr<ITypeLib> library;
    EXPECT_TRUE(FAILED(LoadRegTypeLib(LIBID_Quillon, 1, 0, 0, library.put())));
    expectDispatchWithoutRegistration();

    ASSERT_EQ(0, regsvr32(L""));
    for (const ClassRow& row : kClasses) {
        SCOPED_TRACE(row.name);
        CLSID fromProgId = {};
        ASSERT_EQ(S_OK, CLSIDFromProgID(progId(row).c_str(), &fromProgId));
        EXPECT_EQ(*row.clsid, fromProgId);
        for (const CLSID* clsid : {static_cast<const CLSID*>(&fromProgId), row.clsid}) {
            raii::ComPtr<IUnknown> object;
            ASSERT_EQ(S_OK, CoCreateInstance(*clsid, nullptr, CLSCTX_INPROC_SERVER, *row.iid, object.putVoid()));
            expectInterfaces(object.get(), row);
        }
        const std::wstring clsidKey = kClassesKey + (L"CLSID\\" + guidText(*row.clsid));
        EXPECT_TRUE(samePath(dllPath(), valueOf(HKEY_LOCAL_MACHINE, clsidKey + L"\\InprocServer32")))
            << valueOf(HKEY_LOCAL_MACHINE, clsidKey + L"\\InprocServer32");
        EXPECT_EQ(L"Apartment", valueOf(HKEY_LOCAL_MACHINE, clsidKey + L"\\InprocServer32", L"ThreadingModel"));
        EXPECT_EQ(progId(row), valueOf(HKEY_LOCAL_MACHINE, clsidKey + L"\\ProgID"));
        EXPECT_EQ(guidText(*row.clsid), valueOf(HKEY_LOCAL_MACHINE, kClassesKey + progId(row) + L"\\CLSID"));
        EXPECT_EQ(guidText(LIBID_Quillon),
                  valueOf(HKEY_LOCAL_MACHINE, kClassesKey + (L"Interface\\" + guidText(*row.iid)) + L"\\TypeLib"));
    }
    ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_Quillon, 1, 0, 0, library.put()));
    raii::UniqueBstr registeredPath;
    ASSERT_EQ(S_OK, QueryPathOfRegTypeLib(LIBID_Quillon, 1, 0, 0, registeredPath.put()));
    EXPECT_TRUE(samePath(dllPath(), raii::toWString(registeredPath.get()))) << registeredPath.get();
}

TEST_F(Registration, PerUserRoundTripLeavesTheMachineAlone)
{
    RegisteredAgainAtExit guard;
    ASSERT_EQ(0, regsvr32(L"/u"));
    const std::set<std::wstring> machineBefore = machineClassKeys();

    EXPECT_NE(0, regsvr32(L"/n /i:nobody")) << "an unknown scope must be refused";
    ASSERT_EQ(0, regsvr32(L"/n /i:user"));
    for (const std::wstring& key : registeredKeys())
        EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, kClassesKey + key)) << "missing: " << key;
    for (const ClassRow& row : kClasses) {
        SCOPED_TRACE(row.name);
        const std::wstring server = kClassesKey + (L"CLSID\\" + guidText(*row.clsid)) + L"\\InprocServer32";
        EXPECT_TRUE(samePath(dllPath(), valueOf(HKEY_CURRENT_USER, server))) << valueOf(HKEY_CURRENT_USER, server);
        EXPECT_EQ(L"Apartment", valueOf(HKEY_CURRENT_USER, server, L"ThreadingModel"));
        EXPECT_EQ(guidText(*row.clsid), valueOf(HKEY_CURRENT_USER, kClassesKey + progId(row) + L"\\CLSID"));
    }
    const std::wstring library = kClassesKey + (L"TypeLib\\" + guidText(LIBID_Quillon)) + L"\\1.0";
    EXPECT_EQ(L"Brannock Core Procedural Library", valueOf(HKEY_CURRENT_USER, library));
    const wchar_t* platform = sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32";
    EXPECT_TRUE(samePath(dllPath(), valueOf(HKEY_CURRENT_USER, library + platform)));
    EXPECT_TRUE(machineBefore == machineClassKeys()) << "per-user registration wrote machine-wide keys";

    ASSERT_EQ(0, regsvr32(L"/u /n /i:user"));
    for (const std::wstring& key : registeredKeys())
        EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kClassesKey + key)) << "left behind: " << key;
}
