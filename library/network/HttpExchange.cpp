#include "HttpExchange.h"

#include <msxml2.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "server/Failure.h"
#include "server/Server.h"

namespace quillon::HttpExchange {
namespace {

// The XML HTTP request class and its interface, by identifier.
const CLSID kXmlHttpRequestClass = {0xED8C108E, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
const IID kXmlHttpRequestInterface = {0xED8C108D, 0x4349, 0x11D2, {0x91, 0xA4, 0x00, 0xC0, 0x4F, 0x79, 0x69, 0xE8}};
const IID kXmlNodeInterface = {0x2933BF80, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

const HRESULT kTimedOut = HRESULT_FROM_WIN32(ERROR_INTERNET_TIMEOUT);
const HRESULT kBadMessage = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
constexpr DWORD kPipeBuffer = 64 * 1024;

struct HttpFailure {
    HRESULT hr;
};

void check(HRESULT hr)
{
    if (FAILED(hr)) throw HttpFailure{hr};
}

void checkCall(BOOL succeeded)
{
    if (!succeeded) throw HttpFailure{failure::lastWin32Error()};
}

raii::UniqueBstr bstrOf(const std::wstring& text)
{
    raii::UniqueBstr result = raii::makeBstr(text);
    if (!result) throw HttpFailure{E_OUTOFMEMORY};
    return result;
}

// The messages between the caller and the request process: a 32-bit length,
// then the fields, each a 32-bit count and its bytes (texts in UTF-16).
class MessageWriter {
public:
    void number(uint32_t value) { bytes_.append(reinterpret_cast<const char*>(&value), sizeof(value)); }
    void bytes(const void* data, size_t size)
    {
        number(static_cast<uint32_t>(size));
        bytes_.append(static_cast<const char*>(data), size);
    }
    void text(const std::wstring& value) { bytes(value.data(), value.size() * sizeof(wchar_t)); }
    std::string framed() const
    {
        uint32_t size = static_cast<uint32_t>(bytes_.size());
        return std::string(reinterpret_cast<const char*>(&size), sizeof(size)) + bytes_;
    }

private:
    std::string bytes_;
};

class MessageReader {
public:
    explicit MessageReader(const std::string& bytes) : bytes_(bytes) {}
    uint32_t number()
    {
        uint32_t value = 0;
        std::memcpy(&value, take(sizeof(value)), sizeof(value));
        return value;
    }
    std::string bytes()
    {
        uint32_t size = number();
        return std::string(take(size), size);
    }
    std::wstring text()
    {
        std::string raw = bytes();
        if (raw.size() % sizeof(wchar_t)) throw HttpFailure{kBadMessage};
        std::wstring value(raw.size() / sizeof(wchar_t), L'\0');
        std::memcpy(value.data(), raw.data(), raw.size());
        return value;
    }

private:
    const char* take(size_t size)
    {
        if (size > bytes_.size() - at_) throw HttpFailure{kBadMessage};
        const char* start = bytes_.data() + at_;
        at_ += size;
        return start;
    }
    const std::string& bytes_;
    size_t at_ = 0;
};

enum BodyKind : uint32_t { kTextBody, kByteBody };

std::string encodeRequest(const Request& request)
{
    MessageWriter out;
    for (const std::wstring* field : {&request.url, &request.method, &request.userName, &request.password})
        out.text(*field);
    out.number(request.asXml ? 1 : 0);
    const VARIANT& body = *request.body.get();
    if (V_VT(&body) == (VT_ARRAY | VT_UI1)) {
        SAFEARRAY* array = V_ARRAY(&body);
        LONG lower = 0, upper = -1;
        check(SafeArrayGetLBound(array, 1, &lower));
        check(SafeArrayGetUBound(array, 1, &upper));
        void* data = nullptr;
        check(SafeArrayAccessData(array, &data));
        out.number(kByteBody);
        out.bytes(data, static_cast<size_t>(upper - lower + 1));
        SafeArrayUnaccessData(array);
    } else {
        out.number(kTextBody);
        out.text(raii::toWString(V_BSTR(&body)));
    }
    return out.framed();
}

void decodeRequest(const std::string& message, Request& request)
{
    MessageReader in(message);
    for (std::wstring* field : {&request.url, &request.method, &request.userName, &request.password})
        *field = in.text();
    request.asXml = in.number() != 0;
    VARIANT* body = request.body.put();
    if (in.number() == kByteBody) {
        std::string bytes = in.bytes();
        raii::UniqueSafeArray array(SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size())));
        if (!array) throw HttpFailure{E_OUTOFMEMORY};
        if (!bytes.empty()) std::memcpy(array.get()->pvData, bytes.data(), bytes.size());
        V_VT(body) = VT_ARRAY | VT_UI1;
        V_ARRAY(body) = array.release();
    } else {
        V_VT(body) = VT_BSTR;
        V_BSTR(body) = bstrOf(in.text()).release();
    }
}

std::string encodeReply(const Reply& reply)
{
    MessageWriter out;
    out.number(static_cast<uint32_t>(reply.hr));
    out.text(reply.text);
    out.text(reply.errorText);
    return out.framed();
}

Reply decodeReply(const std::string& message)
{
    MessageReader in(message);
    Reply reply;
    reply.hr = static_cast<HRESULT>(in.number());
    reply.text = in.text();
    reply.errorText = in.text();
    return reply;
}

// ---- In the request's process ----

// Credentials are passed only when given; an empty text means none.
void optionalText(VARIANT& out, const std::wstring& text)
{
    VariantInit(&out);
    if (text.empty()) return;
    V_VT(&out) = VT_BSTR;
    V_BSTR(&out) = bstrOf(text).release();
}

std::wstring responseText(IXMLHTTPRequest* request, bool asXml)
{
    raii::UniqueBstr text;
    if (asXml) {
        raii::ComPtr<IDispatch> document;
        check(request->get_responseXML(document.put()));
        if (!document) throw HttpFailure{E_FAIL};
        raii::ComPtr<IXMLDOMNode> node;
        check(document.as(node, kXmlNodeInterface));
        check(node->get_xml(text.put()));
    } else {
        check(request->get_responseText(text.put()));
    }
    return raii::toWString(text.get());
}

std::wstring exchange(const Request& work)
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
    return responseText(request.get(), work.asXml);
}

std::string readWhole(HANDLE pipe)
{
    auto readExactly = [pipe](std::string& into, size_t size) {
        size_t start = into.size();
        into.resize(start + size);
        while (start < into.size()) {
            DWORD got = 0;
            DWORD wanted = static_cast<DWORD>(std::min<size_t>(into.size() - start, kPipeBuffer));
            checkCall(ReadFile(pipe, &into[start], wanted, &got, nullptr));
            if (got == 0) throw HttpFailure{kBadMessage};
            start += got;
        }
    };
    std::string length;
    readExactly(length, sizeof(uint32_t));
    uint32_t size = 0;
    std::memcpy(&size, length.data(), sizeof(size));
    std::string message;
    readExactly(message, size);
    return message;
}

void writeWhole(HANDLE pipe, const std::string& message)
{
    for (size_t at = 0; at < message.size();) {
        DWORD written = 0;
        DWORD size = static_cast<DWORD>(std::min<size_t>(message.size() - at, kPipeBuffer));
        if (!WriteFile(pipe, message.data() + at, size, &written, nullptr) || written == 0) return;
        at += written;
    }
    FlushFileBuffers(pipe);
}

// ---- In the caller's process ----

class Deadline {
public:
    explicit Deadline(DWORD ms) : end_(GetTickCount64() + ms) {}
    DWORD left() const
    {
        ULONGLONG now = GetTickCount64();
        return now >= end_ ? 0 : static_cast<DWORD>(end_ - now);
    }

private:
    ULONGLONG end_;
};

// The caller's end of the pipe, with overlapped transfers that give up at the deadline.
class CallerPipe {
public:
    CallerPipe(HANDLE pipe, const Deadline& deadline) : pipe_(pipe), deadline_(deadline)
    {
        event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!event_) throw HttpFailure{failure::lastWin32Error()};
    }

    void write(const std::string& message)
    {
        for (size_t at = 0; at < message.size();) {
            DWORD size = static_cast<DWORD>(std::min<size_t>(message.size() - at, kPipeBuffer));
            OVERLAPPED io = start();
            at += finish(io, WriteFile(pipe_, message.data() + at, size, nullptr, &io));
        }
    }

    std::string read()
    {
        std::string message;
        size_t wanted = sizeof(uint32_t);
        bool sized = false;
        std::vector<char> chunk(kPipeBuffer);
        for (;;) {
            while (message.size() < wanted) {
                DWORD size = static_cast<DWORD>(std::min<size_t>(wanted - message.size(), chunk.size()));
                OVERLAPPED io = start();
                DWORD got = finish(io, ReadFile(pipe_, chunk.data(), size, nullptr, &io));
                message.append(chunk.data(), got);
            }
            if (sized) return message.substr(sizeof(uint32_t));
            uint32_t size = 0;
            std::memcpy(&size, message.data(), sizeof(size));
            wanted += size;
            sized = true;
        }
    }

private:
    OVERLAPPED start()
    {
        OVERLAPPED io = {};
        io.hEvent = event_.get();
        return io;
    }

    // The bytes moved; a broken pipe (the request's process ended) is a failure.
    DWORD finish(OVERLAPPED& io, BOOL started)
    {
        if (!started && GetLastError() != ERROR_IO_PENDING) throw HttpFailure{failure::lastWin32Error()};
        DWORD moved = 0;
        if (WaitForSingleObject(io.hEvent, deadline_.left()) != WAIT_OBJECT_0) {
            CancelIoEx(pipe_, &io);
            GetOverlappedResult(pipe_, &io, &moved, TRUE);
            throw HttpFailure{kTimedOut};
        }
        checkCall(GetOverlappedResult(pipe_, &io, &moved, FALSE));
        if (moved == 0) throw HttpFailure{HRESULT_FROM_WIN32(ERROR_BROKEN_PIPE)};
        return moved;
    }

    HANDLE pipe_;
    const Deadline& deadline_;
    raii::UniqueHandle event_;
};

// rundll32 ends the library's name at its first comma: such a name is given in
// its short form, which never holds one.
std::wstring libraryForRundll(const std::wstring& library)
{
    if (library.find(L',') == std::wstring::npos) return library;
    std::wstring shortName(GetShortPathNameW(library.c_str(), nullptr, 0), L'\0');
    DWORD length = shortName.empty() ? 0 : GetShortPathNameW(library.c_str(), shortName.data(),
                                                             static_cast<DWORD>(shortName.size()));
    shortName.resize(length < shortName.size() ? length : 0);
    if (shortName.empty() || shortName.find(L',') != std::wstring::npos)
        throw HttpFailure{HRESULT_FROM_WIN32(ERROR_BAD_PATHNAME)};
    return shortName;
}

std::wstring rundllCommand(const std::wstring& library, HANDLE pipe)
{
    wchar_t system[MAX_PATH] = {};
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) throw HttpFailure{failure::lastWin32Error()};
    wchar_t handle[24] = {};
    swprintf(handle, 24, L"%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(pipe)));
    return L"\"" + std::wstring(system) + L"\\rundll32.exe\" \"" + libraryForRundll(library) +
           L"\",QuillonHttpRequest " + handle;
}

// A pipe whose one end stays here and whose other end only the request's process inherits.
struct PipeEnds {
    raii::UniqueFile caller, request;
};

PipeEnds makePipe()
{
    static std::atomic<unsigned> counter{0};
    std::wstring name = L"\\\\.\\pipe\\Quillon-http-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(GetCurrentThreadId()) + L"-" + std::to_wstring(++counter);
    PipeEnds ends;
    ends.caller.reset(CreateNamedPipeW(name.c_str(),
                                       PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                       PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                       1, kPipeBuffer, kPipeBuffer, 0, nullptr));
    if (!ends.caller) throw HttpFailure{failure::lastWin32Error()};
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    ends.request.reset(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, 0,
                                   nullptr));
    if (!ends.request) throw HttpFailure{failure::lastWin32Error()};
    return ends;
}

// The request's process: once it has replied it ends by itself; on any other
// way out it is ended here, and its connection with it.
class RequestProcess {
public:
    RequestProcess(const std::wstring& library, HANDLE pipe)
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        std::vector<char> storage(size);
        auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
        checkCall(InitializeProcThreadAttributeList(attributes, 1, 0, &size));
        HANDLE inherited[] = {pipe};
        BOOL listed = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                                sizeof(inherited), nullptr, nullptr);
        STARTUPINFOEXW startup = {};
        startup.StartupInfo.cb = sizeof(startup);
        startup.lpAttributeList = attributes;
        std::wstring command = rundllCommand(library, pipe);
        BOOL started = listed && CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE,
                                                CREATE_NO_WINDOW | EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                                &startup.StartupInfo, process_.put());
        HRESULT hr = started ? S_OK : failure::lastWin32Error();
        DeleteProcThreadAttributeList(attributes);
        check(hr);
    }
    ~RequestProcess()
    {
        if (replied_) return;
        TerminateProcess(process_.get().hProcess, ERROR_INTERNET_TIMEOUT);
        WaitForSingleObject(process_.get().hProcess, 5000);
    }
    RequestProcess(const RequestProcess&) = delete;
    RequestProcess& operator=(const RequestProcess&) = delete;
    void replied() { replied_ = true; }

private:
    raii::ProcessInfo process_;
    bool replied_ = false;
};

} // namespace

std::wstring Describe(HRESULT hr)
{
    raii::ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        raii::UniqueBstr description;
        if (SUCCEEDED(info->GetDescription(description.put())) && SysStringLen(description.get()) > 0)
            return raii::toWString(description.get());
    }
    if (hr == kTimedOut) return L"The operation timed out";
    std::wstring text = failure::systemMessage(static_cast<DWORD>(hr));
    return text.empty() ? L"Automation error" : text;
}

namespace {

Reply failed(HRESULT hr)
{
    Reply reply;
    reply.hr = hr;
    reply.errorText = Describe(hr);
    return reply;
}

} // namespace

Reply Run(const Request& request, DWORD timeoutMs, const std::wstring& hostLibrary)
{
    Deadline deadline(timeoutMs);
    try {
        std::string message = encodeRequest(request);
        PipeEnds pipe = makePipe();
        std::wstring library = hostLibrary.empty() ? server::modulePath() : hostLibrary;
        if (library.empty()) throw HttpFailure{failure::lastWin32Error()};
        RequestProcess process(library, pipe.request.get());
        pipe.request.reset();
        CallerPipe channel(pipe.caller.get(), deadline);
        channel.write(message);
        Reply reply = decodeReply(channel.read());
        process.replied();
        return reply;
    } catch (const HttpFailure& failure) {
        return failed(failure.hr);
    } catch (const std::bad_alloc&) {
        return failed(E_OUTOFMEMORY);
    }
}

} // namespace quillon::HttpExchange

extern "C" void CALLBACK QuillonHttpRequestW(HWND, HINSTANCE, LPWSTR commandLine, int)
{
    using namespace quillon::HttpExchange;
    HANDLE pipe = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(wcstoull(commandLine, nullptr, 16)));
    Reply reply;
    {
        raii::ComScope apartment;
        try {
            check(apartment.result());
            Request request;
            decodeRequest(readWhole(pipe), request);
            reply.text = exchange(request);
            reply.hr = S_OK;
        } catch (const HttpFailure& failure) {
            reply = failed(failure.hr);
        } catch (...) {
            reply = failed(E_OUTOFMEMORY);
        }
    }
    try {
        writeWhole(pipe, encodeReply(reply));
    } catch (...) {
    }
    CloseHandle(pipe);
}
