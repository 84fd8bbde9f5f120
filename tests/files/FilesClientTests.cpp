// qfcLibFiles as its clients see it: through the vtable, with a caller's
// common-dialog object that records what it is told and plays the user.
#include "RecordingObject.h"
#include "ScratchFolder.h"
#include "TestSupport.h"

using namespace testing_support;

namespace {

const std::vector<std::wstring> kDialogMembers = {L"InitDir", L"DefaultExt", L"Filter",   L"FileName", L"DialogTitle",
                                                  L"Flags",   L"CancelError", L"FileTitle", L"ShowOpen", L"ShowSave"};
const SCODE kCancelled = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 32755);

class FilesClient : public ComTest {
protected:
    void SetUp() override
    {
        files_ = create<_qfcLibFiles>(CLSID_qfcLibFiles, IID__qfcLibFiles);
        auto core = create<_qfcLibCore>(CLSID_qfcLibCore, IID__qfcLibCore);
        ASSERT_TRUE(files_ && core);
        ASSERT_EQ(S_OK, core->InitCore(bstr(L"Vantorel").get(), bstr(L"Vantorel").get(), bstr(L"C:\\App").get(), 1,
                                       0, 0));
    }

    // A dialog whose user picks fileName; showResult is what its Show methods return.
    raii::ComPtr<RecordingObject> dialog(const std::wstring& fileName, const std::wstring& fileTitle,
                                         HRESULT showResult = S_OK)
    {
        auto object = raii::ComPtr<RecordingObject>::attach(RecordingObject::create(kDialogMembers));
        raii::UniqueVariant title;
        V_VT(title.get()) = VT_BSTR;
        V_BSTR(title.get()) = raii::makeBstr(fileTitle).release();
        object->set(L"FileTitle", *title.get());
        // Reads of FileName give the user's choice, whatever the library put there before.
        object->method(L"FileName", [fileName](RecordingObject&, const std::vector<VARIANT>&, VARIANT* result) {
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = raii::makeBstr(fileName).release();
            return S_OK;
        });
        auto show = [showResult](RecordingObject&, const std::vector<VARIANT>&, VARIANT*) { return showResult; };
        object->method(L"ShowOpen", show);
        object->method(L"ShowSave", show);
        return object;
    }

    std::wstring open(IDispatch* object, const std::wstring& ext, const std::wstring& dir = L"",
                      const std::wstring& extra = L"", const std::wstring& title = L"", bool save = false)
    {
        raii::UniqueBstr result;
        IDispatch* ref = object;
        const HRESULT hr = save ? files_->GetSaveFileName(bstr(ext).get(), &ref, bstr(dir).get(), bstr(extra).get(),
                                                          bstr(title).get(), result.put())
                                : files_->GetOpenFileName(bstr(ext).get(), &ref, bstr(dir).get(), bstr(extra).get(),
                                                          bstr(title).get(), result.put());
        EXPECT_EQ(S_OK, hr) << "the file dialogs never fail";
        return raii::toWString(result.get());
    }

    raii::ComPtr<_qfcLibFiles> files_;
};

} // namespace

TEST_F(FilesClient, OpenDialogIsSetUpInOrderAndAnswersTheChosenFile)
{
    auto chooser = dialog(L"C:\\Games\\main.exe", L"main.exe");
    EXPECT_EQ(L"C:\\Games\\main.exe", open(chooser.get(), L"*.exe"));
    const std::vector<std::wstring> expected = {
        L"InitDir=\"C:\\App\\\"",
        L"DefaultExt=\"*.exe\"",
        L"Filter=\"Vantorel Files|*.exe|All Files (*.*)|*.*\"",
        L"FileName=\"*.exe\"",
        L"DialogTitle=\"Open Vantorel File\"",
        L"Flags=2625552",
        L"CancelError=True",
    };
    std::vector<std::wstring> log = chooser->take();
    ASSERT_GE(log.size(), expected.size() + 1);
    EXPECT_EQ(expected, std::vector<std::wstring>(log.begin(), log.begin() + expected.size()));
    EXPECT_EQ(0u, log[expected.size()].find(L"ShowOpen")) << log[expected.size()];

    auto saver = dialog(L"D:\\Saves\\one.sav", L"one.sav");
    EXPECT_EQ(L"D:\\Saves\\one.sav", open(saver.get(), L".sav", L"D:\\Saves", L"|Old|*.old", L"Keep", true));
    log = saver->take();
    ASSERT_GE(log.size(), 8u);
    EXPECT_EQ(L"InitDir=\"D:\\Saves\\\"", log[0]);
    EXPECT_EQ(L"Filter=\"Vantorel Files|*.sav|Old|*.old|All Files (*.*)|*.*\"", log[2]);
    EXPECT_EQ(L"DialogTitle=\"Keep\"", log[4]);
    EXPECT_EQ(L"Flags=532482", log[5]);
    EXPECT_EQ(0u, log[7].find(L"ShowSave")) << log[7];
}

TEST_F(FilesClient, CancelledOrUnansweredDialogsGiveNothing)
{
    // Each dialog below would otherwise answer a valid file: only the cancel signal may empty the result.
    auto raising = dialog(L"C:\\Games\\main.exe", L"main.exe");
    raising->raise(L"ShowOpen", kCancelled, L"Cancel was selected.");
    EXPECT_EQ(L"", open(raising.get(), L"exe")) << "cancel error 32755 raised through the exception record";

    auto deferred = dialog(L"C:\\Games\\main.exe", L"main.exe");
    deferred->raise(L"ShowSave", kCancelled, L"Cancel was selected.", true);
    EXPECT_EQ(L"", open(deferred.get(), L"exe", L"", L"", L"", true)) << "cancel reported through a deferred fill-in";

    EXPECT_EQ(L"", open(dialog(L"C:\\Games\\main.exe", L"main.exe", kCancelled).get(), L"exe"))
        << "cancel returned as the call's own status";
    const SCODE otherError = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 32756);
    EXPECT_EQ(L"C:\\Games\\main.exe", open(dialog(L"C:\\Games\\main.exe", L"main.exe", otherError).get(), L"exe"))
        << "only the cancel error means cancelled";

    EXPECT_EQ(L"", open(dialog(L"C:\\Games\\*.exe", L"*.exe").get(), L"exe")) << "the pattern itself came back";
    EXPECT_EQ(L"", open(dialog(L"C:\\Games\\main.exe", L"").get(), L"exe")) << "no file title";

    auto unused = dialog(L"C:\\Games\\main.exe", L"main.exe");
    EXPECT_EQ(L"", open(unused.get(), L""));
    EXPECT_TRUE(unused->take().empty()) << "an empty extension shows nothing";
    EXPECT_EQ(L"", open(nullptr, L"exe"));
    EXPECT_EQ(L"", open(nullptr, L"exe", L"", L"", L"", true));

    auto bare = raii::ComPtr<RecordingObject>::attach(RecordingObject::create({L"Unrelated"}));
    EXPECT_EQ(L"", open(bare.get(), L"exe")) << "an object without the members";
}
