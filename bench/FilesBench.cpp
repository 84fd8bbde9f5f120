// FileExtSearch and GetDirSize through the vtable over a prepared tree of
// 20,000 files (three levels, a few hundred matches), against plain
// FindFirstFileExW loops doing the same work in the same run.
#include <cstdio>
#include <string>
#include <vector>

#include "Bench.h"

namespace {

const int kFolders = 10;          // per level: 10 folders, each with 10 sub-folders
const int kFilesPerLeaf = 198;    // plus 2 matches: 100 leaves x 200 = 20,000 files
const int kMatchesPerLeaf = 2;
const int kIterations = 2;

void makeFile(const std::wstring& name, DWORD size)
{
    raii::UniqueFile file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file || !size) return;
    std::vector<char> bytes(size, 'x');
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), size, &written, nullptr);
}

// Builds the tree once; later runs reuse it (a marker file is written last).
void prepare(const std::wstring& root)
{
    const std::wstring marker = root + L"ready.txt";
    if (GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    std::printf("  preparing %d files (once)...\n", kFolders * kFolders * (kFilesPerLeaf + kMatchesPerLeaf));
    std::fflush(stdout);
    CreateDirectoryW(root.c_str(), nullptr);
    for (int i = 0; i < kFolders; ++i) {
        const std::wstring middle = root + L"Level" + std::to_wstring(i) + L"\\";
        CreateDirectoryW(middle.c_str(), nullptr);
        for (int j = 0; j < kFolders; ++j) {
            const std::wstring leaf = middle + L"Leaf" + std::to_wstring(j) + L"\\";
            CreateDirectoryW(leaf.c_str(), nullptr);
            for (int k = 0; k < kFilesPerLeaf; ++k) makeFile(leaf + L"file" + std::to_wstring(k) + L".dat", k);
            for (int k = 0; k < kMatchesPerLeaf; ++k) makeFile(leaf + L"pilot" + std::to_wstring(k) + L".plt", 100);
        }
    }
    makeFile(marker, 0);
}

bool endsWithPlt(const wchar_t* name)
{
    const size_t length = wcslen(name);
    return length >= 3 && CompareStringOrdinal(name + length - 3, 3, L"PLT", 3, TRUE) == CSTR_EQUAL;
}

// The plain loop both library methods are measured against: lists a folder once,
// hands each visible file to onFile, then goes into its sub-folders from the last.
template <class OnFile>
void plainWalk(const std::wstring& folder, OnFile&& onFile)
{
    std::vector<std::wstring> folders;
    WIN32_FIND_DATAW entry;
    raii::UniqueFind find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return;
    do {
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) continue;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            onFile(folder, entry);
        else if (entry.cFileName[0] != L'.')
            folders.push_back(folder + entry.cFileName + L"\\");
    } while (FindNextFileW(find.get(), &entry));
    find.reset();
    for (auto sub = folders.rbegin(); sub != folders.rend(); ++sub) plainWalk(*sub, onFile);
}

// What FileExtSearch does, written plainly: open each match once, keep its name.
void plainSearch(const std::wstring& root, std::vector<std::wstring>& found)
{
    plainWalk(root, [&](const std::wstring& folder, const WIN32_FIND_DATAW& entry) {
        if (!endsWithPlt(entry.cFileName)) return;
        std::wstring name = folder + entry.cFileName;
        raii::UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        if (file) found.push_back(std::move(name));
    });
}

long long plainSize(const std::wstring& root)
{
    long long total = 0;
    plainWalk(root, [&](const std::wstring&, const WIN32_FIND_DATAW& entry) {
        total += (static_cast<long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    });
    return total;
}

void run()
{
    auto files = bench::createObject<_qfcLibFiles>(CLSID_qfcLibFiles, IID__qfcLibFiles);
    if (!files) return;
    const std::wstring root = bench::tempFolder() + L"QuillonBenchFiles\\";
    prepare(root);
    raii::UniqueBstr path = raii::makeBstr(root), extension = raii::makeBstr(L"plt");

    std::vector<std::wstring> plainFound;
    plainSearch(root, plainFound);
    LONG upper = -2;
    SAFEARRAY* check = nullptr;
    bench::check(files->FileExtSearch(path.get(), extension.get(), &check, VARIANT_TRUE, &upper), "FileExtSearch");
    if (check) SafeArrayDestroy(check);
    std::printf("  %zu matches plainly, upper bound %ld through the library\n", plainFound.size(), long(upper));
    if (upper + 1 != static_cast<long>(plainFound.size())) bench::check(E_UNEXPECTED, "FileExtSearch's matches");

    const auto searchPlain = bench::nsPerCall([&] {
        std::vector<std::wstring> found;
        plainSearch(root, found);
        SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(found.size()));
        if (!array) return E_OUTOFMEMORY;
        for (LONG i = 0; i < static_cast<LONG>(found.size()); ++i) {
            raii::UniqueBstr item = raii::makeBstr(found[static_cast<size_t>(i)]);
            SafeArrayPutElement(array, &i, item.get());
        }
        return SafeArrayDestroy(array);
    }, kIterations);
    const auto searchVtable = bench::nsPerCall([&] {
        SAFEARRAY* array = nullptr;
        LONG result = 0;
        HRESULT hr = files->FileExtSearch(path.get(), extension.get(), &array, VARIANT_TRUE, &result);
        if (array) SafeArrayDestroy(array);
        return hr;
    }, kIterations);

    CURRENCY size = {};
    bench::check(files->GetDirSize(path.get(), VARIANT_TRUE, &size), "GetDirSize");
    const long long plainTotal = plainSize(root);
    std::printf("  %lld bytes plainly, %lld through the library\n", plainTotal, size.int64 / 10000);
    if (plainTotal != size.int64 / 10000) bench::check(E_UNEXPECTED, "GetDirSize's total");
    const auto sizePlain = bench::nsPerCall([&] {
        plainSize(root);
        return S_OK;
    }, kIterations);
    const auto sizeVtable = bench::nsPerCall([&] {
        CURRENCY total = {};
        return files->GetDirSize(path.get(), VARIANT_TRUE, &total);
    }, kIterations);

    bench::report("FileExtSearch via vtable vs FindFirstFileExW loop", searchVtable, searchPlain);
    bench::report("GetDirSize via vtable vs FindFirstFileExW loop", sizeVtable, sizePlain);
}

const bench::Group group("files", &run);

} // namespace
