// qfcLibFiles as its clients see it: through the vtable (a common-dialog
// object that records what it is told and plays the user, the caller's
// array) and from a script under cscript (script variables and arrays).
#include "RecordingObject.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;
using files_testing::ScratchFolder;

namespace {

const SCODE kCancelled = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 32755);

void putText(VARIANT* variant, const std::wstring& text)
{
    V_VT(variant) = VT_BSTR;
    V_BSTR(variant) = raii::makeBstr(text).release();
}

class FilesClient : public ClientTest<_qfcLibFiles> {
protected:
    // A dialog whose user picks fileName (whatever the library put in FileName before); Show returns showResult.
    raii::ComPtr<RecordingObject> dialog(const std::wstring& fileName, const std::wstring& fileTitle,
                                         HRESULT showResult = S_OK)
    {
        auto object = raii::ComPtr<RecordingObject>::attach(RecordingObject::create(
            {L"InitDir", L"DefaultExt", L"Filter", L"FileName", L"DialogTitle", L"Flags", L"CancelError",
             L"FileTitle", L"ShowOpen", L"ShowSave"}));
        raii::UniqueVariant title;
        putText(title.get(), fileTitle);
        object->set(L"FileTitle", *title.get());
        object->method(L"FileName", [fileName](RecordingObject&, const std::vector<VARIANT>&, VARIANT* result) {
            putText(result, fileName);
            return S_OK;
        });
        auto show = [showResult](RecordingObject&, const std::vector<VARIANT>&, VARIANT*) { return showResult; };
        object->method(L"ShowOpen", show);
        object->method(L"ShowSave", show);
        return object;
    }

    std::wstring show(IDispatch* object, const std::wstring& ext, bool save = false, const std::wstring& dir = L"",
                      const std::wstring& title = L"")
    {
        raii::UniqueBstr result;
        auto method = save ? &_qfcLibFiles::GetSaveFileName : &_qfcLibFiles::GetOpenFileName;
        EXPECT_EQ(S_OK, (object_.get()->*method)(bstr(ext).get(), &object, bstr(dir).get(), bstr(L"|Old|*.old").get(),
                                                  bstr(title).get(), result.put()));
        return raii::toWString(result.get());
    }
};

} // namespace

TEST_F(FilesClient, FileDialogsAreSetUpInOrderAndGiveTheChosenFileUnlessCancelled)
{
    auto chooser = dialog(L"C:\\Games\\main.exe", L"main.exe");
    EXPECT_EQ(L"C:\\Games\\main.exe", show(chooser.get(), L"*.exe"));
    std::vector<std::wstring> log = chooser->take();
    log.resize(std::min<size_t>(log.size(), 8));
    EXPECT_EQ((std::vector<std::wstring>{L"InitDir=\"C:\\Games\\\"", L"DefaultExt=\"*.exe\"",
                                         L"Filter=\"Vantorel Files|*.exe|Old|*.old|All Files (*.*)|*.*\"",
                                         L"FileName=\"*.exe\"", L"DialogTitle=\"Open Vantorel File\"",
                                         L"Flags=2625552", L"CancelError=True", L"ShowOpen()"}),
              log);
    auto saver = dialog(L"D:\\one.sav", L"one.sav");
    EXPECT_EQ(L"D:\\one.sav", show(saver.get(), L"sav", true, L"D:\\Saves", L"Keep"));
    log = saver->take();
    ASSERT_GE(log.size(), 8u);
    EXPECT_EQ((std::vector<std::wstring>{L"InitDir=\"D:\\Saves\\\"", L"DialogTitle=\"Keep\"", L"Flags=532482",
                                         L"ShowSave()"}),
              (std::vector<std::wstring>{log[0], log[4], log[5], log[7]}));

    // Each dialog below would otherwise answer a valid file.
    auto raising = dialog(L"C:\\Games\\main.exe", L"main.exe");
    raising->raise(L"ShowOpen", kCancelled, L"Cancel was selected.", true);
    EXPECT_EQ(L"", show(raising.get(), L"exe")) << "cancel raised through the exception record";
    EXPECT_EQ(L"", show(dialog(L"C:\\Games\\main.exe", L"main.exe", kCancelled).get(), L"exe", true));
    EXPECT_EQ(L"C:\\main.exe", show(dialog(L"C:\\main.exe", L"main.exe", kCancelled + 1).get(), L"exe"))
        << "only the cancel error means cancelled";
    EXPECT_EQ(L"", show(dialog(L"C:\\Games\\*.exe", L"*.exe").get(), L"exe")) << "the pattern itself came back";
    EXPECT_EQ(L"", show(dialog(L"C:\\Games\\main.exe", L"").get(), L"exe")) << "no file title";
    auto unused = dialog(L"C:\\Games\\main.exe", L"main.exe");
    EXPECT_EQ(L"", show(unused.get(), L""));
    EXPECT_TRUE(unused->take().empty()) << "an empty extension shows nothing";
    EXPECT_EQ(L"", show(nullptr, L"exe", true));
}

// (Appending to the caller's array is the reference's files-search example and the script below.)
TEST_F(FilesClient, ExtensionSearchLeavesWhatItCannotFillAlone)
{
    ScratchFolder scratch(L"ClientSearch");
    scratch.file(L"one.plt");
    auto search = [&](const std::wstring& ext, SAFEARRAY** array) {
        LONG result = -7;
        EXPECT_EQ(S_OK, object_->FileExtSearch(bstr(scratch.path()).get(), bstr(ext).get(), array, VARIANT_TRUE,
                                               &result));
        return result;
    };
    SAFEARRAY* array = nullptr;
    EXPECT_EQ(-1, search(L"zzz", &array));
    EXPECT_EQ(nullptr, array) << "no match leaves an undimensioned array alone";
    raii::UniqueSafeArray numbers(SafeArrayCreateVector(VT_I4, 0, 2));
    SAFEARRAY* slot = numbers.get();
    EXPECT_EQ(-1, search(L"plt", &slot)) << "an array of another type is not touched";
    EXPECT_EQ(numbers.get(), slot);
}

TEST_F(FilesClient, ScriptVariablesAndArraysReachTheNames)
{
    ScratchFolder scratch(L"Script");
    long exitCode = -1;
    const std::string output = captureProcess(
        L"cscript.exe //nologo \"" + programFolder() + L"FilesClient.vbs\" \"" +
            scratch.path().substr(0, scratch.path().size() - 1) + L"\"",
        &exitCode);
    EXPECT_EQ(0, exitCode) << output;
    EXPECT_EQ("search=0 a.plt\r\nappend=1 kept|a.plt Variant()\r\ndelete=False False\r\n", output);
}
