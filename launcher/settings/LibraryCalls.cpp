#include "LibraryCalls.h"

#include "LauncherError.h"
#include "LibrarySlots.h"
#include "Raii.h"

#include <shellapi.h>

namespace vantorel::calls {
namespace {

raii::UniqueBstr text(const std::wstring& value) { return raii::makeBstr(value); }

std::vector<std::wstring> textsOf(SAFEARRAY* array)
{
    std::vector<std::wstring> texts;
    VARTYPE type = VT_EMPTY;
    if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetVartype(array, &type)) || type != VT_BSTR)
        return texts;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    for (LONG i = lower; i <= upper; ++i) {
        raii::UniqueBstr item;
        if (SUCCEEDED(SafeArrayGetElement(array, &i, item.put()))) texts.push_back(raii::toWString(item.get()));
    }
    return texts;
}

} // namespace

std::wstring filePath(const std::wstring& file, const wchar_t* procedure)
{
    raii::UniqueBstr result;
    check(slots::files().GetFilePath(text(file).get(), result.put()), procedure);
    return raii::toWString(result.get());
}

std::vector<std::wstring> fileExtSearch(const std::wstring& folder, const std::wstring& extension,
                                        const wchar_t* procedure)
{
    raii::UniqueSafeArray list(SafeArrayCreateVector(VT_BSTR, 0, 0));
    if (!list) throw LauncherError(E_OUTOFMEMORY, automation::describeError(automation::kOutOfMemory), procedure);
    SAFEARRAY* array = list.release();
    LONG upperBound = -1;
    const HRESULT hr = slots::files().FileExtSearch(text(folder).get(), text(extension).get(), &array,
                                                    VARIANT_FALSE, &upperBound);
    list.reset(array);
    check(hr, procedure);
    std::vector<std::wstring> files = textsOf(list.get());
    // The count is the method's answer; the list only names the files.
    files.resize(upperBound < 0 ? 0 : std::min(files.size(), static_cast<size_t>(upperBound) + 1));
    return files;
}

double dirSize(const std::wstring& folder, const wchar_t* procedure)
{
    CY size = {};
    check(slots::files().GetDirSize(text(folder).get(), VARIANT_FALSE, &size), procedure);
    return static_cast<double>(size.int64) / 10000.0;
}

void deleteMatching(const std::wstring& pattern, long flags, const wchar_t* procedure)
{
    raii::UniqueVariant files;
    VARIANT* value = files.put();
    V_VT(value) = VT_BSTR;
    V_BSTR(value) = text(pattern).release();
    VARIANT_BOOL ignored = VARIANT_FALSE;
    check(slots::files().DeleteFile(0, value, static_cast<qcFileOpFlags>(flags), text(L"|").get(), &ignored),
          procedure);
}

std::wstring shortFileName(const std::wstring& file, const wchar_t* procedure)
{
    raii::UniqueBstr result;
    check(slots::files().GetShortFileName(text(file).get(), result.put()), procedure);
    return raii::toWString(result.get());
}

std::wstring fileTitle(const std::wstring& file, bool withExtension, const wchar_t* procedure)
{
    raii::UniqueBstr result;
    check(slots::files().GetFileTitle(text(file).get(), withExtension ? VARIANT_TRUE : VARIANT_FALSE, result.put()),
          procedure);
    return raii::toWString(result.get());
}

std::wstring openFileName(const std::wstring& extension, IDispatch* dialog, const std::wstring& folder,
                          const std::wstring& title, const wchar_t* procedure)
{
    raii::UniqueBstr chosen;
    check(slots::files().GetOpenFileName(text(extension).get(), &dialog, text(folder).get(), text(L"").get(),
                                         text(title).get(), chosen.put()),
          procedure);
    return raii::toWString(chosen.get());
}

void executeCommand(const std::wstring& commandLine, const wchar_t* procedure)
{
    check(slots::windows().ExecuteCommand(text(commandLine).get(), VARIANT_FALSE), procedure);
}

} // namespace vantorel::calls
