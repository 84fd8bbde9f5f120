// The library's classes as the type library's source declares them, and their methods as clients read them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QuillonTypes.h"
#include "Quillon_classes.h"
#include "Raii.h"

struct ServerClass { const wchar_t* name; const CLSID* clsid; const IID* iid; };

#define QUILLON_TEST_WIDE(text) L##text
#define QUILLON_TEST_CLASS(name) ServerClass{QUILLON_TEST_WIDE(#name), &CLSID_##name, &IID__##name},
inline const ServerClass kClasses[] = {QUILLON_CLASSES(QUILLON_TEST_CLASS)};
#undef QUILLON_TEST_CLASS
#undef QUILLON_TEST_WIDE

// Calls visit(funcdesc, names) for each method a client can call (the method's name first, then its
// parameters'); IUnknown's and IDispatch's own members are left out.
template <class Visit>
void forEachMethod(ITypeInfo* info, Visit&& visit)
{
    TYPEATTR* attr = nullptr;
    if (!info || FAILED(info->GetTypeAttr(&attr))) return ADD_FAILURE() << "no type attributes", void();
    for (UINT index = 0; index < attr->cFuncs; ++index) {
        FUNCDESC* func = nullptr;
        if (FAILED(info->GetFuncDesc(index, &func))) continue;
        BSTR raw[32] = {};
        UINT count = 0;
        info->GetNames(func->memid, raw, 32, &count);
        std::vector<std::wstring> names;
        for (UINT i = 0; i < count; ++i) names.push_back(raii::toWString(raii::UniqueBstr(raw[i]).get()));
        if (!(func->wFuncFlags & FUNCFLAG_FRESTRICTED)) visit(*func, names);
        info->ReleaseFuncDesc(func);
    }
    info->ReleaseTypeAttr(attr);
}
