#include "ClassTable.h"

#include "Quillon_classes.h"

#include "core/qfcLibCore.h"
#include "files/qfcLibFiles.h"
#include "forms/qfcLibForms.h"
#include "forms/qfcLibWindows.h"
#include "network/qfcLibNetwork.h"
#include "registry/qfcLibRegistry.h"
#include "strings/qfcLibStrings.h"

namespace quillon::server {
namespace {

constexpr bool sameText(const wchar_t* a, const wchar_t* b)
{
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

template <class T>
ClassEntry row(const CLSID& clsid)
{
    return {&clsid, &T::iid(), T::kName, &T::create};
}

// One row per coclass of the type library, in its order; a coclass without
// its class, or a class named unlike its coclass, does not compile.
#define QUILLON_WIDE(text) L##text
#define QUILLON_CLASS_ROW(name) row<name>(CLSID_##name),
#define QUILLON_CLASS_NAME_CHECK(name) \
    static_assert(sameText(name::kName, QUILLON_WIDE(#name)), #name "::kName differs from its coclass");

QUILLON_CLASSES(QUILLON_CLASS_NAME_CHECK)

const ClassEntry g_classes[] = {QUILLON_CLASSES(QUILLON_CLASS_ROW)};

} // namespace

const ClassEntry* classTableBegin() { return std::begin(g_classes); }
const ClassEntry* classTableEnd() { return std::end(g_classes); }

const ClassEntry* findClass(REFCLSID clsid)
{
    for (const ClassEntry& entry : g_classes)
        if (*entry.clsid == clsid) return &entry;
    return nullptr;
}

} // namespace quillon::server
