// RegFileAssociate and RegSetRunKey through the registry class, read back with plain registry calls.
#include "TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class AssociationClient : public ClientTest<_qfcLibRegistry> {
protected:
    void SetUp() override
    {
        ClientTest::SetUp();
        TearDown();
    }
    void TearDown() override
    {
        for (const std::wstring& key : {extension_, extension_ + L"b", type_, L"QS" + pid_ + L"BFile"})
            deleteTree(HKEY_CLASSES_ROOT, key);
    }

    bool associate(const std::wstring& extension, const std::wstring& exe, const std::wstring& param = L"%1",
                   const std::wstring& icon = L"", short index = 0, bool remove = false)
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, object_->RegFileAssociate(bstr(extension).get(), bstr(L"").get(), bstr(exe).get(),
                                                    bstr(param).get(), bstr(icon).get(), index,
                                                    remove ? VARIANT_TRUE : VARIANT_FALSE, &ok));
        return ok == VARIANT_TRUE;
    }
    bool removeAssociation(const std::wstring& extension) { return associate(extension, L"", L"", L"", 0, true); }

    bool runKey(const std::wstring& value, const std::wstring& data, long mode = qcRun, bool remove = false,
                qcRegistryKeys root = qc::kCurrentUser)
    {
        VARIANT_BOOL ok = VARIANT_FALSE;
        EXPECT_EQ(S_OK, object_->RegSetRunKey(bstr(value).get(), bstr(data).get(), root,
                                                qcRegRunTypes(mode), remove ? VARIANT_TRUE : VARIANT_FALSE, &ok));
        return ok == VARIANT_TRUE;
    }

    const std::wstring pid_ = std::to_wstring(GetCurrentProcessId());
    const std::wstring extension_ = L".qs" + pid_, type_ = L"QS" + pid_ + L"File";
};

} // namespace

TEST_F(AssociationClient, RegFileAssociateWritesTheFourEntriesAndRemovesThemForAnExtensionOnly)
{
    const std::wstring other = extension_ + L"b";
    setText(other, L"", L"x", HKEY_CLASSES_ROOT);
    // What names no extension (the rule's table) is refused before anything is written or removed.
    EXPECT_FALSE(associate(extension_ + L"\\Shell", L"C:\\APP\\APP.EXE") || removeAssociation(L""));
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, extension_));
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, other)) << "an empty extension must not address the whole root";

    ASSERT_TRUE(associate(L"*" + extension_, L"C:\\Program Files\\My App\\app.exe"));
    EXPECT_EQ(type_, storedText(HKEY_CLASSES_ROOT, extension_));
    EXPECT_EQ(L"Vantorel File", storedText(HKEY_CLASSES_ROOT, type_));
    EXPECT_EQ(L"\"C:\\Program Files\\My App\\App.Exe\" %1", storedText(HKEY_CLASSES_ROOT, type_ + L"\\Shell\\Open\\Command"));
    EXPECT_EQ(L"\"C:\\Program Files\\My App\\App.Exe\",0", storedText(HKEY_CLASSES_ROOT, type_ + L"\\DefaultIcon"));
    ASSERT_TRUE(associate(extension_.substr(1), L"C:\\APP\\APP.EXE", L"\"%1\"", L"C:\\APP\\ICONS.DLL", 4));
    EXPECT_EQ(L"C:\\APP\\APP.EXE \"%1\"", storedText(HKEY_CLASSES_ROOT, type_ + L"\\Shell\\Open\\Command"));
    EXPECT_EQ(L"C:\\APP\\ICONS.DLL,4", storedText(HKEY_CLASSES_ROOT, type_ + L"\\DefaultIcon"));

    EXPECT_TRUE(removeAssociation(extension_));
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, extension_) || keyExists(HKEY_CLASSES_ROOT, type_));
    EXPECT_FALSE(removeAssociation(extension_)) << "nothing left to remove";
    EXPECT_TRUE(removeAssociation(other)) << "an extension key without its type key counts as removed";
}

TEST_F(AssociationClient, RegSetRunKeyWritesAndRemovesUnderTheGivenRoot)
{
    ScratchCurrentUser scratch(L"StringsRunKey");
    EXPECT_TRUE(runKey(L"QuillonTest", L"\"C:\\Program Files\\App\\app.exe\" /quiet"));
    EXPECT_EQ(L"\"C:\\Program Files\\App\\app.exe\" /quiet", storedText(HKEY_CURRENT_USER, kRunKey, L"QuillonTest"));
    EXPECT_TRUE(runKey(L"QuillonTest", L"", qcRun, true));
    EXPECT_EQ(L"<missing>", storedText(HKEY_CURRENT_USER, kRunKey, L"QuillonTest"));
    EXPECT_FALSE(runKey(L"QuillonTest", L"", qcRun, true)) << "removing a value that is not there";

    EXPECT_FALSE(runKey(L"", L"x"));
    for (long mode : {0L, 5L}) EXPECT_FALSE(runKey(L"QuillonMode", L"x", mode)) << mode;
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kRunKey + L"Services")) << "refused calls touch nothing";

    const std::wstring machineValue = L"QuillonTest" + pid_;
    EXPECT_TRUE(runKey(machineValue, L"machine.exe", qcRunServicesOnce, false, qc::kLocalMachine));
    EXPECT_EQ(L"machine.exe", storedText(HKEY_LOCAL_MACHINE, kRunKey + L"ServicesOnce", machineValue));
    EXPECT_TRUE(runKey(machineValue, L"", qcRunServicesOnce, true, qc::kLocalMachine));
}
