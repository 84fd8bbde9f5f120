#include "qfcLibNetworkA.h"

#include <msxml2.h>
#include <wininet.h>
#include <winnetwk.h>

#include <memory>
#include <vector>

#include "Raii.h"
#include "server/Failure.h"
#include "forms/ShellRules.h"
#include "forms/qfcLibWindowsA.h"
#include "network/NetworkRules.h"

namespace quillon::qfcLibNetworkA {
namespace {

// The XML HTTP request class and its interface, by identifier.
const CLSID kXmlHttpRequestClass = {0xED8C108E, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
const IID kXmlHttpRequestInterface = {0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
const IID kXmlNodeInterface = {0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const HRESULT kTimedOut = HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT);

HWND windowFromLong(long value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

struct HttpFailure {
    explicit HttpFailure(HRESULT code, std::wstring description = {}) : hr(code), text(std::move(description)) {}
    HRESULT hr;
    std::wstring text; // the failure's own description, when it came with one
};

void check(HRESULT hr)
{
    if (FAILED(hr)) throw HttpFailure(hr);
}

raii::UniqueBstr bstrOf(const std::wstring& text)
{
    raii::UniqueBstr result = raii::makeBstr(text);
    if (!result) throw HttpFailure(E_OUTOFMEMORY);
    return result;
}

// What one request needs and gives, as plain values: the request runs on a
// thread of its own and shares nothing else with the caller.
struct HttpExchange {
    std::wstring url, method, userName, password;
    raii::UniqueVariant body;
    bool asXml = false;
    HRESULT hr = E_FAIL;
    std::wstring text, errorText;
    raii::UniqueHandle done;
};

// Credentials are passed only when given; an empty text means none.
void optionalText(VARIANT& out, const std::wstring& text)
{
    VariantInit(&out);
    if (text.empty()) return;
    V_VT(&out) = VT_BSTR;
    V_BSTR(&out) = bstrOf(text).release();
}

// The body as the request thread sends it: a byte array as given, a missing or
// null body as the empty text, anything else as its text (taken here, on the
// caller's thread, so no object of the caller crosses to the request thread).
void requestBody(const VARIANT& vBody, raii::UniqueVariant& body)
{
    check(VariantCopyInd(body.put(), const_cast<VARIANT*>(&vBody)));
    VARTYPE type = V_VT(body.get());
    if (type == (VT_ARRAY | VT_UI1) || type == VT_BSTR) return;
    if (type == VT_EMPTY || type == VT_NULL || type == VT_ERROR) {
        VARIANT* text = body.put();
        V_VT(text) = VT_BSTR;
        V_BSTR(text) = bstrOf(L"").release();
        return;
    }
    check(VariantChangeType(body.get(), body.get(), VARIANT_ALPHABOOL, VT_BSTR));
}

std::wstring responseText(IXMLHTTPRequest* request, bool asXml)
{
    raii::UniqueBstr text;
    if (asXml) {
        raii::ComPtr<IDispatch> document;
        check(request->get_responseXML(document.put()));
        if (!document) throw HttpFailure(E_FAIL);
        raii::ComPtr<IXMLDOMNode> node;
        check(document.as(node, kXmlNodeInterface));
        check(node->get_xml(text.put()));
    } else {
        check(request->get_responseText(text.put()));
    }
    return raii::toWString(text.get());
}

std::wstring describeHResult(HRESULT hr)
{
    raii::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        raii::UniqueBstr description;
        if (SUCCEEDED(info->GetDescription(description.put())) && SysStringLen(description.get()) > 0)
            return raii::toWString(description.get());
    }
    if (hr == kTimedOut) return L"The operation timed out";
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    raii::UniqueLocal owner(buffer);
    std::wstring text(buffer ? buffer : L"", length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    return text.empty() ? L"Automation error" : text;
}

void exchange(HttpExchange& work)
{
    raii::UniqueVariant user, secret;
    optionalText(*user.get(), work.userName);
    optionalText(*secret.get(), work.password);
    raii::ComPtr<IXMLHTTPRequest> request;
    check(CoCreateInstance(kXmlHttpRequestClass, nullptr, CLSCTX_INPROC_SERVER, kXmlHttpRequestInterface,
                           request.putVoid()));
    VARIANT synchronous;
    V_VT(&synchronous) = VT_BOOL;
    V_BOOL(&synchronous) = VARIANT_FALSE;
    check(request->open(bstrOf(work.method).get(), bstrOf(work.url).get(), synchronous, *user.get(),
                        *secret.get()));
    check(request->send(*work.body.get()));
    work.text = responseText(request.get(), work.asXml);
}

// The request thread: its own apartment, the request object created, used and
// released there. It keeps the library loaded until it ends, even when the
// caller stopped waiting for it.
DWORD WINAPI runExchange(void* parameter)
{
    auto* shared = static_cast<std::shared_ptr<HttpExchange>*>(parameter);
    std::shared_ptr<HttpExchange> work = std::move(*shared);
    delete shared;
    {
        raii::ComScope apartment;
        try {
            check(apartment.result());
            exchange(*work);
            work->hr = S_OK;
        } catch (const HttpFailure& failure) {
            work->hr = failure.hr;
            work->errorText = describeHResult(failure.hr);
        } catch (...) {
            work->hr = E_OUTOFMEMORY;
        }
        SetEvent(work->done.get());
    }
    work.reset();
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&runExchange), &self);
    FreeLibraryAndExitThread(self, 0);
}

// Runs the request on its own thread and waits at most timeoutMs for it. The
// synchronous request cannot be interrupted; one that outlives the wait is
// left to end by itself while the caller gets the time-out.
std::wstring fetch(const std::shared_ptr<HttpExchange>& work, DWORD timeoutMs)
{
    work->done.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!work->done) throw HttpFailure(failure::lastWin32Error());
    HMODULE pinned = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&runExchange),
                            &pinned))
        throw HttpFailure(failure::lastWin32Error());
    auto* handOver = new std::shared_ptr<HttpExchange>(work);
    raii::UniqueHandle thread(CreateThread(nullptr, 0, runExchange, handOver, 0, nullptr));
    if (!thread) {
        HRESULT hr = failure::lastWin32Error();
        delete handOver;
        FreeLibrary(pinned);
        throw HttpFailure(hr);
    }
    if (WaitForSingleObject(work->done.get(), timeoutMs) != WAIT_OBJECT_0) throw HttpFailure(kTimedOut);
    if (FAILED(work->hr)) throw HttpFailure(work->hr, work->errorText);
    return work->text;
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
                   std::wstring& sErrorMSG, DWORD timeoutMs)
{
    iErrorNum = 0;
    sErrorMSG.clear();
    clearSource(vSourceCode, bReturnXML);
    if (ShellRules::TrimSpaces(vURL).empty()) {
        iErrorNum = -1;
        sErrorMSG = L"No valid URL specified";
        return false;
    }
    try {
        auto work = std::make_shared<HttpExchange>();
        work->url = vURL;
        work->method = NetworkRules::RequestMethod(sMethod);
        work->userName = vUserName;
        work->password = vPassword;
        work->asXml = bReturnXML;
        requestBody(vBody, work->body);
        raii::UniqueBstr text = bstrOf(fetch(work, timeoutMs));
        VariantClear(&vSourceCode);
        V_VT(&vSourceCode) = VT_BSTR;
        V_BSTR(&vSourceCode) = text.release();
        return true;
    } catch (const HttpFailure& failure) {
        iErrorNum = failure.hr;
        sErrorMSG = failure.text.empty() ? describeHResult(failure.hr) : failure.text;
    } catch (const std::bad_alloc&) {
        iErrorNum = E_OUTOFMEMORY;
        sErrorMSG = describeHResult(E_OUTOFMEMORY);
    }
    clearSource(vSourceCode, bReturnXML);
    return false;
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
