// The routines behind qfcLibNetwork: HTTP requests, user and machine names,
// links opened with the shell, network drive and printer connections.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace quillon::qfcLibNetworkA {

// Longest wait for a whole HTTP response; a request that takes longer is cancelled.
constexpr DWORD kHttpTimeoutMs = 60000;

struct HttpOptions {
    DWORD timeoutMs = kHttpTimeoutMs;
    std::wstring hostLibrary; // the library whose entry runs the request; "" for this one
};

// Never raises: every failure gives false with its number and text in iErrorNum and sErrorMSG.
// vSourceCode receives the response text (or its XML when bReturnXML is true).
bool GetHTTPSource(const std::wstring& vURL, VARIANT& vSourceCode, const std::wstring& sMethod, const VARIANT& vBody,
                   const std::wstring& vUserName, const std::wstring& vPassword, bool bReturnXML, long& iErrorNum,
                   std::wstring& sErrorMSG, const HttpOptions& options = {});

// "Unknown" when the system cannot tell.
std::wstring GetUserID();
std::wstring GetMachineName();

bool OpenURL(const std::wstring& vLinkName, long vFormHwnd);

// The codes are the system's (0 for success), or -1 for an invalid drive text.
long MapNetDriveDialog(long vFormHwnd);
long MapNetDrive(const std::wstring& vPath, const std::wstring& vDrive, const std::wstring& vUserName,
                 const std::wstring& vPassword, long vFormHwnd, bool vPermConnect);
long MapNetPrinterDialog(long vFormHwnd);
long UnMapNetDrive(const std::wstring& vDrive, bool vPermDisconnect, bool vForce);
long UnMapNetDriveDialog(long vFormHwnd);
long UnMapNetPrinterDialog(long vFormHwnd);

} // namespace quillon::qfcLibNetworkA
