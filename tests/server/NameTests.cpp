// Every text the library hands to the system as a name (a registry key or value, a file, a folder, a drive, a
// command line) is refused when a NUL has anything after it, or when it is longer than the system takes. A row
// per name parameter of the type library, with valid other arguments, so a text cut at its NUL would reach
// something real; every other text parameter is listed as plain text, so a new one fails until it is placed.
#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "ScratchFolder.h"
#include "ServerClasses.h"
#include "TestSupport.h"
#include "server/Marshal.h"

using namespace testing_support;

namespace {

// An argument: a text, a number written "#n", or "[]" for an empty array of texts.
struct Row {
    const CLSID* clsid;
    const wchar_t* method;
    std::vector<std::wstring> args;
    std::vector<size_t> names;    // the name arguments, tried one at a time
    const wchar_t* refused;       // what the call gives: its result as text, or "error n" when it raised
    std::vector<size_t> limited = {};  // those refused the same way when over-long
};

// Text parameters that are no names, by method (the welcome dialog's file is a name whose refusal shows a window).
const wchar_t kPlainTexts[] =
    L"ShowRunOnceDialog: vDialogText vDialogFileName vHeadingText vFormCaption InitCore: sAppName "
    L"CopyFile: vDialogText vParseChar AddDirSep: vPath AddURLSep: vPathName DeleteFile: vParseChar GetFileExt: vFile "
    L"BrowseForFolder: vPrompt IsLongFileName: vFile IsShortFileName: vFileName GetFileTitle: vFile GetFilePath: vFile "
    L"GetOpenFileName: vDefExtension vInitDirectory vExtraFilters vDialogTitle "
    L"GetSaveFileName: vDefExtension vInitDirectory vExtraFilters vDialogTitle "
    L"GetHTTPSource: vURL vSourceCode sMethod vBody vUserName vPassword sErrorMSG RegFileAssociate: vDescription "
    L"KeyGet: vDefaultData KeySet: vData RegKeySetString: vData RegKeyGetString: vDefaultData ProperCase: vText vArgs "
    L"UnQuoteString: vQuotedString DecryptPassword: vPassword EncryptPassword: vPassword PhoneFormat: vPhoneNumber "
    L"StringReplace: vText vSourceChar vTargetChar StringStrip: vStr2Strip vCharSet SwapStr: vText1 vText2";

// The row's arguments with the one at `name` replaced: by the text with "\0x" appended, or by `text`.
latebound::Args argsOf(const Row& row, size_t name, const std::wstring& text)
{
    latebound::Args args;
    for (size_t i = 0; i < row.args.size(); ++i) {
        const std::wstring& arg = row.args[i];
        if (i == name) {
            args.text(text.empty() ? arg + std::wstring(1, L'\0') + L"x" : text);
        } else if (arg == L"[]") {
            raii::UniqueVariant none;
            V_VT(none.get()) = VT_ARRAY | VT_BSTR;
            V_ARRAY(none.get()) = SafeArrayCreateVector(VT_BSTR, 0, 0);
            args.value(*none.get());
        } else if (!arg.empty() && arg[0] == L'#') {
            args.i4(std::stol(arg.substr(1)));
        } else {
            args.text(arg);
        }
    }
    return args;
}

std::wstring outcome(const latebound::Result& result)
{
    return result.ok() ? result.text() : L"error " + std::to_wstring(result.scode & 0xFFFF);
}

bool isText(const ELEMDESC& param)
{
    const VARTYPE vt = param.tdesc.vt == VT_PTR ? param.tdesc.lptdesc->vt : param.tdesc.vt;
    return (vt == VT_BSTR || vt == VT_VARIANT) && !(param.paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
}

} // namespace

TEST(Names, HoldingANulBeforeMoreTextOrTooLongAreRefusedAndChangeNothing)
{
    raii::ComScope com;
    ScratchCurrentUser user(L"NulNames");
    files_testing::ScratchFolder scratch(L"NulNames");
    const std::wstring file = scratch.file(L"a.txt"), folder = scratch.path(), made = scratch / L"made";
    const std::wstring target = scratch.folder(L"target") + L"\\", app = L"Software\\NulNames", exe = L"C:\\A.EXE";
    initCore(L"NulNames", folder);
    // What a name cut at its NUL would reach: the value and key every registry row names.
    const std::wstring appKey = L"Software\\Brannock\\Apps\\NulNames";
    for (const std::wstring& key : {app, appKey, appKey + L"\\Sub"})
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Value", REG_SZ, L"v", sizeof(L"v")));
    const std::wstring hkcu = L"#" + std::to_wstring(static_cast<long>(0x80000001)), silent = L"#1556";
    const std::vector<std::wstring> init = {L"NulNames", L"NulNames", folder, L"#1", L"#1", L"#1"},
                                    copy = {L"#0", file, target, L"#2", silent},
                                    map = {L"\\\\quillon-nohost\\noshare", L"Q:", L"u", L"p"};
    const CLSID *core = &CLSID_qfcLibCore, *files = &CLSID_qfcLibFiles, *network = &CLSID_qfcLibNetwork,
                *registry = &CLSID_qfcLibRegistry, *windows = &CLSID_qfcLibWindows;
    const Row rows[] = {
        {core, L"InitCore", init, {1, 2}, L"error 5", {2}},
        {files, L"CopyFile", copy, {1}, L"error 5"},
        {files, L"CopyFile", copy, {2}, L"False", {2}},
        {files, L"DeleteFile", {L"#0", file, silent}, {1}, L"error 5"},
        {files, L"DirExists", {folder}, {0}, L"False", {0}},
        {files, L"FileExists", {file}, {0}, L"error 5", {0}},
        {files, L"FileExtSearch", {folder, L"txt", L"[]"}, {0, 1}, L"-1", {0, 1}},
        {files, L"BrowseForFolder", {L"#0", folder}, {1}, L"error 5", {1}},
        {files, L"GetDirSize", {folder}, {0}, L"-1", {0}},
        {files, L"GetShortFileName", {file}, {0}, L"error 5", {0}},
        {files, L"MakePath", {made}, {0}, L"False", {0}},
        {network, L"OpenURL", {folder}, {0}, L"False", {0}},
        {network, L"MapNetDrive", map, {0, 2, 3}, L"87", {0, 2, 3}},
        {network, L"MapNetDrive", map, {1}, L"-1", {1}},
        {network, L"UnMapNetDrive", {L"Q:"}, {0}, L"-1", {0}},
        {registry, L"KeySet", {L"Value", L"data", L"Sub"}, {0, 2}, L"False"},
        {registry, L"KeyGet", {L"Value", L"fallback", L"Sub"}, {0, 2}, L"fallback"},
        {registry, L"KeyDeleteValue", {L"Value", L"Sub"}, {0, 1}, L"False"},
        {registry, L"KeyDelete", {L"Sub"}, {0}, L"False"},
        {registry, L"RegKeySetString", {hkcu, app, L"Value", L"w"}, {1, 2}, L"False"},
        {registry, L"RegKeyGetString", {hkcu, app, L"Value", L"fallback"}, {1, 2}, L"fallback"},
        {registry, L"RegDeleteValue", {hkcu, app, L"Value"}, {1, 2}, L"False"},
        {registry, L"RegDeleteKey", {hkcu, app}, {1}, L"False"},
        {registry, L"RegFileAssociate", {L".nulnames", L"d", exe, L"%1", exe}, {0, 2, 3, 4}, L"False", {2, 3, 4}},
        {registry, L"RegSetRunKey", {L"NulNames", L"app.exe"}, {0, 1}, L"False", {1}},
        {windows, L"ExecuteCommand", {L"cmd.exe /c mkdir \"" + made + L"\""}, {0}, L"error 5", {0}},
        {windows, L"ShellCommand", {L"cmd.exe", L"/c mkdir made", L"#0", L"#0", folder, L"#-1", L"#0"}, {0, 1, 4},
         L"False", {0, 1, 4}},
        {windows, L"SetWallpaper", {file}, {0}, L"0", {0}},
    };
    const std::vector<std::wstring> before = registryLines(HKEY_CURRENT_USER, L"Software");
    std::set<std::wstring> texts, placed;  // "Method.parameter"
    std::map<std::wstring, std::vector<std::wstring>> parameters;
    for (const ServerClass& server : kClasses) {
        raii::ComPtr<ITypeInfo> info;
        ASSERT_EQ(S_OK, create<IDispatch>(*server.clsid, IID_IDispatch)->GetTypeInfo(0, 0, info.put()));
        forEachMethod(info.get(), [&](const FUNCDESC& func, const std::vector<std::wstring>& names) {
            parameters[names[0]].assign(names.begin() + 1, names.end());
            for (SHORT p = 0; p < func.cParams; ++p)
                if (isText(func.lprgelemdescParam[p])) texts.insert(names[0] + L"." + names[p + 1]);
        });
    }
    const std::wstring tooLong(40000, L'x');
    for (const Row& row : rows) {
        raii::ComPtr<IDispatch> object = create<IDispatch>(*row.clsid, IID_IDispatch);
        for (size_t name : row.names) {
            SCOPED_TRACE(testing::Message() << row.method << " argument " << name);
            ASSERT_LT(name, parameters[row.method].size());
            placed.insert(row.method + (L"." + parameters[row.method][name]));
            EXPECT_EQ(row.refused, outcome(latebound::call(object.get(), row.method, argsOf(row, name, L""))));
            if (std::find(row.limited.begin(), row.limited.end(), name) == row.limited.end()) continue;
            EXPECT_EQ(row.refused, outcome(latebound::call(object.get(), row.method, argsOf(row, name, tooLong))))
                << "over-long";
        }
    }
    EXPECT_EQ(before, registryLines(HKEY_CURRENT_USER, L"Software")) << "a refused call wrote to the registry";
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L".nulnames"));
    EXPECT_TRUE(files_testing::exists(file)) << "deleted";
    EXPECT_FALSE(files_testing::exists(target + L"a.txt") || files_testing::exists(made)) << "made";

    std::wistringstream plain(kPlainTexts);
    std::wstring method;
    for (std::wstring word; plain >> word;) {
        if (word.back() == L':') method = word.substr(0, word.size() - 1);
        else EXPECT_TRUE(placed.insert(method + L"." + word).second) << method << L"." << word << " twice";
    }
    for (const std::wstring& text : texts) EXPECT_TRUE(placed.count(text)) << text << ": no row, and not a plain text";
}

// Trailing NULs (from other programs' fixed-length buffers) are no part of a name; the limits are the system's.
TEST(Names, CheckedNamesDropTrailingNulsAndKeepTheLimits)
{
    using quillon::NameKind;
    struct Case { std::wstring text; NameKind kind; long kept; };  // -1: refused
    const auto x = [](size_t length) { return std::wstring(length, L'x'); };
    const Case cases[] = {
        {std::wstring(L"a\0\0\0", 4), NameKind::Name, 1}, {std::wstring(1, L'\0'), NameKind::Path, 0},
        {std::wstring(L"a\0b", 3), NameKind::Name, -1},   {x(32767), NameKind::Path, 32767},
        {x(32768), NameKind::Path, -1},                   {x(32766), NameKind::CommandLine, 32766},
        {x(32767), NameKind::CommandLine, -1},            {x(99999), NameKind::Name, 99999},
    };
    for (const Case& c : cases) {
        const quillon::NameIfWhole name = quillon::wholeName(c.text, c.kind);
        EXPECT_EQ(c.kept < 0 ? L"(refused)" : c.text.substr(0, c.kept), name ? name->text() : L"(refused)");
    }
}
