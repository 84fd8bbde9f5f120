#include "qfcLibNetworkA.h"

#include <msxml2.h>
#include <winnetwk.h>

#include <climits>
#include <cstring>
#include <vector>

#include "Raii.h"
#include "TextCodes.h"
#include "forms/ShellRules.h"
#include "forms/qfcLibWindowsA.h"
#include "network/HttpTransfer.h"
#include "network/NetworkRules.h"

namespace quillon::qfcLibNetworkA {
namespace {

HWND windowFromLong(long value) { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }

// The system's XML document objects, newest first, and the interface used.
const CLSID kXmlDocumentClasses[] = {
    {0x88D96A05, 0xF192, 0x11D4, {0xA6, 0x5F, 0x00, 0x40, 0x96, 0x32, 0x51, 0xE5}},
    {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}},
};
const IID kXmlDocumentInterface = {0x2933BF81, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

using HttpTransfer::Failure;

void check(HRESULT hr)
{
    if (FAILED(hr)) throw Failure{hr, {}};
}

// A code page the system cannot convert from is read as UTF-8, like a response that names none.
std::wstring textOf(unsigned codePage, const char* data, size_t size)
{
    if (size == 0) return std::wstring();
    if (size > INT_MAX) throw Failure{E_OUTOFMEMORY, {}};
    if (codePage == NetworkRules::kUtf16 || codePage == NetworkRules::kUtf16BigEndian)
        return textcodes::FromUtf16(data, size, codePage == NetworkRules::kUtf16BigEndian);
    std::wstring text = textcodes::FromCodePage(codePage, data, size);
    if (text.empty() && codePage != NetworkRules::kUtf8) return textOf(NetworkRules::kUtf8, data, size);
    return text;
}

// As the XML request object reads a response: the charset of its Content-Type,
// else its byte-order mark, else UTF-8. A mark of the chosen encoding is not text.
std::wstring decodedText(const HttpTransfer::Response& response)
{
    unsigned codePage = NetworkRules::CodePageOf(NetworkRules::CharsetOf(response.contentType));
    size_t markLength = 0;
    unsigned marked = NetworkRules::CodePageOfMark(response.body, markLength);
    if (codePage == 0) codePage = marked ? marked : NetworkRules::kUtf8;
    else if (codePage == NetworkRules::kUtf16 && marked == NetworkRules::kUtf16BigEndian) codePage = marked;
    if (marked != codePage) markLength = 0;
    return textOf(codePage, response.body.data() + markLength, response.body.size() - markLength);
}

raii::ComPtr<IXMLDOMDocument> xmlDocument()
{
    raii::ComPtr<IXMLDOMDocument> document;
    HRESULT hr = E_FAIL;
    for (const CLSID& type : kXmlDocumentClasses) {
        hr = CoCreateInstance(type, nullptr, CLSCTX_INPROC_SERVER, kXmlDocumentInterface, document.putVoid());
        if (SUCCEEDED(hr)) break;
    }
    check(hr);
    // A response is not trusted to make the parser fetch other documents.
    check(document->put_async(VARIANT_FALSE));
    check(document->put_resolveExternals(VARIANT_FALSE));
    check(document->put_validateOnParse(VARIANT_FALSE));
    return document;
}

// Invalid XML is a failure with the parser's reason, not an empty success.
[[noreturn]] void failParsing(IXMLDOMDocument* document)
{
    raii::ComPtr<IXMLDOMParseError> error;
    long code = 0;
    raii::UniqueBstr reason;
    if (SUCCEEDED(document->get_parseError(error.put())) && error) {
        error->get_errorCode(&code);
        error->get_reason(reason.put());
    }
    std::wstring text = raii::toWString(reason.get());
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    throw Failure{FAILED(code) ? code : E_FAIL, text};
}

// The response parsed by the system's XML document object from its bytes (so
// its own declaration or mark decides the encoding) and written out again.
std::wstring xmlText(const std::string& body)
{
    raii::ComScope apartment; // the caller's own, when it has one
    raii::ComPtr<IXMLDOMDocument> document = xmlDocument();
    raii::UniqueVariant source;
    raii::UniqueSafeArray bytes(SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(body.size())));
    if (!bytes) throw Failure{E_OUTOFMEMORY, {}};
    if (!body.empty()) std::memcpy(bytes.get()->pvData, body.data(), body.size());
    V_VT(source.get()) = VT_ARRAY | VT_UI1;
    V_ARRAY(source.get()) = bytes.release();
    VARIANT_BOOL loaded = VARIANT_FALSE;
    check(document->load(*source.get(), &loaded));
    if (loaded != VARIANT_TRUE) failParsing(document.get());
    raii::UniqueBstr text;
    check(document->get_xml(text.put()));
    return raii::toWString(text.get());
}

HttpTransfer::Request requestOf(const std::wstring& vURL, const std::wstring& sMethod, const HttpBody& vBody,
                                const std::wstring& vUserName, const std::wstring& vPassword)
{
    check(vBody.error);
    HttpTransfer::Request request{vURL, NetworkRules::RequestMethod(sMethod), vUserName, vPassword, {}, {}};
    if (vBody.isBytes) {
        request.body = vBody.bytes;
    } else if (!vBody.text.empty()) {
        request.body = textcodes::ToCodePage(CP_UTF8, vBody.text);
        if (request.body.empty()) throw Failure{E_OUTOFMEMORY, {}};
        request.contentType = L"text/plain; charset=UTF-8";
    }
    return request;
}

long connectionDialog(long vFormHwnd, DWORD type) { return WNetConnectionDialog(windowFromLong(vFormHwnd), type); }
long disconnectDialog(long vFormHwnd, DWORD type) { return WNetDisconnectDialog(windowFromLong(vFormHwnd), type); }

constexpr long kInvalidDrive = -1;

} // namespace

bool GetHTTPSource(const std::wstring& vURL, std::wstring& vSourceCode, const std::wstring& sMethod,
                   const HttpBody& vBody, const std::wstring& vUserName, const std::wstring& vPassword,
                   bool bReturnXML, long& iErrorNum, std::wstring& sErrorMSG, const HttpLimits& limits)
{
    iErrorNum = 0;
    sErrorMSG.clear();
    vSourceCode.clear();
    if (ShellRules::TrimSpaces(vURL).empty()) {
        iErrorNum = -1;
        sErrorMSG = L"No valid URL specified";
        return false;
    }
    Failure failed{E_OUTOFMEMORY, {}};
    try {
        HttpTransfer::Response response = HttpTransfer::Exchange(
            requestOf(vURL, sMethod, vBody, vUserName, vPassword), {limits.silenceMs, limits.totalMs});
        vSourceCode = bReturnXML ? xmlText(response.body) : decodedText(response);
        return true;
    } catch (const Failure& failure) {
        failed = failure;
    } catch (const std::bad_alloc&) {
    }
    vSourceCode.clear();
    iErrorNum = failed.hr;
    sErrorMSG = failed.text.empty() ? HttpTransfer::Describe(failed.hr) : failed.text;
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

bool OpenURL(const CheckedName& vLinkName, long vFormHwnd)
{
    return qfcLibWindowsA::ShellCommand(vLinkName, CheckedName(), 0 /* open */, SW_SHOWNORMAL, CheckedName(), vFormHwnd,
                                        true);
}

long MapNetDriveDialog(long vFormHwnd) { return connectionDialog(vFormHwnd, RESOURCETYPE_DISK); }
long MapNetPrinterDialog(long vFormHwnd) { return connectionDialog(vFormHwnd, RESOURCETYPE_PRINT); }
long UnMapNetDriveDialog(long vFormHwnd) { return disconnectDialog(vFormHwnd, RESOURCETYPE_DISK); }
long UnMapNetPrinterDialog(long vFormHwnd) { return disconnectDialog(vFormHwnd, RESOURCETYPE_PRINT); }

long MapNetDrive(const NameIfWhole& vPath, const std::wstring& vDrive, const NameIfWhole& vUserName,
                 const NameIfWhole& vPassword, long vFormHwnd, bool vPermConnect)
{
    std::wstring drive = NetworkRules::DriveName(vDrive, NetworkRules::DriveUse::Map);
    if (drive.empty()) return kInvalidDrive;
    if (!vPath || !vUserName || !vPassword) return ERROR_INVALID_PARAMETER;
    NETRESOURCEW resource = {};
    resource.dwScope = RESOURCE_GLOBALNET;
    resource.dwType = RESOURCETYPE_DISK;
    resource.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE;
    resource.dwUsage = RESOURCEUSAGE_CONNECTABLE;
    resource.lpLocalName = drive.data();
    resource.lpRemoteName = const_cast<wchar_t*>(vPath->c_str());
    return WNetAddConnection3W(windowFromLong(vFormHwnd), &resource, vPassword->c_str(), vUserName->c_str(),
                               vPermConnect ? CONNECT_UPDATE_PROFILE : 0);
}

long UnMapNetDrive(const std::wstring& vDrive, bool vPermDisconnect, bool vForce)
{
    std::wstring drive = NetworkRules::DriveName(vDrive, NetworkRules::DriveUse::Unmap);
    if (drive.empty()) return kInvalidDrive;
    return WNetCancelConnection2W(drive.c_str(), vPermDisconnect ? CONNECT_UPDATE_PROFILE : 0, vForce ? TRUE : FALSE);
}

} // namespace quillon::qfcLibNetworkA
