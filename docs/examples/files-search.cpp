// qfcLibFiles and qfcLibStrings from C++ through the vtable: FileExtSearch appends to the caller's array, and
// the by-reference parameters a script cannot reach with its variables.
// Build: x86_64-w64-mingw32-g++ -municode -I<folders of QuillonTypes.h and Quillon_h.h> files-search.cpp
//        Quillon_i.c -lole32 -loleaut32
// Run: files-search.exe <scratch folder>
#include <cstdio>
#include <string>

#include "QuillonTypes.h"  // Quillon_h.h, read with windows.h's macros of the same names hidden

namespace {

void touch(const std::wstring& name)
{
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

int run(const std::wstring& folder)
{
    _qfcLibFiles* files = nullptr;
    _qfcLibStrings* strings = nullptr;
    if (FAILED(CoCreateInstance(CLSID_qfcLibFiles, nullptr, CLSCTX_INPROC_SERVER, IID__qfcLibFiles,
                                reinterpret_cast<void**>(&files))) ||
        FAILED(CoCreateInstance(CLSID_qfcLibStrings, nullptr, CLSCTX_INPROC_SERVER, IID__qfcLibStrings,
                                reinterpret_cast<void**>(&strings))))
        return 1;
    CreateDirectoryW((folder + L"pilots").c_str(), nullptr);
    CreateDirectoryW((folder + L"pilots\\old").c_str(), nullptr);
    for (const wchar_t* name : {L"pilots\\ace.plt", L"pilots\\BOB.PLT", L"pilots\\notes.txt", L"pilots\\old\\cy.plt"})
        touch(folder + name);

    // The found names are appended after what the array holds; the result is its upper bound (-1: empty).
    SAFEARRAY* found = nullptr;
    BSTR path = SysAllocString((folder + L"pilots").c_str()), extension = SysAllocString(L"*.plt");
    LONG upper = 0;
    files->FileExtSearch(path, extension, &found, VARIANT_FALSE, &upper);
    std::printf("%ld\n", upper);
    files->FileExtSearch(path, extension, &found, VARIANT_TRUE, &upper);
    std::printf("%ld\n", upper);
    SafeArrayDestroy(found);

    BSTR first = SysAllocString(L"left"), second = SysAllocString(L"right"), stripped = nullptr;
    strings->SwapStr(&first, &second);
    std::printf("%ls %ls\n", first, second);
    BSTR digits = SysAllocString(L"(555) 123-4567"), set = SysAllocString(L"()- ");
    strings->StringStrip(&digits, &set, &stripped);
    std::printf("%ls\n", stripped);

    for (BSTR text : {path, extension, first, second, stripped, digits, set}) SysFreeString(text);
    strings->Release();
    files->Release();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) return 2;
    std::wstring folder = argv[1];
    if (folder.back() != L'\\') folder += L'\\';
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int result = run(folder);
    CoUninitialize();
    return result;
}
// Prints:
// 1
// 4
// right left
// 5551234567
