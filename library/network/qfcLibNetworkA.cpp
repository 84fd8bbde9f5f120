#include "qfcLibNetworkA.h"

#include <winnetwk.h>

#include <vector>

#include "Raii.h"
#include "server/Failure.h"
#include "forms/ShellRules.h"
#include "forms/qfcLibWindowsA.h"
#include "network/HttpExchange.h"
#include "network/NetworkRules.h"

namespace quillon::qfcLibNetworkA {
namespace {

HWND windowFromLong(long value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

// The body as the request's process sends it: a byte array as given, a
// missing or null body as the empty text, anything else as its text.
HRESULT requestBody(const VARIANT& vBody, raii::UniqueVariant& body)
{
    HRESULT hr = VariantCopyInd(body.put(), const_cast<VARIANT*>(&vBody));
    if (FAILED(hr)) return hr;
    VARTYPE type = V_VT(body.get());
    if (type == (VT_ARRAY | VT_UI1) || type == VT_BSTR) return S_OK;
    if (type == VT_EMPTY || type == VT_NULL || type == VT_ERROR) {
        VARIANT* text = body.put();
        V_VT(text) = VT_BSTR;
        V_BSTR(text) = nullptr;
        return S_OK;
    }
    return VariantChangeType(body.get(), body.get(), VARIANT_ALPHABOOL, VT_BSTR);
}

void clearSource(VARIANT& vSourceCode, bool asXml)
{
    VariantClear(&vSourceCode);
    if (asXml) {
        V_VT(&vSourceCode) = VT_DISPATCH;
        V_DISPATCH(&vSourceCode) = nullptr;
    } else {
        V_VT(&vSourceCode) = VT_BSTR;
        V_BSTR(&vSourceCode) = SysAllocString(L"");
    }
}

long connectionDialog(long vFormHwnd, DWORD type) { return WNetConnectionDialog(windowFromLong(vFormHwnd), type); }
long disconnectDialog(long vFormHwnd, DWORD type) { return WNetDisconnectDialog(windowFromLong(vFormHwnd), type); }

constexpr long kInvalidDrive = -1;

} // namespace

bool GetHTTPSource(const std::wstring& vURL, VARIANT& vSourceCode, const std::wstring& sMethod, const VARIANT& vBody,
                   const std::wstring& vUserName, const std::wstring& vPassword, bool bReturnXML, long& iErrorNum,
                   std::wstring& sErrorMSG, const HttpOptions& options)
{
    iErrorNum = 0;
    sErrorMSG.clear();
    clearSource(vSourceCode, bReturnXML);
    if (ShellRules::TrimSpaces(vURL).empty()) {
        iErrorNum = -1;
        sErrorMSG = L"No valid URL specified";
        return false;
    }
    HttpExchange::Request request;
    request.url = vURL;
    request.method = NetworkRules::RequestMethod(sMethod);
    request.userName = vUserName;
    request.password = vPassword;
    request.asXml = bReturnXML;
    HttpExchange::Reply reply;
    reply.hr = requestBody(vBody, request.body);
    if (SUCCEEDED(reply.hr)) reply = HttpExchange::Run(request, options.timeoutMs, options.hostLibrary);
    raii::UniqueBstr text = raii::makeBstr(reply.text);
    if (SUCCEEDED(reply.hr) && !text) reply.hr = E_OUTOFMEMORY;
    if (FAILED(reply.hr)) {
        iErrorNum = reply.hr;
        sErrorMSG = reply.errorText.empty() ? HttpExchange::Describe(reply.hr) : reply.errorText;
        return false;
    }
    VariantClear(&vSourceCode);
    V_VT(&vSourceCode) = VT_BSTR;
    V_BSTR(&vSourceCode) = text.release();
    return true;
}

std::wstring GetUserID()
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD code = WNetGetUserW(nullptr, buffer.data(), &size);
        if (code == NO_ERROR) return buffer.data();
        if (code != ERROR_MORE_DATA || size <= buffer.size()) return L"Unknown";
        buffer.resize(size);
    }
}

std::wstring GetMachineName()
{
    std::vector<wchar_t> buffer(MAX_COMPUTERNAME_LENGTH + 1);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        if (GetComputerNameW(buffer.data(), &size)) return std::wstring(buffer.data(), size);
        if (GetLastError() != ERROR_BUFFER_OVERFLOW || size <= buffer.size()) return L"Unknown";
        buffer.resize(size);
    }
}

bool OpenURL(const std::wstring& vLinkName, long vFormHwnd)
{
    return qfcLibWindowsA::ShellCommand(vLinkName, L"", 0 /* open */, SW_SHOWNORMAL, L"", vFormHwnd, true);
}

long MapNetDriveDialog(long vFormHwnd) { return connectionDialog(vFormHwnd, RESOURCETYPE_DISK); }
long MapNetPrinterDialog(long vFormHwnd) { return connectionDialog(vFormHwnd, RESOURCETYPE_PRINT); }
long UnMapNetDriveDialog(long vFormHwnd) { return disconnectDialog(vFormHwnd, RESOURCETYPE_DISK); }
long UnMapNetPrinterDialog(long vFormHwnd) { return disconnectDialog(vFormHwnd, RESOURCETYPE_PRINT); }

long MapNetDrive(const std::wstring& vPath, const std::wstring& vDrive, const std::wstring& vUserName,
                 const std::wstring& vPassword, long vFormHwnd, bool vPermConnect)
{
    std::wstring drive = NetworkRules::DriveName(vDrive, NetworkRules::DriveUse::Map);
    if (drive.empty()) return kInvalidDrive;
    if (!ShellRules::IsPassable(vPath) || !ShellRules::IsPassable(vUserName) || !ShellRules::IsPassable(vPassword))
        return ERROR_INVALID_PARAMETER;
    NETRESOURCEW resource = {};
    resource.dwScope = RESOURCE_GLOBALNET;
    resource.dwType = RESOURCETYPE_DISK;
    resource.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE;
    resource.dwUsage = RESOURCEUSAGE_CONNECTABLE;
    resource.lpLocalName = drive.data();
    resource.lpRemoteName = const_cast<wchar_t*>(vPath.c_str());
    return WNetAddConnection3W(windowFromLong(vFormHwnd), &resource, vPassword.c_str(), vUserName.c_str(),
                               vPermConnect ? CONNECT_UPDATE_PROFILE : 0);
}

long UnMapNetDrive(const std::wstring& vDrive, bool vPermDisconnect, bool vForce)
{
    std::wstring drive = NetworkRules::DriveName(vDrive, NetworkRules::DriveUse::Unmap);
    if (drive.empty()) return kInvalidDrive;
    return WNetCancelConnection2W(drive.c_str(), vPermDisconnect ? CONNECT_UPDATE_PROFILE : 0, vForce ? TRUE : FALSE);
}

} // namespace quillon::qfcLibNetworkA
