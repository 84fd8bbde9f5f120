#include "ClassTable.h"

#include "core/qfcLibCore.h"
#include "files/qfcLibFiles.h"
#include "forms/qfcLibForms.h"
#include "forms/qfcLibWindows.h"
#include "network/qfcLibNetwork.h"
#include "registry/qfcLibRegistry.h"
#include "strings/qfcLibStrings.h"

namespace quillon::server {
namespace {

template <class T>
ClassEntry row(const CLSID& clsid)
{
    return {&clsid, &T::iid(), T::kName, &T::create};
}

const ClassEntry g_classes[] = {
    row<qfcLibCore>(CLSID_qfcLibCore),
    row<qfcLibFiles>(CLSID_qfcLibFiles),
    row<qfcLibForms>(CLSID_qfcLibForms),
    row<qfcLibNetwork>(CLSID_qfcLibNetwork),
    row<qfcLibRegistry>(CLSID_qfcLibRegistry),
    row<qfcLibStrings>(CLSID_qfcLibStrings),
    row<qfcLibWindows>(CLSID_qfcLibWindows),
};

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
