// The library's public classes, one row each. Adding a class is adding a row
// in ClassTable.cpp; the class factory and registration read only this table.
#pragma once

#include <windows.h>

namespace quillon::server {

struct ClassEntry {
    const CLSID* clsid;
    const IID* iid;
    const wchar_t* name; // also the ProgID after "Quillon."
    HRESULT (*create)(REFIID iid, void** result);
};

const ClassEntry* classTableBegin();
const ClassEntry* classTableEnd();
const ClassEntry* findClass(REFCLSID clsid);

} // namespace quillon::server
