// The shared building blocks: argument marshalling, the failure styles and the RAII owners, called directly.
#include <type_traits>

#include "RaisedNumber.h"
#include "TestSupport.h"
#include "server/Failure.h"
#include "server/Marshal.h"

using namespace testing_support;
using namespace quillon;

namespace {

raii::UniqueSafeArray textArray(LONG lower, std::initializer_list<const wchar_t*> items)
{
    SAFEARRAYBOUND bound = {static_cast<ULONG>(items.size()), lower};
    raii::UniqueSafeArray array(SafeArrayCreate(VT_BSTR, 1, &bound));
    LONG index = lower;
    for (const wchar_t* item : items) SafeArrayPutElement(array.get(), &index, bstr(item).get()), ++index;
    return array;
}

// Counts references, so the owners' AddRef/Release balance is visible.
struct Counted : IUnknown {
    LONG count = 1;
    STDMETHODIMP QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return ++count; }
    STDMETHODIMP_(ULONG) Release() override { return --count; }
};

} // namespace

TEST(Marshal, InOutTextsVariantsAndRanges)
{
    BSTR value = bstr(L"old").release();
    writeText(&value, L"new");
    EXPECT_EQ(L"new", readText(&value));
    SysFreeString(value);
    writeText(nullptr, L"ignored");  // an omitted reference is not written
    EXPECT_EQ(L"", readText(nullptr));

    raii::UniqueVariant holder, list;
    V_VT(holder.get()) = VT_I4;
    V_I4(holder.get()) = 42;
    VARIANT byRef;
    V_VT(&byRef) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&byRef) = holder.get();
    EXPECT_EQ(L"42", variantText(&byRef));
    writeVariant(&byRef, L"source");
    EXPECT_EQ(L"source", variantText(holder.get())) << "written through the caller's reference";
    V_VT(list.get()) = VT_ARRAY | VT_BSTR;
    V_ARRAY(list.get()) = textArray(0, {L"a.txt", L"", L"b.txt"}).release();
    EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"", L"b.txt"}), variantTexts(list.get()));
    VARIANT missing;
    V_VT(&missing) = VT_ERROR;
    V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
    EXPECT_TRUE(variantTexts(&missing).empty());

    EXPECT_EQ(kOverflow, raisedNumber([] { toShort(32768); }));
    EXPECT_EQ(kOverflow, raisedNumber([] { toByte(-1); }));
    EXPECT_EQ(-32768, toShort(-32768));
    EXPECT_EQ(kObjectNotSet, raisedNumber([] { IDispatch* nothing = nullptr; requiredObject(&nothing); }));
}

TEST(Marshal, StringArraysAreReadAndResizedFromTheirLowerBound)
{
    SAFEARRAY* none = nullptr;
    EXPECT_TRUE(readTextArray(&none).empty());
    setTextArray(&none, {L"x", L"y"});
    raii::UniqueSafeArray created(none);
    EXPECT_EQ((std::vector<std::wstring>{L"x", L"y"}), readTextArray(&none));

    SAFEARRAY* array = textArray(1, {L"one"}).release();
    raii::UniqueSafeArray owner(array);
    appendTextArray(&array, {L"two", L"three"});
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two", L"three"}), readTextArray(&array));
    LONG lower = -1;
    SafeArrayGetLBound(array, 1, &lower);
    EXPECT_EQ(1, lower) << "growing keeps the caller's lower bound";
    setTextArray(&array, {L"only"});
    EXPECT_EQ((std::vector<std::wstring>{L"only"}), readTextArray(&array));

    SafeArrayLock(array);
    EXPECT_EQ(kArrayLocked, raisedNumber([&] { appendTextArray(&array, {L"more"}); }));
    SafeArrayUnlock(array);
    raii::UniqueSafeArray numbers(SafeArrayCreateVector(VT_I4, 0, 2));
    SAFEARRAY* wrong = numbers.get();
    EXPECT_EQ(kTypeMismatch, raisedNumber([&] { readTextArray(&wrong); }));
}

TEST(Failure, TrapRecordsAndGivesNeutralRaiseConvertsCodes)
{
    EXPECT_EQ(-7L, failure::trap(-7L, []() -> long { throw RuntimeError(kPathNotFound); }));
    EXPECT_EQ(kPathNotFound, failure::lastError().LastErrorNumber);
    EXPECT_EQ(L"Path not found", failure::lastError().LastErrorText);
    EXPECT_EQ(L"neutral", failure::trap(std::wstring(L"neutral"), []() -> std::wstring { throw std::bad_alloc(); }));
    EXPECT_EQ(kOutOfMemory, failure::lastError().LastErrorNumber);

    SetLastError(0);
    failure::recordWin32(0, L"Anything");
    EXPECT_NE(0, failure::lastError().LastErrorNumber) << "a failure is never recorded as no error";
    EXPECT_EQ(E_FAIL, failure::win32Error(0)) << "error 0 after a failure is E_FAIL, not S_OK";

    struct Case { HRESULT hr; long number; HRESULT raised; };
    const Case cases[] = {
        {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), kFileNotFound, HRESULT(0x800A0035)},
        {HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), kPermissionDenied, HRESULT(0x800A0046)},
        {HRESULT(0x800A004C), kPathNotFound, HRESULT(0x800A004C)},
        {E_INVALIDARG, kInvalidArgument, HRESULT(0x800A0005)},
        {HRESULT_FROM_WIN32(ERROR_BAD_NETPATH), ERROR_BAD_NETPATH, HRESULT_FROM_WIN32(ERROR_BAD_NETPATH)},
        {CO_E_CLASSSTRING, HRESULT_CODE(CO_E_CLASSSTRING), CO_E_CLASSSTRING},
        {S_OK, HRESULT_CODE(E_FAIL), E_FAIL},
    };
    for (const Case& c : cases) {
        try {
            failure::raiseHResult(c.hr, L"Call");
            ADD_FAILURE() << "nothing raised for " << std::hex << c.hr;
        } catch (const RuntimeError& error) {
            EXPECT_EQ(std::pair(c.number, c.raised), std::pair(error.number(), error.hresult())) << std::hex << c.hr;
            EXPECT_FALSE(error.description().empty());
        }
    }
}

TEST(Raii, ComPtrConstructorAddsAReferenceAttachTakesOneOver)
{
    Counted object;
    {
        raii::ComPtr<IUnknown> shared(&object);
        EXPECT_EQ(2, object.count);
        raii::ComPtr<IUnknown> copy = shared;
        EXPECT_EQ(3, object.count);
    }
    EXPECT_EQ(1, object.count);
    object.AddRef();
    { auto owned = raii::ComPtr<IUnknown>::attach(&object); }
    EXPECT_EQ(1, object.count) << "an attached reference is released once, not leaked";
    static_assert(!std::is_convertible_v<IUnknown*, raii::ComPtr<IUnknown>>, "no implicit AddRef");
}
