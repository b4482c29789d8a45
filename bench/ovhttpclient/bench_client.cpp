// One round of one C++ client of bench/ovhttpclient/bench.py: COUNT GETs of /1k.txt (after a
// warm-up) and one GET of /64m.txt from the nginx on 127.0.0.1:PORT.
//
//   ovhttp_bench_client.exe blocking|async|vtable PORT COUNT
//
// blocking: a blocking Winsock client, the floor of the work a request needs.
// async:    a one-thread WSAAsyncSelect client with its own window, the floor of a client that
//           is driven by window messages as the library is.
// vtable:   OvHttpClient (registered) through its vtable.
// Prints "small <ms per 1 KiB GET> big <ms of the 64 MiB GET>"; exits 1 when a response is not
// the whole file.
#include <winsock2.h>

#include <windows.h>

#include "common/win32/bstr.h"
#include "common/win32/com_ptr.h"
#include "common/win32/variant.h"
#include "ovhttpclient_h.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kSmall = 1024;
constexpr std::size_t kBig = 64 * 1024 * 1024;
constexpr int kWarmUp = 20;

double NowMs() {
    static const double perMs = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perMs;
}

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "bench client failed: %s\n", what);
    std::exit(1);
}

// The response as it arrives: the head, then the body straight into memory sized from
// Content-Length (doubling without one), as a careful hand-written client would do it.
class Response {
public:
    // Room for the next receive and its size.
    char* Space(int* size) {
        if (!inBody_) {
            head_.resize(headUsed_ + 4096);
            *size = 4096;
            return head_.data() + headUsed_;
        }
        if (capacity_ - used_ < 4096)
            Grow(capacity_ * 2 > used_ + 65536 ? capacity_ * 2 : used_ + 65536);
        const std::size_t room = capacity_ - used_;
        *size = static_cast<int>(room < (1u << 20) ? room : (1u << 20));
        return reinterpret_cast<char*>(body_.get() + used_);
    }
    void Commit(int count) {
        if (inBody_) {
            used_ += static_cast<std::size_t>(count);
            return;
        }
        headUsed_ += static_cast<std::size_t>(count);
        head_.resize(headUsed_);
        const std::size_t end = head_.find("\r\n\r\n");
        if (end == std::string::npos)
            return;
        inBody_ = true;
        const std::string rest = head_.substr(end + 4);
        head_.resize(end + 2);
        Grow(ContentLength() + 4096);
        std::memcpy(body_.get(), rest.data(), rest.size());
        used_ = rest.size();
    }
    bool Ok(std::size_t expected) const {
        return head_.find(" 200 ") != std::string::npos && used_ == expected;
    }

private:
    std::size_t ContentLength() const {
        for (std::size_t at = 0; (at = head_.find("\r\n", at)) != std::string::npos;) {
            at += 2;
            if (_strnicmp(head_.c_str() + at, "Content-Length:", 15) == 0)
                return std::strtoull(head_.c_str() + at + 15, nullptr, 10);
        }
        return 0;
    }
    void Grow(std::size_t capacity) {
        std::unique_ptr<std::uint8_t[]> grown(new std::uint8_t[capacity]);
        if (used_)
            std::memcpy(grown.get(), body_.get(), used_);
        body_ = std::move(grown);
        capacity_ = capacity;
    }

    std::string head_;
    std::size_t headUsed_ = 0;
    bool inBody_ = false;
    std::unique_ptr<std::uint8_t[]> body_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
};

std::string RequestText(const char* path) {
    // The bytes the library sends for the same GET.
    return std::string("GET ") + path + " HTTP/1.0\r\nUser-Agent: OvHttpClient/1.0b34\r\n\r\n";
}

sockaddr_in Server(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<u_short>(port));
    return a;
}

// --- blocking ------------------------------------------------------------------------------

bool BlockingGet(int port, const char* path, std::size_t expected) {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in server = Server(port);
    if (s == INVALID_SOCKET ||
        connect(s, reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0)
        Fail("connect");
    const std::string request = RequestText(path);
    if (send(s, request.data(), static_cast<int>(request.size()), 0) !=
        static_cast<int>(request.size()))
        Fail("send");
    Response response;
    for (;;) {
        int size = 0;
        char* room = response.Space(&size);
        const int n = recv(s, room, size, 0);
        if (n < 0)
            Fail("recv");
        if (n == 0)
            break;
        response.Commit(n);
    }
    closesocket(s);
    return response.Ok(expected);
}

// --- one-thread async ----------------------------------------------------------------------

constexpr UINT kSocketMessage = WM_USER + 1;

struct AsyncExchange {
    SOCKET socket = INVALID_SOCKET;
    std::string request;
    Response response;
    bool done = false;
    bool failed = false;

    void Receive() {
        int size = 0;
        char* room = response.Space(&size);
        const int n = recv(socket, room, size, 0);
        if (n > 0)
            response.Commit(n);
        else if (n == 0 || WSAGetLastError() != WSAEWOULDBLOCK)
            Finish(n != 0);
    }
    void Finish(bool failure) {
        failed = failure;
        closesocket(socket);
        socket = INVALID_SOCKET;
        done = true;
    }
    void OnEvent(int event, int error) {
        if (done)
            return;
        if (error) {
            Finish(true);
            return;
        }
        switch (event) {
        case FD_CONNECT:
            if (send(socket, request.data(), static_cast<int>(request.size()), 0) !=
                static_cast<int>(request.size()))
                Finish(true);
            return;
        case FD_READ:
            Receive(); // one receive a notification; more data brings another
            return;
        case FD_CLOSE:
            while (!done)
                Receive();
            return;
        default:
            return;
        }
    }
};

LRESULT CALLBACK AsyncWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    auto* exchange = reinterpret_cast<AsyncExchange**>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    else if (message == kSocketMessage && exchange && *exchange &&
             static_cast<SOCKET>(wParam) == (*exchange)->socket)
        (*exchange)->OnEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

class AsyncClient {
public:
    AsyncClient() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = AsyncWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"OvHttpBenchAsync";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                  wc.hInstance, &current_);
        if (!window_)
            Fail("window");
    }
    ~AsyncClient() { DestroyWindow(window_); }

    bool Get(int port, const char* path, std::size_t expected) {
        AsyncExchange exchange;
        exchange.request = RequestText(path);
        exchange.socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (exchange.socket == INVALID_SOCKET ||
            WSAAsyncSelect(exchange.socket, window_, kSocketMessage,
                           FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0)
            Fail("socket");
        const sockaddr_in server = Server(port);
        if (connect(exchange.socket, reinterpret_cast<const sockaddr*>(&server), sizeof server) ==
                0 ||
            WSAGetLastError() != WSAEWOULDBLOCK)
            Fail("connect");
        current_ = &exchange;
        MSG msg;
        while (!exchange.done && GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        current_ = nullptr;
        return !exchange.failed && exchange.response.Ok(expected);
    }

private:
    HWND window_ = nullptr;
    AsyncExchange* current_ = nullptr;
};

// --- the library through its vtable ---------------------------------------------------------

class VtableClient {
public:
    VtableClient() {
        if (FAILED(CoCreateInstance(CLSID_OvHttpClient, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IOvHttpClient, client_.PutVoid())))
            Fail("CoCreateInstance (is OvHttpClient.dll registered?)");
        client_->put_TimeOut(120);
    }
    bool Get(int port, const char* path, std::size_t expected, bool timedOnly) {
        const std::wstring url = L"http://127.0.0.1:" + std::to_wstring(port) +
                                 std::wstring(path, path + std::strlen(path));
        const common::Bstr bstrUrl(url.c_str());
        const common::Bstr method(L"GET");
        client_->put_RequestURL(bstrUrl.Get());
        if (FAILED(client_->Execute(method.Get())))
            Fail("Execute");
        BSTR status = nullptr;
        client_->get_ResponseStatus(&status);
        const bool ok = status && std::wstring_view(status).find(L" 200 ") != std::wstring::npos;
        SysFreeString(status);
        if (timedOnly || !ok)
            return ok;
        return BodySize() == expected;
    }
    std::size_t BodySize() {
        common::Variant body;
        if (FAILED(client_->get_ResponseBody(VARIANT_TRUE, body.Get())) ||
            body.Get()->vt != (VT_ARRAY | VT_UI1))
            return 0;
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(body.Get()->parray, 1, &lower);
        SafeArrayGetUBound(body.Get()->parray, 1, &upper);
        return static_cast<std::size_t>(upper - lower + 1);
    }

private:
    common::ComPtr<IOvHttpClient> client_;
};

template <typename Get> void Round(int count, Get get) {
    for (int i = 0; i < kWarmUp; ++i)
        if (!get("/1k.txt", kSmall))
            Fail("1 KiB GET");
    double start = NowMs();
    for (int i = 0; i < count; ++i)
        if (!get("/1k.txt", kSmall))
            Fail("1 KiB GET");
    const double small = (NowMs() - start) / count;
    start = NowMs();
    if (!get("/64m.txt", kBig))
        Fail("64 MiB GET");
    const double big = NowMs() - start;
    std::printf("small %.4f big %.1f\n", small, big);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        Fail("usage: ovhttp_bench_client blocking|async|vtable PORT COUNT");
    const std::string mode = argv[1];
    const int port = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0 || count <= 0)
        Fail("start");
    if (mode == "blocking") {
        Round(count, [&](const char* path, std::size_t n) { return BlockingGet(port, path, n); });
    } else if (mode == "async") {
        AsyncClient client;
        Round(count, [&](const char* path, std::size_t n) { return client.Get(port, path, n); });
    } else if (mode == "vtable") {
        CoInitialize(nullptr);
        {
            VtableClient client;
            // The 64 MiB GET is timed like the script clients time theirs: the call, not the
            // copy of the body out of the object; its size is checked afterwards.
            Round(count, [&](const char* path, std::size_t n) {
                return client.Get(port, path, n, n == kBig);
            });
            if (client.BodySize() != kBig)
                Fail("64 MiB body");
        }
        CoUninitialize();
    } else {
        Fail("unknown mode");
    }
    WSACleanup();
    return 0;
}
