// The routines behind qfcLibNetwork: HTTP requests, user and machine names,
// links opened with the shell, network drive and printer connections.
#pragma once

#include <windows.h>

#include <string>

#include "CheckedName.h"

namespace quillon::qfcLibNetworkA {

// A request ends after this long without progress in any phase (name
// resolution, connection, sending, each wait for data) ...
constexpr DWORD kHttpSilenceMs = 60 * 1000;
// ... or after this long in all, however steadily its data arrives.
constexpr DWORD kHttpTotalMs = 15 * 60 * 1000;

struct HttpLimits {
    DWORD silenceMs = kHttpSilenceMs;
    DWORD totalMs = kHttpTotalMs;
};

// A request's body: a text (sent in UTF-8) or bytes sent as they are. A
// caller's value that could not be made a body gives its HRESULT in error,
// which the request reports as its failure.
struct HttpBody {
    std::wstring text;
    std::string bytes;
    bool isBytes = false;
    HRESULT error = S_OK;
};

// Never raises: every failure gives false with its number and text in iErrorNum
// and sErrorMSG, and vSourceCode "". vSourceCode receives the response text, or
// with bReturnXML the XML of the response as the system's XML document writes it.
bool GetHTTPSource(const std::wstring& vURL, std::wstring& vSourceCode, const std::wstring& sMethod,
                   const HttpBody& vBody, const std::wstring& vUserName, const std::wstring& vPassword,
                   bool bReturnXML, long& iErrorNum, std::wstring& sErrorMSG, const HttpLimits& limits = {});

// "Unknown" when the system cannot tell.
std::wstring GetUserID();
std::wstring GetMachineName();

bool OpenURL(const CheckedName& vLinkName, long vFormHwnd);

// The codes are the system's (0 for success), or -1 for an invalid drive text (checked first), or 87 for a
// path, user or password the marshalling refused (none).
long MapNetDriveDialog(long vFormHwnd);
long MapNetDrive(const NameIfWhole& vPath, const std::wstring& vDrive, const NameIfWhole& vUserName,
                 const NameIfWhole& vPassword, long vFormHwnd, bool vPermConnect);
long MapNetPrinterDialog(long vFormHwnd);
long UnMapNetDrive(const std::wstring& vDrive, bool vPermDisconnect, bool vForce);
long UnMapNetDriveDialog(long vFormHwnd);
long UnMapNetPrinterDialog(long vFormHwnd);

} // namespace quillon::qfcLibNetworkA
