// The library's classes as the type library's source declares them.
#pragma once

#include "QuillonTypes.h"
#include "Quillon_classes.h"

struct ServerClass { const wchar_t* name; const CLSID* clsid; const IID* iid; };

#define QUILLON_TEST_WIDE(text) L##text
#define QUILLON_TEST_CLASS(name) ServerClass{QUILLON_TEST_WIDE(#name), &CLSID_##name, &IID__##name},
inline const ServerClass kClasses[] = {QUILLON_CLASSES(QUILLON_TEST_CLASS)};
#undef QUILLON_TEST_CLASS
#undef QUILLON_TEST_WIDE
