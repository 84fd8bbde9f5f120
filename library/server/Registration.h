// Registration of the server's classes, ProgIDs, interfaces and type library.
//
// Everything is written from one table of rows under one root: the machine's
// classes (HKEY_LOCAL_MACHINE\Software\Classes) or the current user's
// (HKEY_CURRENT_USER\Software\Classes, no administrator rights needed). The
// rows are generated from the IDL (Quillon_registration.h), as are the
// installer's rows for the 32-bit library. Unregistration deletes exactly the
// key trees that the table names, and of the type library, whose key both
// platforms share, this platform's entry (the rest once no other is left).
#pragma once

#include <windows.h>
#include <string>
#include <vector>

namespace quillon::server {

enum class Scope { Machine, User };

struct RegistryRow {
    std::wstring key;  // below Software\Classes
    std::wstring name; // empty: the key's default value
    std::wstring data;
};

// The rows registration writes for a server at dllPath.
std::vector<RegistryRow> registrationRows(const std::wstring& dllPath, bool win64);
// The key trees (below Software\Classes) that registration creates.
std::vector<std::wstring> registrationTrees();

HRESULT registerServer(Scope scope);
HRESULT unregisterServer(Scope scope);

} // namespace quillon::server
