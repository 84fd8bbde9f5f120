// The seven classes and their interfaces' methods in slot order, for the registration and type-library tests.
#pragma once

#include <vector>

#include "QuillonTypes.h"

struct Method { const wchar_t* name; const wchar_t* signature; }; // signature: see TypeLibTests.cpp
struct ServerClass { const wchar_t* name; const CLSID* clsid; const IID* iid; std::vector<Method> methods; };
extern const std::vector<ServerClass> kClasses;
