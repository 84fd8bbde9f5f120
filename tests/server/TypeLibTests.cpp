// The type library as a client reads it: the library, the seven coclasses with
// every method of their interfaces in slot order, the enumerations and the record.
#include <functional>
#include <map>
#include <memory>

#include "ServerClasses.h"
#include "TestSupport.h"

using namespace testing_support;

// Signatures are compact: the parameters' types, "&" before a by-reference (in
// and out) one, "?" after an optional one, "=value" for its default
// (enumerations by value), "-> type" for the [out, retval] result. Types: s
// string, b boolean, i 16-bit, l 32-bit, y byte, v variant, o object, c
// currency, a string array, or the name of an enumeration.
const std::vector<ServerClass> kClasses = {
    {L"qfcLibCore", &CLSID_qfcLibCore, &IID__qfcLibCore,
     {{L"ShowRunOnceDialog", LR"(s?="" s?="" s?="Welcome to {AppTitle}" s?="{AppTitle}" l?=6495 l?=4800)"},
      {L"GetAppVersion", L"b?=false -> s"}, {L"InitCore", L"s s s i i i"}}},
    {L"qfcLibFiles", &CLSID_qfcLibFiles, &IID__qfcLibFiles,
     {{L"CopyFile", LR"(l &v s qcFileOpFunctions?=2 qcFileOpFlags?=0 s?="\0" s?="|" -> b)"}, {L"AddDirSep", L"s -> s"},
      {L"AddURLSep", L"s -> s"}, {L"DeleteFile", LR"(l &v qcFileOpFlags?=0 s?="|" -> b)"}, {L"DirExists", L"s -> b"},
      {L"FileExists", L"s -> b"}, {L"FileExtSearch", L"s s &a b?=false -> l"}, {L"GetFileExt", L"s -> s"},
      {L"BrowseForFolder", LR"(l s?="\0" s?="Select Folder" &qcBrowseInfoFlags?=1 -> s)"},
      {L"GetDirSize", L"s b?=false -> c"}, {L"GetShortFileName", L"s -> s"},
      {L"GetSystemFolder", L"qcSystemFolders -> s"}, {L"IsLongFileName", L"s -> b"}, {L"IsShortFileName", L"s -> b"},
      {L"MakePath", L"s -> b"}, {L"GetFileTitle", L"s b?=false -> s"}, {L"GetFilePath", L"s -> s"},
      {L"GetOpenFileName", LR"(s &o s?="" s?="" s?="" -> s)"},
      {L"GetSaveFileName", LR"(s &o s?="" s?="" s?="" -> s)"}}},
    {L"qfcLibForms", &CLSID_qfcLibForms, &IID__qfcLibForms,
     {{L"FormRemoveX", L"&o -> b"}, {L"GradientForm", L"&o qcGradientColors?=1 y?=0"},
      {L"BringWindowToFront", L"&o qcZOrderConstants?=0"}, {L"CenterForm", L"&o &o?=none"},
      {L"CloseWindow", L"&o qcCloseWindowStyles?=1 i?=150"}, {L"EtchedLine", L"&o i i i y?=0"},
      {L"FormClose", L"&o qcCloseWindowStyles?=1"}, {L"FormOpen", L"&o &o?=none b?=false &b?=false"},
      {L"SlideWindow", L"&o l l y?=0 i?=150"}}},
    {L"qfcLibNetwork", &CLSID_qfcLibNetwork, &IID__qfcLibNetwork,
     {{L"GetHTTPSource", LR"(s &v s?="GET" v? s?="" s?="" b?=false &l?=0 &s? -> b)"}, {L"GetUserID", L"-> s"},
      {L"OpenURL", L"s l?=0 -> b"}, {L"GetMachineName", L"-> s"}, {L"MapNetDriveDialog", L"l?=0 -> l"},
      {L"MapNetDrive", LR"(s s s?="" s?="" l?=0 &b?=false -> l)"}, {L"MapNetPrinterDialog", L"l?=0 -> l"},
      {L"UnMapNetDrive", L"s b?=false b?=false -> l"}, {L"UnMapNetDriveDialog", L"l -> l"},
      {L"UnMapNetPrinterDialog", L"l?=0 -> l"}}},
    {L"qfcLibRegistry", &CLSID_qfcLibRegistry, &IID__qfcLibRegistry,
     {{L"KeyDelete", L"s qcRegBaseKeys?=1 -> b"}, {L"KeyDeleteValue", LR"(s s?="" qcRegBaseKeys?=1 -> b)"},
      {L"RegFileAssociate", LR"(s s?="" s?="" s?="" s?="" i?=0 b?=false -> b)"},
      {L"RegDeleteValue", L"&qcRegistryKeys s s -> b"}, {L"KeyGet", LR"(s s?="" s?="" qcRegBaseKeys?=1 -> s)"},
      {L"KeySet", LR"(s s?="" s?="" qcRegBaseKeys?=1 -> b)"}, {L"RegDeleteKey", L"qcRegistryKeys s -> b"},
      {L"RegKeySetString", LR"(qcRegistryKeys s s?="{Default}" s?="" -> b)"},
      {L"RegSetRunKey", LR"(s s?="" qcRegistryKeys?=-2147483647 qcRegRunTypes?=1 b?=false -> b)"},
      {L"RegKeyGetString", LR"(qcRegistryKeys s s?="{Default}" s?="" -> s)"}}},
    {L"qfcLibStrings", &CLSID_qfcLibStrings, &IID__qfcLibStrings,
     {{L"ProperCase", LR"(s s?="@\/ .([" -> s)"}, {L"UnQuoteString", L"s -> s"},
      {L"DecryptPassword", L"i s b?=false -> s"}, {L"EncryptPassword", L"i s b?=false -> s"},
      {L"PhoneFormat", L"s b?=false &o?=none -> s"}, {L"StringReplace", L"s s s y?=0 -> s"},
      {L"StringStrip", L"&s &s -> s"}, {L"SwapInt", L"&i &i"}, {L"SwapStr", L"&s &s"}}},
    {L"qfcLibWindows", &CLSID_qfcLibWindows, &IID__qfcLibWindows,
     {{L"SetWallpaper", L"&s?=\"{None}\" -> l"}, {L"ExecuteCommand", L"s b?=false"}, {L"OpenCPApplet", L"qcCPApplets"},
      {L"ShellCommand", LR"(s s?="" qcShowActions?=0 qcShowStates?=1 s?="" l?=-1 b?=true -> b)"}}},
};

namespace {

// Enumerations list "name=value", the record "name:type", in declaration order.
const std::pair<const wchar_t*, const wchar_t*> kTypes[] = {
    {L"qcRegBaseKeys", L"qcApps=1 qcBrannock=2 qcUser=3"}, {L"qcGradientColors", L"qcBlue=1 qcGreen=2 qcRed=3"},
    {L"qcNetInfoLevel", L"qcUniversal=1 qcRemote=2"}, {L"qcNetType", L"qcAny=0 qcDisk=1 qcPrint=2"},
    {L"qcRegistryKeys", L"HKEY_CLASSES_ROOT=-2147483648 HKEY_CURRENT_USER=-2147483647 HKEY_LOCAL_MACHINE=-2147483646 "
                        L"HKEY_USERS=-2147483645 HKEY_PERFORMANCE_DATA=-2147483644 HKEY_CURRENT_CONFIG=-2147483643 "
                        L"HKEY_DYN_DATA=-2147483642"},
    {L"qcOSTypes", L"OS_Unknown=0 OS_Win32=32 OS_Win95=95 OS_Win98=98 OS_WinNT_351=351 OS_WinNT_40=40 OS_Win2000=2000"},
    {L"qcRegRunTypes", L"qcRun=1 qcRunOnce=2 qcRunServices=3 qcRunServicesOnce=4"},
    {L"qcFileOpFunctions", L"qcMove=1 qcCopy=2 qcDelete=3 qcRename=4"},
    {L"qcFileOpFlags", L"qcMultiFiles=1 qcAutoRename=8 qcSilent=4 qcNoConfirmation=16 qcAllowUndo=64 qcFilesOnly=128 "
                       L"qcSimpleProgress=256 qcNoCofirmMkDir=512"},
    {L"qcSystemFolders",
     L"qcDesktop=0 qcMyDocuments=5 qcFavorites=6 qcProgramFiles=64 qcWindows=128 qcWindowsSystem=256"},
    {L"qcBrowseInfoFlags", L"qcFolders=1 qcComputers=2 qcPrinters=3"},
    {L"qcCloseWindowStyles", L"qcBottom=1 qcTop=2 qcLeft=3 qcRight=4 qcImplode=5"},
    {L"qcZOrderConstants", L"qcStayOnTop=-1 qcBringToFront=0 qcSendToBack=1"},
    {L"qcShowActions", L"SA_Open=0 SA_Explore=1 SA_Edit=2 SA_Print=3 SA_Properties=4 SW_Find=5 SW_Play=6"},
    {L"qcShowStates", L"SW_HIDE=0 SW_MAXIMIZE=3 SW_MINIMIZE=6 SW_RESTORE=9 SW_SHOW=5 SW_SHOWDEFAULT=10 "
                      L"SW_SHOWMAXIMIZED=3 SW_SHOWMINIMIZED=2 SW_SHOWMINNOACTIVE=7 SW_SHOWNA=8 SW_SHOWNOACTIVATE=4 "
                      L"SW_SHOWNORMAL=1"},
    {L"qcCPApplets", L"qcControlPanel=0 qcACGeneral=1 qcACDisplay=2 qcACKeyBoard=3 qcACMouse=4 qcACSound=5 "
                     L"qcDPBackGround=6 qcDPAppearance=7 qcDPScreenSaver=8 qcDPSettings=9 qcDateTime=10 qcInternet=11 "
                     L"qcRegional=12 qcJoyStick=13 qcMouse=14 qcMAPI=15 qcMultimedia=16 qcModem=17 qcNetwork=18 "
                     L"qcODBC=19 qcPassword=20 qcSystem=21 qcPlus=22 qcLiveUpdate=23"},
    {L"qcNetHooked", L"qcResourceConnected=1 qcResourcePublicNet=2 qcResourceRemembered=3"},
    {L"qcNetDisplayType", L"qcGeneric=0 qcDomain=1 qcServer=2 qcShare=3 qcFile=4 qcGroup=5"},
    {L"qcNetUsage", L"qcConnectable=1 qcContainer=2 qcReserved=-2147483648"},
    {L"qcNetResource", L"qcScope:l qcType:l qcDisplayType:l qcUsage:l qcLocalName:s qcRemoteName:s qcComment:s "
                       L"qcProvider:s"},
};

// Help strings exactly as clients see them; every other method, class and type has none.
const std::map<std::wstring, std::wstring> kHelp = {
    {L"qfcLibCore", L"Pile of Procedures based on Application and Global requirements."},
    {L"ShowRunOnceDialog",
     L"Displays the RunOnce welcome dialog window. Must have either DialogText OR DialogFileName, but not both."},
    {L"GetAppVersion", L"Returns application version number."},
    {L"InitCore", L"To be called prior to ANY subsequent calls the the DLL where any of the parameters are required "
                  L"by the DLL."},
    {L"AddDirSep", L"Adds a backslash (\\), if necessary, to the Path given."},
    {L"AddURLSep", L"Adds a forward slash (/), if necessary, to the URL given."},
    {L"BrowseForFolder", L"Displays the Windows Folder Browser."},
    {L"GetDirSize", L"Returns the directory size in bytes"},
    {L"GetFileTitle", L"Returns the filename portion of vFileName (Must be fully qualified)"},
    {L"GetFilePath", L"Returns the path portion of the vFileName. (Must be fully qualified)"},
    {L"GetOpenFileName", L"Returns the user selected filename (uses CommonDlg)"},
    {L"GetSaveFileName", L"Returns the user selected filename (uses CommonDlg)"},
    {L"GradientForm", L"Paints a gradient colour over the selected window"},
    {L"BringWindowToFront", L"Set a windows zorder"},
    {L"CenterForm", L"Centers a form on the screen"},
    {L"CloseWindow", L"Closes a window. Animation included.  Responds to global registry setting WinAnimate"},
    {L"EtchedLine", L"Draws a 3D line on a window"},
    {L"FormClose", L"Closes a window, saving its coordinates in the application's registry structure.  Animation "
                   L"included.  Responds to global registry setting WinAnimate"},
    {L"FormOpen", L"Displays a window, setting it coordinates to those specified by proc FormClose().  Centers "
                  L"unmodified window by default."},
    {L"SlideWindow", L"Shifts window to specified size.  Animation included.  Responds to global registry setting "
                     L"WinAnimate"},
    {L"GetUserID", L"returns current user ID"},
    {L"GetMachineName", L"Returns the local machine's name"},
    {L"qfcLibNetwork", L"Network Procedures"}, {L"qcNetHooked", L"Network Procedures"},
    {L"qcNetDisplayType", L"Network Procedures"}, {L"qcNetType", L"Network Procedures"},
    {L"qcNetUsage", L"Network Procedures"}, {L"qcNetInfoLevel", L"Network Procedures"},
    {L"qcNetResource", L"Network Procedures"},
};

std::wstring expectedHelp(const std::wstring& name)
{
    auto found = kHelp.find(name);
    return found == kHelp.end() ? std::wstring() : found->second;
}

// Owner of a TYPEATTR, FUNCDESC or VARDESC borrowed from a type info; empty when unreadable.
template <class T>
using Borrowed = std::unique_ptr<T, std::function<void(T*)>>;

Borrowed<TYPEATTR> typeAttr(ITypeInfo* info)
{
    TYPEATTR* attr = nullptr;
    EXPECT_EQ(S_OK, info->GetTypeAttr(&attr));
    return {attr, [info](TYPEATTR* a) { info->ReleaseTypeAttr(a); }};
}

template <class T>
Borrowed<T> describe(ITypeInfo* info, UINT index, HRESULT (STDMETHODCALLTYPE ITypeInfo::*get)(UINT, T**),
                     void (STDMETHODCALLTYPE ITypeInfo::*release)(T*))
{
    T* value = nullptr;
    EXPECT_EQ(S_OK, (info->*get)(index, &value));
    return {value, [info, release](T* v) { (info->*release)(v); }};
}

std::wstring nameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    raii::UniqueBstr text;
    info->GetDocumentation(id, text.put(), nullptr, nullptr, nullptr);
    return raii::toWString(text.get());
}

std::wstring helpOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    raii::UniqueBstr text;
    info->GetDocumentation(id, nullptr, text.put(), nullptr, nullptr);
    return raii::toWString(text.get());
}

std::wstring typeCode(ITypeInfo* owner, const TYPEDESC& type)
{
    static const std::map<VARTYPE, std::wstring> simple = {{VT_BSTR, L"s"}, {VT_BOOL, L"b"}, {VT_I2, L"i"},
        {VT_I4, L"l"}, {VT_UI1, L"y"}, {VT_VARIANT, L"v"}, {VT_DISPATCH, L"o"}, {VT_CY, L"c"}};
    raii::ComPtr<ITypeInfo> named;
    if (simple.count(type.vt)) return simple.at(type.vt);
    if (type.vt == VT_SAFEARRAY) return type.lptdesc->vt == VT_BSTR ? L"a" : L"a(?)";
    if (type.vt == VT_PTR) { // IDispatch* is an object, anything else behind a pointer is by reference
        std::wstring inner = typeCode(owner, *type.lptdesc);
        return inner == L"IDispatch" ? L"o" : L"&" + inner;
    }
    if (type.vt == VT_USERDEFINED && SUCCEEDED(owner->GetRefTypeInfo(type.hreftype, named.put())))
        return nameOf(named.get());
    return L"vt" + std::to_wstring(type.vt);
}

std::wstring valueText(const VARIANT& value, bool boolean)
{
    std::wstring shown = L"\"";
    raii::UniqueVariant number;
    if (V_VT(&value) == VT_BSTR) {
        for (wchar_t c : raii::toWString(V_BSTR(&value))) shown += c ? std::wstring(1, c) : L"\\0";
        return shown + L"\"";
    }
    if (V_VT(&value) == VT_DISPATCH) return V_DISPATCH(&value) ? L"(object)" : L"none";
    VariantChangeType(number.get(), const_cast<VARIANT*>(&value), 0, VT_I4);
    if (boolean) return V_I4(number.get()) ? L"true" : L"false";
    return std::to_wstring(V_I4(number.get()));
}

std::wstring signatureOf(ITypeInfo* info, const FUNCDESC& func)
{
    std::wstring text = func.elemdescFunc.tdesc.vt == VT_HRESULT ? L"" : L"(not HRESULT)";
    for (SHORT i = 0; i < func.cParams; ++i) {
        const PARAMDESC& param = func.lprgelemdescParam[i].paramdesc;
        std::wstring type = typeCode(info, func.lprgelemdescParam[i].tdesc);
        text += text.empty() ? L"" : L" ";
        if (param.wParamFlags & PARAMFLAG_FRETVAL) {
            text += L"-> " + type.substr(1);
            continue;
        }
        if (type[0] == L'&' && (~param.wParamFlags & (PARAMFLAG_FIN | PARAMFLAG_FOUT))) type = L"(not in-out)" + type;
        text += type + (param.wParamFlags & PARAMFLAG_FOPT ? L"?" : L"");
        if (param.wParamFlags & PARAMFLAG_FHASDEFAULT)
            text += L"=" + valueText(param.pparamdescex->varDefaultValue, type.back() == L'b');
    }
    return text;
}

// An enumeration's members or a record's fields in the form of kTypes.
std::wstring membersOf(ITypeInfo* info, const TYPEATTR& attr)
{
    std::wstring text;
    for (UINT i = 0; i < attr.cVars; ++i) {
        auto var = describe(info, i, &ITypeInfo::GetVarDesc, &ITypeInfo::ReleaseVarDesc);
        if (!var) return L"(unreadable)";
        text += (i ? L" " : L"") + nameOf(info, var->memid) +
                (attr.typekind == TKIND_ENUM ? L"=" + valueText(*var->lpvarValue, false)
                                             : L":" + typeCode(info, var->elemdescVar.tdesc));
    }
    return text;
}

// The type info an implemented type refers to (-1: a dual interface's vtable half).
raii::ComPtr<ITypeInfo> implemented(ITypeInfo* info, UINT index)
{
    HREFTYPE ref = 0;
    raii::ComPtr<ITypeInfo> result;
    if (SUCCEEDED(info->GetRefTypeOfImplType(index, &ref))) info->GetRefTypeInfo(ref, result.put());
    return result;
}

struct TypeLibrary : ComTest {
    void SetUp() override
    {
        ASSERT_EQ(S_OK, LoadTypeLibEx((programFolder() + L"Quillon.dll").c_str(), REGKIND_NONE, library_.put()));
    }
    raii::ComPtr<ITypeLib> library_;
};

} // namespace

// The library's attributes; each class a creatable predeclared app object whose default
// interface is dual, hidden and non-extensible, with every method in slot order from slot 7.
TEST_F(TypeLibrary, LibraryAndClassesWithTheirMethodsInSlotOrder)
{
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, library_->GetLibAttr(&attr));
    EXPECT_EQ(LIBID_Quillon, attr->guid);
    EXPECT_EQ(0x409u, attr->lcid);
    EXPECT_EQ(0x10000, attr->wMajorVerNum << 16 | attr->wMinorVerNum);
    library_->ReleaseTLibAttr(attr);
    raii::UniqueBstr name, help;
    ASSERT_EQ(S_OK, library_->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
    EXPECT_EQ(L"Quillon: Brannock Core Procedural Library",
              raii::toWString(name.get()) + L": " + raii::toWString(help.get()));

    const WORD classFlags = TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT | TYPEFLAG_FPREDECLID;
    const WORD dualFlags = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    for (const ServerClass& expected : kClasses) {
        SCOPED_TRACE(expected.name);
        raii::ComPtr<ITypeInfo> coclass;
        ASSERT_EQ(S_OK, library_->GetTypeInfoOfGuid(*expected.clsid, coclass.put()));
        EXPECT_EQ(expected.name, nameOf(coclass.get()));
        EXPECT_EQ(expectedHelp(expected.name), helpOf(coclass.get()));
        EXPECT_EQ(classFlags, typeAttr(coclass.get())->wTypeFlags & classFlags);
        auto dispatch = implemented(coclass.get(), 0);
        ASSERT_TRUE(dispatch);
        EXPECT_EQ(*expected.iid, typeAttr(dispatch.get())->guid);
        EXPECT_EQ(dualFlags, typeAttr(dispatch.get())->wTypeFlags & dualFlags);

        auto vtable = implemented(dispatch.get(), -1);
        ASSERT_TRUE(vtable) << "not dual";
        auto attr = typeAttr(vtable.get());
        EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
        ASSERT_EQ(expected.methods.size(), attr->cFuncs);
        for (UINT slot = 0; slot < attr->cFuncs; ++slot) {
            SCOPED_TRACE(expected.methods[slot].name);
            auto func = describe(vtable.get(), slot, &ITypeInfo::GetFuncDesc, &ITypeInfo::ReleaseFuncDesc);
            if (!func) continue; // reported; the other methods still tell
            EXPECT_EQ(expected.methods[slot].name, nameOf(vtable.get(), func->memid));
            EXPECT_EQ(expectedHelp(expected.methods[slot].name), helpOf(vtable.get(), func->memid));
            EXPECT_EQ(static_cast<SHORT>((7 + slot) * sizeof(void*)), func->oVft);
            EXPECT_EQ(expected.methods[slot].signature, signatureOf(vtable.get(), *func));
        }
    }
}

TEST_F(TypeLibrary, EnumerationsAndTheNetResourceRecord)
{
    std::map<std::wstring, std::wstring> seen;
    for (UINT i = 0; i < library_->GetTypeInfoCount(); ++i) {
        raii::ComPtr<ITypeInfo> info;
        ASSERT_EQ(S_OK, library_->GetTypeInfo(i, info.put()));
        auto attr = typeAttr(info.get());
        if (attr->typekind != TKIND_ENUM && attr->typekind != TKIND_RECORD) continue;
        seen[nameOf(info.get())] = membersOf(info.get(), *attr);
        EXPECT_EQ(expectedHelp(nameOf(info.get())), helpOf(info.get())) << nameOf(info.get());
    }
    EXPECT_EQ(std::size(kTypes), seen.size());
    for (const auto& [name, members] : kTypes) EXPECT_EQ(members, seen[name]) << name;
}
