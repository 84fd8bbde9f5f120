// Every text the library hands to the system as a name (a registry key or value, a file, a folder, a drive, a
// command line) is refused when a NUL has anything after it: the system would stop at the NUL and reach a
// shorter name. One row per name parameter; the other arguments of each row are valid, so a text cut at its
// NUL would reach something real. Dialog-showing methods are left out (their names are checked the same way).
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

// An argument: a text, or a number written "#n"; the row's name argument gets "\0x" appended.
struct Row {
    const CLSID* clsid;
    const wchar_t* method;
    std::vector<std::wstring> args;
    size_t name;
    const wchar_t* refused; // what the call gives: its result as text, or "error n" when it raised
};

latebound::Args argsOf(const Row& row)
{
    latebound::Args args;
    for (size_t i = 0; i < row.args.size(); ++i) {
        const std::wstring& arg = row.args[i];
        if (i == row.name) args.text(arg + std::wstring(1, L'\0') + L"x");
        else if (!arg.empty() && arg[0] == L'#') args.i4(std::stol(arg.substr(1)));
        else args.text(arg);
    }
    return args;
}

// What the call gave: "error n" when it raised, else its result as text.
std::wstring outcome(const latebound::Result& result)
{
    if (!result.ok()) return L"error " + std::to_wstring(result.scode & 0xFFFF);
    return V_VT(&result.value()) == VT_EMPTY ? L"(nothing)" : result.text();
}

} // namespace

TEST(Names, HoldingANulBeforeMoreTextAreRefusedAndChangeNothing)
{
    raii::ComScope com;
    ScratchCurrentUser user(L"NulNames");
    files_testing::ScratchFolder scratch(L"NulNames");
    const std::wstring file = scratch.file(L"a.txt"), folder = scratch.path(), made = scratch / L"made";
    const std::wstring target = scratch.folder(L"target") + L"\\", app = L"Software\\NulNames", exe = L"C:\\APP\\APP.EXE";
    initCore(L"NulNames", folder);
    // What a name cut at its NUL would reach: the value and key every registry row names.
    const std::wstring appKey = L"Software\\Brannock\\Apps\\NulNames";
    for (const std::wstring& key : {app, appKey, appKey + L"\\Sub"})
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Value", REG_SZ, L"v", sizeof(L"v")));
    const std::wstring hkcu = L"#" + std::to_wstring(static_cast<long>(0x80000001)), silent = L"#1556";
    const CLSID *core = &CLSID_qfcLibCore, *files = &CLSID_qfcLibFiles, *network = &CLSID_qfcLibNetwork,
                *registry = &CLSID_qfcLibRegistry, *windows = &CLSID_qfcLibWindows;
    const Row rows[] = {
        {core, L"InitCore", {L"NulNames", L"NulNames", folder, L"#1", L"#1", L"#1"}, 2, L"error 5"},
        {core, L"InitCore", {L"NulNames", L"NulNames", folder, L"#1", L"#1", L"#1"}, 1, L"error 5"},
        {files, L"CopyFile", {L"#0", file, target, L"#2", silent}, 2, L"False"},
        {files, L"DeleteFile", {L"#0", file, silent}, 1, L"error 5"},
        {files, L"DirExists", {folder}, 0, L"False"},
        {files, L"FileExists", {file}, 0, L"error 5"},
        {files, L"GetDirSize", {folder}, 0, L"-1"},
        {files, L"GetShortFileName", {file}, 0, L"error 5"},
        {files, L"MakePath", {made}, 0, L"False"},
        {network, L"MapNetDrive", {L"\\\\quillon-nohost\\noshare", L"Q:"}, 0, L"87"},
        {network, L"UnMapNetDrive", {L"Q:"}, 0, L"-1"},
        {registry, L"KeySet", {L"Value", L"data", L"Sub"}, 0, L"False"},
        {registry, L"KeySet", {L"Value", L"data", L"Sub"}, 2, L"False"},
        {registry, L"KeyGet", {L"Value", L"fallback"}, 0, L"fallback"},
        {registry, L"KeyDeleteValue", {L"Value", L"Sub"}, 0, L"False"},
        {registry, L"KeyDeleteValue", {L"Value", L"Sub"}, 1, L"False"},
        {registry, L"KeyDelete", {L"Sub"}, 0, L"False"},
        {registry, L"RegKeySetString", {hkcu, app, L"Value", L"w"}, 1, L"False"},
        {registry, L"RegKeySetString", {hkcu, app, L"Value", L"w"}, 2, L"False"},
        {registry, L"RegKeyGetString", {hkcu, app, L"Value", L"fallback"}, 1, L"fallback"},
        {registry, L"RegKeyGetString", {hkcu, app, L"Value", L"fallback"}, 2, L"fallback"},
        {registry, L"RegDeleteValue", {hkcu, app, L"Value"}, 1, L"False"},
        {registry, L"RegDeleteValue", {hkcu, app, L"Value"}, 2, L"False"},
        {registry, L"RegDeleteKey", {hkcu, app}, 1, L"False"},
        {registry, L"RegFileAssociate", {L".nulnames", L"d", exe, L"%1", exe}, 0, L"False"},
        {registry, L"RegFileAssociate", {L".nulnames", L"d", exe, L"%1", exe}, 2, L"False"},
        {registry, L"RegFileAssociate", {L".nulnames", L"d", exe, L"%1", exe}, 3, L"False"},
        {registry, L"RegFileAssociate", {L".nulnames", L"d", exe, L"%1", exe}, 4, L"False"},
        {registry, L"RegSetRunKey", {L"NulNames", L"app.exe"}, 0, L"False"},
        {registry, L"RegSetRunKey", {L"NulNames", L"app.exe"}, 1, L"False"},
        {windows, L"ExecuteCommand", {L"cmd.exe /c mkdir \"" + made + L"\""}, 0, L"error 5"},
        {windows, L"ShellCommand", {L"cmd.exe", L"/c mkdir made", L"#0", L"#0", folder, L"#-1", L"#0"}, 0, L"False"},
        {windows, L"ShellCommand", {L"cmd.exe", L"/c mkdir made", L"#0", L"#0", folder, L"#-1", L"#0"}, 4, L"False"},
        {windows, L"ShellCommand", {L"cmd.exe", L"/c mkdir made", L"#0", L"#0", folder, L"#-1", L"#0"}, 1, L"False"},
        {windows, L"SetWallpaper", {file}, 0, L"0"},
    };
    const std::vector<std::wstring> before = registryLines(HKEY_CURRENT_USER, L"Software");
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.method << " argument " << row.name);
        raii::ComPtr<IDispatch> object = create<IDispatch>(*row.clsid, IID_IDispatch);
        ASSERT_TRUE(object);
        EXPECT_EQ(row.refused, outcome(latebound::call(object.get(), row.method, argsOf(row))));
    }
    EXPECT_EQ(before, registryLines(HKEY_CURRENT_USER, L"Software")) << "a refused call wrote to the registry";
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, L".nulnames"));
    EXPECT_TRUE(files_testing::exists(file)) << "deleted";
    EXPECT_FALSE(files_testing::exists(target + L"a.txt") || files_testing::exists(made)) << "made";
}
