// The records the library hands to the system, and the sizes of the dispatch
// frame's arguments, checked against the platform's layout (see Layout.h).
#include <windows.h>

#include <oaidl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winnetwk.h>

#include "Layout.h"
#include "QuillonTypes.h"

// Start-up records of the processes the library starts.
LAYOUT_SIZE(STARTUPINFOW, 68, 104);
LAYOUT_OFFSET(STARTUPINFOW, lpDesktop, 8, 16);
LAYOUT_OFFSET(STARTUPINFOW, dwFlags, 44, 60);
LAYOUT_OFFSET(STARTUPINFOW, wShowWindow, 48, 64);
LAYOUT_OFFSET(STARTUPINFOW, hStdInput, 56, 80);
LAYOUT_OFFSET(STARTUPINFOW, hStdOutput, 60, 88);
LAYOUT_OFFSET(STARTUPINFOW, hStdError, 64, 96);
LAYOUT_SIZE(STARTUPINFOEXW, 72, 112);
LAYOUT_OFFSET(STARTUPINFOEXW, lpAttributeList, 68, 104);
LAYOUT_SIZE(PROCESS_INFORMATION, 16, 24);
LAYOUT_OFFSET(PROCESS_INFORMATION, dwProcessId, 8, 16);
LAYOUT_SIZE(SECURITY_ATTRIBUTES, 12, 24);
LAYOUT_OFFSET(SECURITY_ATTRIBUTES, bInheritHandle, 8, 16);

// The network resource, and the type library's record that mirrors it member for member.
LAYOUT_SIZE(NETRESOURCEW, 32, 48);
LAYOUT_OFFSET(NETRESOURCEW, dwUsage, 12, 12);
LAYOUT_OFFSET(NETRESOURCEW, lpLocalName, 16, 16);
LAYOUT_OFFSET(NETRESOURCEW, lpRemoteName, 20, 24);
LAYOUT_OFFSET(NETRESOURCEW, lpComment, 24, 32);
LAYOUT_OFFSET(NETRESOURCEW, lpProvider, 28, 40);
LAYOUT_SIZE(qcNetResource, 32, 48);
LAYOUT_OFFSET(qcNetResource, qcUsage, 12, 12);
LAYOUT_OFFSET(qcNetResource, qcLocalName, 16, 16);
LAYOUT_OFFSET(qcNetResource, qcProvider, 28, 40);

// The folder browser.
LAYOUT_SIZE(BROWSEINFOW, 32, 64);
LAYOUT_OFFSET(BROWSEINFOW, pidlRoot, 4, 8);
LAYOUT_OFFSET(BROWSEINFOW, pszDisplayName, 8, 16);
LAYOUT_OFFSET(BROWSEINFOW, lpszTitle, 12, 24);
LAYOUT_OFFSET(BROWSEINFOW, ulFlags, 16, 32);
LAYOUT_OFFSET(BROWSEINFOW, lParam, 24, 48);
LAYOUT_OFFSET(BROWSEINFOW, iImage, 28, 56);

// The shell's file operation: byte-packed on 32-bit Windows, aligned on 64-bit.
LAYOUT_SIZE(SHFILEOPSTRUCTW, 30, 56);
LAYOUT_OFFSET(SHFILEOPSTRUCTW, wFunc, 4, 8);
LAYOUT_OFFSET(SHFILEOPSTRUCTW, pFrom, 8, 16);
LAYOUT_OFFSET(SHFILEOPSTRUCTW, fFlags, 16, 32);
LAYOUT_OFFSET(SHFILEOPSTRUCTW, fAnyOperationsAborted, 18, 36);
LAYOUT_OFFSET(SHFILEOPSTRUCTW, lpszProgressTitle, 26, 48);

// The dispatch frame: ITypeInfo::Invoke lays the arguments out from the type
// library's types, so the methods' C++ parameters must have the sizes of those
// types (a VARIANT by value takes 16 bytes of a 32-bit call's stack).
LAYOUT_SIZE(VARIANT, 16, 24);
LAYOUT_OFFSET(VARIANT, lVal, 8, 8);
LAYOUT_SIZE(DISPPARAMS, 16, 24);
LAYOUT_OFFSET(DISPPARAMS, rgdispidNamedArgs, 4, 8);
LAYOUT_OFFSET(DISPPARAMS, cArgs, 8, 16);
LAYOUT_OFFSET(DISPPARAMS, cNamedArgs, 12, 20);
LAYOUT_SIZE(EXCEPINFO, 32, 64);
LAYOUT_OFFSET(EXCEPINFO, bstrSource, 4, 8);
LAYOUT_OFFSET(EXCEPINFO, bstrDescription, 8, 16);
LAYOUT_OFFSET(EXCEPINFO, dwHelpContext, 16, 32);
LAYOUT_OFFSET(EXCEPINFO, pfnDeferredFillIn, 24, 48);
LAYOUT_OFFSET(EXCEPINFO, scode, 28, 56);
LAYOUT_SIZE(long, 4, 4);  // VT_I4: the IDL's long and the enumerations
LAYOUT_SIZE(short, 2, 2);
LAYOUT_SIZE(VARIANT_BOOL, 2, 2);
LAYOUT_SIZE(unsigned char, 1, 1);
LAYOUT_SIZE(CY, 8, 8);
LAYOUT_SIZE(DATE, 8, 8);
LAYOUT_SIZE(BSTR, 4, 8);
LAYOUT_SIZE(IDispatch*, 4, 8);
LAYOUT_SIZE(SAFEARRAY*, 4, 8);
