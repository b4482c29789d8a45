#include "vigil/engine/win32/wininet_transfer.h"

#include "common/win32/handles.h"
#include "vigil/engine/win32/pumped_wait.h"
#include "vigil/engine/win32/worker_thread.h"

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <cctype>
#include <new>
#include <string>

namespace vigil::engine::win32 {

struct WinInetTransfer::Job {
    TransferRequest request;
    common::UniqueHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};

    // Guarded by lock: the open handles (closed by whichever side gets there first) and the
    // caller's having given up.
    common::CriticalSection lock;
    HINTERNET session = nullptr;
    HINTERNET connection = nullptr;
    HINTERNET url = nullptr; // the request (or the opened address) the body is read from
    bool abandoned = false;

    bool cancelled = false; // by the caller's Cancel; user-interface thread only

    TransferResult result; // written by the worker before it sets done

    // The caller gives up: closing the handles makes a blocked WinINet call return.
    void Abandon() {
        common::CriticalSectionGuard guard(lock);
        abandoned = true;
        CloseHandles();
    }
    void CloseHandles() {
        for (HINTERNET* handle : {&url, &connection, &session}) {
            if (*handle)
                InternetCloseHandle(*handle);
            *handle = nullptr;
        }
    }
    // Keeps a new handle for closing; false (and the handle closed) once the caller gave up.
    bool Keep(HINTERNET Job::*which, HINTERNET handle) {
        common::CriticalSectionGuard guard(lock);
        if (abandoned) {
            InternetCloseHandle(handle);
            return false;
        }
        this->*which = handle;
        return true;
    }
    // The handle to use next, or null once the caller has given up.
    HINTERNET Live(HINTERNET Job::*which) {
        common::CriticalSectionGuard guard(lock);
        return abandoned ? nullptr : this->*which;
    }
};

namespace {

std::string ErrorText(const char* step, DWORD error) {
    return std::string(step) + " failed, error " + std::to_string(error);
}

void SetTimeouts(HINTERNET session, int seconds) {
    DWORD ms = static_cast<DWORD>(seconds) * 1000u;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT})
        InternetSetOptionA(session, option, &ms, sizeof ms);
    DWORD retries = 1;
    InternetSetOptionA(session, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
}

constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                                INTERNET_FLAG_NO_COOKIES;

std::string Piece(const char* text, DWORD length) {
    return text ? std::string(text, length) : std::string();
}

// Sends the request of an HTTP or HTTPS address. When the certificate's revocation status
// cannot be found out (no list or responder reachable), the request is sent once more
// without that check, as browsers do; a certificate known to be revoked still fails.
bool Send(HINTERNET request) {
    if (HttpSendRequestA(request, nullptr, 0, nullptr, 0))
        return true;
    if (GetLastError() != ERROR_INTERNET_SEC_CERT_REV_FAILED)
        return false;
    DWORD flags = 0;
    DWORD size = sizeof flags;
    if (!InternetQueryOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size))
        flags = 0;
    flags |= SECURITY_FLAG_IGNORE_REVOCATION;
    InternetSetOptionA(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, sizeof flags);
    return HttpSendRequestA(request, nullptr, 0, nullptr, 0) != FALSE;
}

// Opens the address: HTTP and HTTPS through a request of our own, anything else WinINet
// knows through InternetOpenUrl. Every handle made is kept in the job, which closes it.
// Returns the handle to read the body from, or null with the error text set.
HINTERNET OpenAddress(WinInetTransfer::Job& job, HINTERNET session, const std::string& address,
                      std::string& error) {
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof parts;
    // Non-zero lengths with null pointers: the parts are returned as pointers into address.
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUserNameLength =
        parts.dwPasswordLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlA(address.c_str(), 0, 0, &parts)) {
        error = ErrorText("InternetCrackUrl", GetLastError());
        return nullptr;
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        HINTERNET opened = InternetOpenUrlA(session, address.c_str(), nullptr, 0, kRequestFlags, 0);
        if (!opened) {
            error = ErrorText("InternetOpenUrl", GetLastError());
            return nullptr;
        }
        if (!job.Keep(&WinInetTransfer::Job::url, opened)) {
            error = "abandoned";
            return nullptr;
        }
        return opened;
    }

    const std::string host = Piece(parts.lpszHostName, parts.dwHostNameLength);
    const std::string user = Piece(parts.lpszUserName, parts.dwUserNameLength);
    const std::string password = Piece(parts.lpszPassword, parts.dwPasswordLength);
    std::string object = Piece(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (object.empty() || object[0] != '/')
        object = "/" + object;
    object += Piece(parts.lpszExtraInfo, parts.dwExtraInfoLength);

    HINTERNET connection = InternetConnectA(
        session, host.c_str(), parts.nPort, user.empty() ? nullptr : user.c_str(),
        password.empty() ? nullptr : password.c_str(), INTERNET_SERVICE_HTTP, 0, 0);
    if (!connection) {
        error = ErrorText("InternetConnect", GetLastError());
        return nullptr;
    }
    if (!job.Keep(&WinInetTransfer::Job::connection, connection)) {
        error = "abandoned";
        return nullptr;
    }
    const char* accept[] = {"*/*", nullptr};
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
    HINTERNET request = HttpOpenRequestA(connection, "GET", object.c_str(), nullptr, nullptr,
                                         accept, kRequestFlags | secure, 0);
    if (!request) {
        error = ErrorText("HttpOpenRequest", GetLastError());
        return nullptr;
    }
    if (!job.Keep(&WinInetTransfer::Job::url, request)) {
        error = "abandoned";
        return nullptr;
    }
    if (!Send(request)) {
        error = ErrorText("HttpSendRequest", GetLastError());
        return nullptr;
    }
    return request;
}

// The status line of an HTTP answer (after any redirection WinINet followed): the code, 0 when
// the handle has none (a scheme other than HTTP), and the reason phrase, empty when none came.
void ReadStatus(HINTERNET request, int& status, std::string& reason) {
    DWORD code = 0;
    DWORD size = sizeof code;
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size,
                        nullptr))
        return;
    status = static_cast<int>(code);
    std::string text(64, '\0');
    size = static_cast<DWORD>(text.size());
    BOOL got = HttpQueryInfoA(request, HTTP_QUERY_STATUS_TEXT, text.data(), &size, nullptr);
    if (!got && GetLastError() == ERROR_INSUFFICIENT_BUFFER && size < 64 * 1024) {
        text.assign(size + 1, '\0');
        size = static_cast<DWORD>(text.size());
        got = HttpQueryInfoA(request, HTTP_QUERY_STATUS_TEXT, text.data(), &size, nullptr);
    }
    if (got)
        reason.assign(text.data(), std::min<std::size_t>(size, text.size()));
}

TransferResult Fetch(WinInetTransfer::Job& job) {
    const TransferRequest& request = job.request;
    DWORD access = INTERNET_OPEN_TYPE_PRECONFIG;
    const char* proxy = nullptr;
    if (request.accessType == AccessType::Direct)
        access = INTERNET_OPEN_TYPE_DIRECT;
    if (request.accessType == AccessType::NamedProxy) {
        if (request.proxy.empty())
            return TransferResult::Failure("named proxy without a proxy");
        access = INTERNET_OPEN_TYPE_PROXY;
        proxy = request.proxy.c_str();
    }
    HINTERNET session = InternetOpenA("Vigil", access, proxy, nullptr, 0);
    if (!session)
        return TransferResult::Failure(ErrorText("InternetOpen", GetLastError()));
    if (!job.Keep(&WinInetTransfer::Job::session, session))
        return TransferResult::Failure("abandoned");
    SetTimeouts(session, request.timeoutSeconds);

    std::string error;
    HINTERNET opened = OpenAddress(job, session, AddressForTransfer(request.address), error);
    if (!opened)
        return TransferResult::Failure(error);

    std::string body;
    char buffer[64 * 1024];
    for (;;) {
        HINTERNET live = job.Live(&WinInetTransfer::Job::url);
        if (!live)
            return TransferResult::Failure("abandoned");
        DWORD got = 0;
        if (!InternetReadFile(live, buffer, sizeof buffer, &got))
            return TransferResult::Failure(ErrorText("InternetReadFile", GetLastError()));
        if (got == 0)
            break;
        if (body.size() + got > kMaxBodyBytes)
            return TransferResult::Failure("the body is larger than the program accepts");
        body.append(buffer, got);
    }
    HINTERNET live = job.Live(&WinInetTransfer::Job::url);
    if (!live)
        return TransferResult::Failure("abandoned");
    int status = 0;
    std::string reason;
    ReadStatus(live, status, reason);
    return TransferResult::Answer(std::move(body), status, std::move(reason));
}

void RunJob(std::shared_ptr<WinInetTransfer::Job> job) {
    TransferResult result;
    try {
        result = Fetch(*job);
    } catch (const std::bad_alloc&) {
        result = TransferResult::Failure("out of memory");
    }
    {
        common::CriticalSectionGuard guard(job->lock);
        job->CloseHandles();
    }
    job->result = std::move(result);
    SetEvent(job->done.Get());
}

} // namespace

std::string AddressForTransfer(const std::string& address) {
    // A scheme is a letter, then letters, digits, "+", "-" or ".", right at the start; a "://"
    // further on (in a query, say) does not make one.
    const std::size_t end = address.find("://");
    bool scheme =
        end != std::string::npos && end > 0 && std::isalpha(static_cast<unsigned char>(address[0]));
    for (std::size_t i = 1; scheme && i < end; ++i) {
        const unsigned char c = static_cast<unsigned char>(address[i]);
        scheme = std::isalnum(c) || c == '+' || c == '-' || c == '.';
    }
    return scheme ? address : "http://" + address;
}

WinInetTransfer::~WinInetTransfer() {
    if (current_)
        current_->Abandon();
}

void WinInetTransfer::Cancel() {
    if (!current_)
        return;
    current_->cancelled = true;
    current_->Abandon();
    current_.reset();
}

TransferResult WinInetTransfer::Open(const TransferRequest& request) {
    if (current_)
        return TransferResult::Failure("still executing the last request");

    auto job = std::make_shared<Job>();
    job->request = request;
    if (job->request.timeoutSeconds <= 0)
        job->request.timeoutSeconds = kDefaultRequestTimeoutSeconds;
    if (!job->done)
        return TransferResult::Failure(ErrorText("CreateEvent", GetLastError()));
    if (!StartWorkerThread([job] { RunJob(job); }))
        return TransferResult::Failure("could not start the transfer");

    current_ = job;
    TransferResult outcome;
    switch (WaitPumping(pump_, job->done.Get(), DeadlineAfterSeconds(job->request.timeoutSeconds),
                        [&job] { return job->cancelled; })) {
    case PumpedWaitOutcome::Signalled:
        outcome = std::move(job->result);
        break;
    case PumpedWaitOutcome::Stopped:
        outcome = TransferResult::Failure("cancelled");
        break;
    case PumpedWaitOutcome::TimedOut:
        outcome = TransferResult::Failure("the request timed out");
        break;
    case PumpedWaitOutcome::Failed:
        outcome = TransferResult::Failure(ErrorText("waiting", GetLastError()));
        break;
    }
    if (!outcome.ok && WaitForSingleObject(job->done.Get(), 0) != WAIT_OBJECT_0)
        job->Abandon();
    // After a cancel the instance may already carry a newer transfer; that one is not ours.
    if (current_ == job)
        current_.reset();
    return outcome;
}

} // namespace vigil::engine::win32
