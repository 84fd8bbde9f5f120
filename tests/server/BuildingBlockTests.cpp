// The shared building blocks: argument marshalling, the failure styles and the RAII owners, called directly.
#include <tuple>

#include "RaisedNumber.h"
#include "TestSupport.h"
#include "server/Failure.h"
#include "server/Marshal.h"

using namespace testing_support;
using namespace quillon;

namespace {

// Counts references, so an owner's AddRef/Release balance is visible.
struct Counted : IUnknown {
    LONG count = 1;
    STDMETHODIMP QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return ++count; }
    STDMETHODIMP_(ULONG) Release() override { return --count; }
};

} // namespace

// A C++ caller may pass no reference at all; a caller's array may start at 1 (Option Base 1) or be locked.
TEST(Marshal, OmittedReferencesAndTheCallersArrays)
{
    writeText(nullptr, L"ignored");
    EXPECT_EQ(L"", readText(nullptr));

    SAFEARRAYBOUND fromOne = {1, 1};
    SAFEARRAY* array = SafeArrayCreate(VT_BSTR, 1, &fromOne);
    raii::UniqueSafeArray owner(array);
    LONG first = 1;
    SafeArrayPutElement(array, &first, bstr(L"one").get());
    appendTextArray(&array, {L"two", L"three"});
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two", L"three"}), readTextArray(&array));
    LONG lower = -1;
    SafeArrayGetLBound(array, 1, &lower);
    EXPECT_EQ(1, lower) << "growing keeps the caller's lower bound";
    SafeArrayLock(array);
    EXPECT_EQ(kArrayLocked, raisedNumber([&] { appendTextArray(&array, {L"more"}); }));
    SafeArrayUnlock(array);
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
        {HRESULT(0x800A004C), kPathNotFound, HRESULT(0x800A004C)},
        {E_INVALIDARG, kInvalidArgument, HRESULT(0x800A0005)},
        {HRESULT_FROM_WIN32(ERROR_BAD_NETPATH), ERROR_BAD_NETPATH, HRESULT_FROM_WIN32(ERROR_BAD_NETPATH)},
        {CO_E_CLASSSTRING, HRESULT_CODE(CO_E_CLASSSTRING), CO_E_CLASSSTRING},
        {S_OK, HRESULT_CODE(E_FAIL), E_FAIL},
    };
    const auto read = [](const RuntimeError& e) { return std::tuple(e.number(), e.hresult(), e.description() == L""); };
    for (const Case& c : cases)
        EXPECT_EQ(std::tuple(c.number, c.raised, false),
                  caught<RuntimeError>([&] { failure::raiseHResult(c.hr, L"Call"); }, read)) << std::hex << c.hr;
}

// Constructing and copying add a reference (the late-bound tests count them); attach() takes the caller's over.
TEST(Raii, AnAttachedReferenceIsReleasedOnceNotLeaked)
{
    Counted object;
    object.AddRef();
    { auto owned = raii::ComPtr<IUnknown>::attach(&object); }
    EXPECT_EQ(1, object.count);
}
