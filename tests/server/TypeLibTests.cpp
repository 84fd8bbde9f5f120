// The type library as a client reads it: library attributes, the seven
// coclasses, every interface's methods in slot order with their signatures,
// defaults and help strings, the enumerations and the record.
//
// Signatures are written compactly: "name:type" per parameter, "&" for by
// reference (in and out), "?" for optional, "=value" for its default, and
// "-> type" for the [out, retval] result. Types: s string, b boolean,
// i 16-bit, l 32-bit, y byte, v variant, o object, c currency, a string
// array, or the name of an enumeration.
#include <vector>

#include "TestSupport.h"

using namespace testing_support;

namespace {

struct Method {
    const wchar_t* name;
    const wchar_t* signature;
    const wchar_t* help; // nullptr: none; L"*": any one-line text
};

struct Class {
    const wchar_t* name;
    const CLSID* clsid;
    const IID* iid;
    const wchar_t* help; // of the coclass; nullptr: not checked
    std::vector<Method> methods;
};

#define ANIMATED L"Animation included.  Responds to global registry setting WinAnimate"

const std::vector<Class>& classes()
{
    static const std::vector<Class> table = {
        {L"qfcLibCore", &CLSID_qfcLibCore, &IID__qfcLibCore,
         L"Pile of Procedures based on Application and Global requirements.",
         {
             {L"ShowRunOnceDialog",
              LR"(vDialogText:s?="" vDialogFileName:s?="" vHeadingText:s?="Welcome to {AppTitle}" )"
              LR"(vFormCaption:s?="{AppTitle}" vFormWidth:l?=6495 vFormHeight:l?=4800)",
              L"Displays the RunOnce welcome dialog window. Must have either DialogText OR DialogFileName, but not both."},
             {L"GetAppVersion", L"vFormatted:b?=false -> s", L"Returns application version number."},
             {L"InitCore", L"sAppName:s sAppTitle:s sAppPath:s iAppMajor:i iAppMinor:i iAppRevision:i",
              L"To be called prior to ANY subsequent calls the the DLL where any of the parameters are required by the DLL."},
         }},
        {L"qfcLibFiles", &CLSID_qfcLibFiles, &IID__qfcLibFiles, nullptr,
         {
             {L"CopyFile",
              LR"(vOwnerhWnd:l vFiles:&v vDestination:s vOperation:qcFileOpFunctions?=qcCopy )"
              LR"(vFlags:qcFileOpFlags?=0 vDialogText:s?="\0" vParseChar:s?="|" -> b)", nullptr},
             {L"AddDirSep", L"vPath:s -> s", L"Adds a backslash (\\), if necessary, to the Path given."},
             {L"AddURLSep", L"vPathName:s -> s", L"Adds a forward slash (/), if necessary, to the URL given."},
             {L"DeleteFile", LR"(vOwnerhWnd:l vFiles:&v vFlags:qcFileOpFlags?=0 vParseChar:s?="|" -> b)", nullptr},
             {L"DirExists", L"vPath:s -> b", nullptr},
             {L"FileExists", L"vFile:s -> b", nullptr},
             {L"FileExtSearch", L"vPath:s vFileExt:s vFileArray:&a vRecursive:b?=false -> l", nullptr},
             {L"GetFileExt", L"vFile:s -> s", nullptr},
             {L"BrowseForFolder",
              LR"(vOwnerhWnd:l vRootDir:s?="\0" vPrompt:s?="Select Folder" vFlags:&qcBrowseInfoFlags?=qcFolders -> s)",
              L"Displays the Windows Folder Browser."},
             {L"GetDirSize", L"vPath:s vRecursive:b?=false -> c", L"Returns the directory size in bytes"},
             {L"GetShortFileName", L"vFile:s -> s", nullptr},
             {L"GetSystemFolder", L"vFolderToReturn:qcSystemFolders -> s", nullptr},
             {L"IsLongFileName", L"vFile:s -> b", nullptr},
             {L"IsShortFileName", L"vFileName:s -> b", nullptr},
             {L"MakePath", L"vDirName:s -> b", nullptr},
             {L"GetFileTitle", L"vFile:s vWithExt:b?=false -> s",
              L"Returns the filename portion of vFileName (Must be fully qualified)"},
             {L"GetFilePath", L"vFile:s -> s", L"Returns the path portion of the vFileName. (Must be fully qualified)"},
             {L"GetOpenFileName",
              LR"(vDefExtension:s vCommonDlgObject:&o vInitDirectory:s?="" vExtraFilters:s?="" vDialogTitle:s?="" -> s)",
              L"Returns the user selected filename (uses CommonDlg)"},
             {L"GetSaveFileName",
              LR"(vDefExtension:s vCommonDlgObject:&o vInitDirectory:s?="" vExtraFilters:s?="" vDialogTitle:s?="" -> s)",
              L"Returns the user selected filename (uses CommonDlg)"},
         }},
        {L"qfcLibForms", &CLSID_qfcLibForms, &IID__qfcLibForms, nullptr,
         {
             {L"FormRemoveX", L"vForm:&o -> b", nullptr},
             {L"GradientForm", L"vForm:&o vColor:qcGradientColors?=qcBlue vInvert:y?=0", L"*"},
             {L"BringWindowToFront", L"vForm:&o vState:qcZOrderConstants?=qcBringToFront", L"Set a windows zorder"},
             {L"CenterForm", L"vForm:&o vParent:&o?=none", L"Centers a form on the screen"},
             {L"CloseWindow", L"vForm:&o vStyle:qcCloseWindowStyles?=qcBottom vSpeed:i?=150",
              L"Closes a window. " ANIMATED},
             {L"EtchedLine", L"vForm:&o x1:i y1:i vLengthOfLine:i vVertical:y?=0", L"Draws a 3D line on a window"},
             {L"FormClose", L"vForm:&o vStyle:qcCloseWindowStyles?=qcBottom",
              L"Closes a window, saving its coordinates in the application's registry structure.  " ANIMATED},
             {L"FormOpen", L"vForm:&o vParent:&o?=none vDisplayForm:b?=false vShowModal:&b?=false",
              L"Displays a window, setting it coordinates to those specified by proc FormClose().  Centers "
              L"unmodified window by default."},
             {L"SlideWindow", L"vForm:&o vEndWidth:l vEndHeight:l vCenterOnComplete:y?=0 vSpeed:i?=150",
              L"Shifts window to specified size.  " ANIMATED},
         }},
        {L"qfcLibNetwork", &CLSID_qfcLibNetwork, &IID__qfcLibNetwork, L"Network Procedures",
         {
             {L"GetHTTPSource",
              LR"(vURL:s vSourceCode:&v sMethod:s?="GET" vBody:v? vUserName:s?="" vPassword:s?="" )"
              LR"(bReturnXML:b?=false iErrorNum:&l?=0 sErrorMSG:&s? -> b)", nullptr},
             {L"GetUserID", L"-> s", L"returns current user ID"},
             {L"OpenURL", L"vLinkName:s vFormHwnd:l?=0 -> b", nullptr},
             {L"GetMachineName", L"-> s", L"Returns the local machine's name"},
             {L"MapNetDriveDialog", L"vFormHwnd:l?=0 -> l", nullptr},
             {L"MapNetDrive",
              LR"(vPath:s vDrive:s vUserName:s?="" vPassword:s?="" vFormHwnd:l?=0 vPermConnect:&b?=false -> l)",
              nullptr},
             {L"MapNetPrinterDialog", L"vFormHwnd:l?=0 -> l", nullptr},
             {L"UnMapNetDrive", L"vDrive:s vPermDisconnect:b?=false vForce:b?=false -> l", nullptr},
             {L"UnMapNetDriveDialog", L"vFormHwnd:l -> l", nullptr},
             {L"UnMapNetPrinterDialog", L"vFormHwnd:l?=0 -> l", nullptr},
         }},
        {L"qfcLibRegistry", &CLSID_qfcLibRegistry, &IID__qfcLibRegistry, nullptr,
         {
             {L"KeyDelete", L"vSubKey:s vBaseKey:qcRegBaseKeys?=qcApps -> b", nullptr},
             {L"KeyDeleteValue", LR"(vValue:s vSubKey:s?="" vBaseKey:qcRegBaseKeys?=qcApps -> b)", nullptr},
             {L"RegFileAssociate",
              LR"(vExtension:s vDescription:s?="" vOpenWithExe:s?="" vCommandLineParam:s?="" vIconPath:s?="" )"
              LR"(vIconIndex:i?=0 vRemove:b?=false -> b)", nullptr},
             {L"RegDeleteValue", L"vKeyRoot:&qcRegistryKeys vSubKey:s vValue:s -> b", nullptr},
             {L"KeyGet", LR"(vValue:s vDefaultData:s?="" vSubKey:s?="" vBaseKey:qcRegBaseKeys?=qcApps -> s)", nullptr},
             {L"KeySet", LR"(vValue:s vData:s?="" vSubKey:s?="" vBaseKey:qcRegBaseKeys?=qcApps -> b)", nullptr},
             {L"RegDeleteKey", L"vKeyRoot:qcRegistryKeys vSubKey:s -> b", nullptr},
             {L"RegKeySetString", LR"(vKeyRoot:qcRegistryKeys vSubKey:s vValue:s?="{Default}" vData:s?="" -> b)",
              nullptr},
             {L"RegSetRunKey",
              LR"(vValue:s vData:s?="" vKeyRoot:qcRegistryKeys?=HKEY_CURRENT_USER vMode:qcRegRunTypes?=qcRun )"
              LR"(vRemove:b?=false -> b)", nullptr},
             {L"RegKeyGetString",
              LR"(vKeyRoot:qcRegistryKeys vSubKey:s vValue:s?="{Default}" vDefaultData:s?="" -> s)", nullptr},
         }},
        {L"qfcLibStrings", &CLSID_qfcLibStrings, &IID__qfcLibStrings, nullptr,
         {
             {L"ProperCase", LR"(vText:s vArgs:s?="@\/ .([" -> s)", nullptr},
             {L"UnQuoteString", L"vQuotedString:s -> s", nullptr},
             {L"DecryptPassword", L"vKey:i vPassword:s vCaseSensitive:b?=false -> s", nullptr},
             {L"EncryptPassword", L"vKey:i vPassword:s vCaseSensitive:b?=false -> s", nullptr},
             {L"PhoneFormat", L"vPhoneNumber:s vCompress:b?=false vTextControl:&o?=none -> s", nullptr},
             {L"StringReplace", L"vText:s vSourceChar:s vTargetChar:s vCaseSensitive:y?=0 -> s", nullptr},
             {L"StringStrip", L"vStr2Strip:&s vCharSet:&s -> s", nullptr},
             {L"SwapInt", L"vInt1:&i vInt2:&i", nullptr},
             {L"SwapStr", L"vText1:&s vText2:&s", nullptr},
         }},
        {L"qfcLibWindows", &CLSID_qfcLibWindows, &IID__qfcLibWindows, nullptr,
         {
             // widl cannot store a string default on a by-reference string;
             // an omitted vFileName reaches the method as an empty string.
             {L"SetWallpaper", L"vFileName:&s? -> l", nullptr},
             {L"ExecuteCommand", L"vCommandLine:s vWaitForObject:b?=false", nullptr},
             {L"OpenCPApplet", L"vAppIndex:qcCPApplets", nullptr},
             {L"ShellCommand",
              LR"(vFileEmailURL:s vParameters:s?="" vShowAction:qcShowActions?=SA_Open )"
              LR"(vShowState:qcShowStates?=SW_SHOWNORMAL vDefaultDirectory:s?="" vOwnerhWnd:l?=-1 )"
              LR"(vShowErrorMsg:b?=true -> b)", nullptr},
         }},
    };
    return table;
}

struct Enumeration {
    const wchar_t* name;
    const wchar_t* members;
};

const Enumeration kEnumerations[] = {
    {L"qcRegBaseKeys", L"qcApps=1 qcBrannock=2 qcUser=3"},
    {L"qcRegistryKeys", L"HKEY_CLASSES_ROOT=-2147483648 HKEY_CURRENT_USER=-2147483647 HKEY_LOCAL_MACHINE=-2147483646 "
                        L"HKEY_USERS=-2147483645 HKEY_PERFORMANCE_DATA=-2147483644 HKEY_CURRENT_CONFIG=-2147483643 "
                        L"HKEY_DYN_DATA=-2147483642"},
    {L"qcOSTypes", L"OS_Unknown=0 OS_Win32=32 OS_Win95=95 OS_Win98=98 OS_WinNT_351=351 OS_WinNT_40=40 OS_Win2000=2000"},
    {L"qcRegRunTypes", L"qcRun=1 qcRunOnce=2 qcRunServices=3 qcRunServicesOnce=4"},
    {L"qcFileOpFunctions", L"qcMove=1 qcCopy=2 qcDelete=3 qcRename=4"},
    {L"qcFileOpFlags", L"qcMultiFiles=1 qcAutoRename=8 qcSilent=4 qcNoConfirmation=16 qcAllowUndo=64 qcFilesOnly=128 "
                       L"qcSimpleProgress=256 qcNoCofirmMkDir=512"},
    {L"qcSystemFolders", L"qcDesktop=0 qcMyDocuments=5 qcFavorites=6 qcProgramFiles=64 qcWindows=128 qcWindowsSystem=256"},
    {L"qcBrowseInfoFlags", L"qcFolders=1 qcComputers=2 qcPrinters=3"},
    {L"qcCloseWindowStyles", L"qcBottom=1 qcTop=2 qcLeft=3 qcRight=4 qcImplode=5"},
    {L"qcGradientColors", L"qcBlue=1 qcGreen=2 qcRed=3"},
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
    {L"qcNetType", L"qcAny=0 qcDisk=1 qcPrint=2"},
    {L"qcNetUsage", L"qcConnectable=1 qcContainer=2 qcReserved=-2147483648"},
    {L"qcNetInfoLevel", L"qcUniversal=1 qcRemote=2"},
};

// Owner of one TYPEATTR, FUNCDESC or VARDESC borrowed from a type info.
template <class T, void (STDMETHODCALLTYPE ITypeInfo::*Release)(T*)>
class Borrowed {
public:
    Borrowed(ITypeInfo* info, T* value) : info_(info), value_(value) {}
    ~Borrowed() { if (value_) (info_->*Release)(value_); }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    const T* operator->() const { return value_; }
    explicit operator bool() const { return value_ != nullptr; }

private:
    ITypeInfo* info_;
    T* value_;
};

using TypeAttr = Borrowed<TYPEATTR, &ITypeInfo::ReleaseTypeAttr>;
using FuncDesc = Borrowed<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>;
using VarDesc = Borrowed<VARDESC, &ITypeInfo::ReleaseVarDesc>;

TYPEATTR* typeAttr(ITypeInfo* info) { TYPEATTR* a = nullptr; info->GetTypeAttr(&a); return a; }
FUNCDESC* funcDesc(ITypeInfo* info, UINT i)
{
    FUNCDESC* f = nullptr;
    HRESULT hr = info->GetFuncDesc(i, &f);
    EXPECT_EQ(S_OK, hr) << "a client cannot read this method's description";
    return f;
}
VARDESC* varDesc(ITypeInfo* info, UINT i) { VARDESC* v = nullptr; info->GetVarDesc(i, &v); return v; }

std::wstring nameOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    raii::UniqueBstr name;
    info->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    return raii::toWString(name.get());
}

std::wstring helpOf(ITypeInfo* info, MEMBERID id = MEMBERID_NIL)
{
    raii::UniqueBstr help;
    info->GetDocumentation(id, nullptr, help.put(), nullptr, nullptr);
    return raii::toWString(help.get());
}

long asLong(const VARIANT& value)
{
    raii::UniqueVariant copy;
    return SUCCEEDED(VariantChangeType(copy.get(), const_cast<VARIANT*>(&value), 0, VT_I4)) ? V_I4(copy.get()) : 0x7fffffff;
}

std::wstring typeCode(ITypeInfo* owner, const TYPEDESC& type)
{
    switch (type.vt) {
    case VT_BSTR: return L"s";
    case VT_BOOL: return L"b";
    case VT_I2: return L"i";
    case VT_I4: return L"l";
    case VT_UI1: return L"y";
    case VT_VARIANT: return L"v";
    case VT_DISPATCH: return L"o";
    case VT_CY: return L"c";
    case VT_SAFEARRAY: return type.lptdesc->vt == VT_BSTR ? L"a" : L"a(?)";
    case VT_PTR: {
        std::wstring inner = typeCode(owner, *type.lptdesc);
        return inner == L"IDispatch" ? L"o" : L"&" + inner;
    }
    case VT_USERDEFINED: {
        raii::ComPtr<ITypeInfo> referenced;
        if (FAILED(owner->GetRefTypeInfo(type.hreftype, referenced.put()))) return L"?";
        return nameOf(referenced.get());
    }
    default: return L"vt" + std::to_wstring(type.vt);
    }
}

// Members of an enumeration as "name=value name=value ...", in declaration order.
std::wstring enumMembers(ITypeInfo* info)
{
    TypeAttr attr(info, typeAttr(info));
    std::wstring text;
    for (UINT i = 0; attr && i < attr->cVars; ++i) {
        VarDesc var(info, varDesc(info, i));
        if (!text.empty()) text += L" ";
        text += nameOf(info, var->memid) + L"=" + std::to_wstring(asLong(*var->lpvarValue));
    }
    return text;
}

std::wstring enumMemberNamed(ITypeInfo* owner, const std::wstring& enumName, long value)
{
    raii::ComPtr<ITypeLib> library;
    UINT index = 0;
    raii::ComPtr<ITypeInfo> found;
    MEMBERID id = 0;
    USHORT count = 1;
    std::wstring name = enumName;
    if (FAILED(owner->GetContainingTypeLib(library.put(), &index)) ||
        FAILED(library->FindName(name.data(), 0, found.put(), &id, &count)) || count == 0)
        return std::to_wstring(value);
    std::wstring members = enumMembers(found.get());
    std::wstring wanted = L"=" + std::to_wstring(value);
    for (size_t start = 0; start < members.size();) {
        size_t end = members.find(L' ', start);
        std::wstring member = members.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        size_t equals = member.find(L'=');
        if (member.substr(equals) == wanted) return member.substr(0, equals);
        if (end == std::wstring::npos) break;
        start = end + 1;
    }
    return std::to_wstring(value);
}

std::wstring defaultText(ITypeInfo* owner, const std::wstring& type, const VARIANT& value)
{
    std::wstring base = type[0] == L'&' ? type.substr(1) : type;
    if (V_VT(&value) == VT_BSTR) {
        std::wstring text = raii::toWString(V_BSTR(&value)), shown;
        for (wchar_t c : text) shown += c == L'\0' ? std::wstring(L"\\0") : std::wstring(1, c);
        return L"\"" + shown + L"\"";
    }
    if (V_VT(&value) == VT_DISPATCH) return V_DISPATCH(&value) ? L"(object)" : L"none";
    long number = asLong(value);
    if (base == L"b") return number ? L"true" : L"false";
    if (base.size() > 1) return enumMemberNamed(owner, base, number);
    return std::to_wstring(number);
}

// One method of an interface's vtable half in the compact signature form.
std::wstring signatureOf(ITypeInfo* info, const FUNCDESC& func)
{
    std::vector<raii::UniqueBstr> names(func.cParams + 1);
    std::vector<BSTR> raw(names.size());
    UINT count = 0;
    info->GetNames(func.memid, raw.data(), static_cast<UINT>(raw.size()), &count);
    for (UINT i = 0; i < count; ++i) names[i].reset(raw[i]);
    std::wstring text;
    for (SHORT i = 0; i < func.cParams; ++i) {
        const ELEMDESC& param = func.lprgelemdescParam[i];
        const USHORT flags = param.paramdesc.wParamFlags;
        std::wstring type = typeCode(info, param.tdesc);
        std::wstring part;
        if (flags & PARAMFLAG_FRETVAL)
            part = L"-> " + type.substr(1);
        else {
            if (type[0] == L'&' && (flags & (PARAMFLAG_FIN | PARAMFLAG_FOUT)) != (PARAMFLAG_FIN | PARAMFLAG_FOUT))
                type = L"(not in-out)" + type;
            std::wstring name = i + 1u < count ? raii::toWString(names[i + 1].get()) : L"?";
            part = name + L":" + type;
            if (flags & PARAMFLAG_FOPT) part += L"?";
            if (flags & PARAMFLAG_FHASDEFAULT)
                part += L"=" + defaultText(info, type, param.paramdesc.pparamdescex->varDefaultValue);
        }
        text += (text.empty() ? L"" : L" ") + part;
    }
    return text;
}

class TypeLibrary : public ComTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(S_OK, LoadTypeLibEx((programFolder() + L"Quillon.dll").c_str(), REGKIND_NONE, library_.put()));
    }

    raii::ComPtr<ITypeInfo> infoOf(REFGUID guid)
    {
        raii::ComPtr<ITypeInfo> info;
        EXPECT_EQ(S_OK, library_->GetTypeInfoOfGuid(guid, info.put()));
        return info;
    }

    raii::ComPtr<ITypeInfo> infoNamed(const wchar_t* name)
    {
        raii::ComPtr<ITypeInfo> info;
        MEMBERID id = 0;
        USHORT count = 1;
        std::wstring text = name;
        if (FAILED(library_->FindName(text.data(), 0, info.put(), &id, &count)) || count == 0) info.reset();
        return info;
    }

    raii::ComPtr<ITypeLib> library_;
};

} // namespace

TEST_F(TypeLibrary, LibraryAttributes)
{
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(S_OK, library_->GetLibAttr(&attr));
    EXPECT_EQ(LIBID_Quillon, attr->guid);
    EXPECT_EQ(1, attr->wMajorVerNum);
    EXPECT_EQ(0, attr->wMinorVerNum);
    EXPECT_EQ(0x409u, attr->lcid);
    library_->ReleaseTLibAttr(attr);

    raii::UniqueBstr name, help;
    ASSERT_EQ(S_OK, library_->GetDocumentation(-1, name.put(), help.put(), nullptr, nullptr));
    EXPECT_STREQ(L"Quillon", name.get());
    EXPECT_STREQ(L"Brannock Core Procedural Library", help.get());
}

TEST_F(TypeLibrary, EveryClassIsACreatablePredeclaredAppObjectWithOneDefaultDualInterface)
{
    const WORD classFlags = TYPEFLAG_FCANCREATE | TYPEFLAG_FAPPOBJECT | TYPEFLAG_FPREDECLID;
    const WORD interfaceFlags = TYPEFLAG_FDUAL | TYPEFLAG_FHIDDEN | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
    for (const Class& expected : classes()) {
        SCOPED_TRACE(expected.name);
        auto coclass = infoOf(*expected.clsid);
        ASSERT_TRUE(coclass);
        TypeAttr attr(coclass.get(), typeAttr(coclass.get()));
        EXPECT_EQ(TKIND_COCLASS, attr->typekind);
        EXPECT_EQ(classFlags, attr->wTypeFlags & classFlags);
        EXPECT_EQ(expected.name, nameOf(coclass.get()));
        if (expected.help) {
            EXPECT_EQ(expected.help, helpOf(coclass.get()));
        }
        ASSERT_EQ(1, attr->cImplTypes);
        INT implFlags = 0;
        coclass->GetImplTypeFlags(0, &implFlags);
        EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, implFlags);

        HREFTYPE ref = 0;
        raii::ComPtr<ITypeInfo> dispatch;
        ASSERT_EQ(S_OK, coclass->GetRefTypeOfImplType(0, &ref));
        ASSERT_EQ(S_OK, coclass->GetRefTypeInfo(ref, dispatch.put()));
        TypeAttr dispatchAttr(dispatch.get(), typeAttr(dispatch.get()));
        EXPECT_EQ(*expected.iid, dispatchAttr->guid);
        EXPECT_EQ(L"_" + std::wstring(expected.name), nameOf(dispatch.get()));
        EXPECT_EQ(interfaceFlags, dispatchAttr->wTypeFlags & interfaceFlags);
    }
}

TEST_F(TypeLibrary, MethodsInSlotOrderWithSignaturesDefaultsAndHelpStrings)
{
    for (const Class& expected : classes()) {
        SCOPED_TRACE(expected.name);
        auto dispatch = infoOf(*expected.iid);
        ASSERT_TRUE(dispatch);
        HREFTYPE ref = 0;
        raii::ComPtr<ITypeInfo> vtable;
        ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(-1, &ref)) << "not dual";
        ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(ref, vtable.put()));
        TypeAttr attr(vtable.get(), typeAttr(vtable.get()));
        ASSERT_EQ(TKIND_INTERFACE, attr->typekind);
        EXPECT_TRUE(attr->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
        ASSERT_EQ(expected.methods.size(), attr->cFuncs);

        MEMBERID previous = MEMBERID_NIL;
        for (UINT slot = 0; slot < attr->cFuncs; ++slot) {
            const Method& method = expected.methods[slot];
            SCOPED_TRACE(method.name);
            FuncDesc func(vtable.get(), funcDesc(vtable.get(), slot));
            if (!func) continue; // reported; the other methods still tell
            EXPECT_EQ(method.name, nameOf(vtable.get(), func->memid));
            EXPECT_EQ(static_cast<SHORT>((7 + slot) * sizeof(void*)), func->oVft);
            EXPECT_EQ(VT_HRESULT, func->elemdescFunc.tdesc.vt);
            EXPECT_EQ(INVOKE_FUNC, func->invkind);
            EXPECT_TRUE(slot == 0 || func->memid > previous) << "dispatch identifiers out of slot order";
            previous = func->memid;
            EXPECT_EQ(method.signature, signatureOf(vtable.get(), *func.operator->()));
            std::wstring help = helpOf(vtable.get(), func->memid);
            if (!method.help) {
                EXPECT_EQ(L"", help);
            } else if (std::wstring(method.help) == L"*") {
                EXPECT_FALSE(help.empty());
            } else {
                EXPECT_EQ(method.help, help);
            }
        }
    }
}

TEST_F(TypeLibrary, EnumerationsCarryTheirMembersAndValues)
{
    for (const Enumeration& expected : kEnumerations) {
        SCOPED_TRACE(expected.name);
        auto info = infoNamed(expected.name);
        ASSERT_TRUE(info);
        TypeAttr attr(info.get(), typeAttr(info.get()));
        EXPECT_EQ(TKIND_ENUM, attr->typekind);
        EXPECT_EQ(expected.members, enumMembers(info.get()));
        if (std::wstring(expected.name).rfind(L"qcNet", 0) == 0) {
            EXPECT_EQ(L"Network Procedures", helpOf(info.get()));
        }
    }
}

TEST_F(TypeLibrary, NetResourceRecordHasItsEightFieldsInOrder)
{
    auto info = infoNamed(L"qcNetResource");
    ASSERT_TRUE(info);
    TypeAttr attr(info.get(), typeAttr(info.get()));
    ASSERT_EQ(TKIND_RECORD, attr->typekind);
    std::wstring fields;
    for (UINT i = 0; i < attr->cVars; ++i) {
        VarDesc var(info.get(), varDesc(info.get(), i));
        fields += (i ? L" " : L"") + nameOf(info.get(), var->memid) + L":" +
                  typeCode(info.get(), var->elemdescVar.tdesc);
    }
    EXPECT_EQ(L"qcScope:l qcType:l qcDisplayType:l qcUsage:l qcLocalName:s qcRemoteName:s qcComment:s qcProvider:s",
              fields);
    EXPECT_EQ(L"Network Procedures", helpOf(info.get()));
}
