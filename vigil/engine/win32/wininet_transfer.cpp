#include "vigil/engine/win32/wininet_transfer.h"

#include "common/win32/handles.h"

#include <windows.h>

#include <wininet.h>

#include <new>
#include <string>
#include <thread>

namespace vigil::engine::win32 {

struct WinInetTransfer::Job {
    TransferRequest request;
    common::UniqueHandle done{CreateEventA(nullptr, TRUE, FALSE, nullptr)};

    // Guarded by lock: the open handles (closed by whichever side gets there first) and the
    // caller's having given up.
    common::CriticalSection lock;
    HINTERNET session = nullptr;
    HINTERNET url = nullptr;
    bool abandoned = false;

    TransferResult result; // written by the worker before it sets done

    // The caller gives up: closing the handles makes a blocked WinINet call return.
    void Abandon() {
        common::CriticalSectionGuard guard(lock);
        abandoned = true;
        CloseHandles();
    }
    void CloseHandles() {
        if (url)
            InternetCloseHandle(url);
        if (session)
            InternetCloseHandle(session);
        url = session = nullptr;
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
    {
        common::CriticalSectionGuard guard(job.lock);
        if (job.abandoned) {
            InternetCloseHandle(session);
            return TransferResult::Failure("abandoned");
        }
        job.session = session;
    }
    SetTimeouts(session, request.timeoutSeconds);

    const std::string address = AddressForTransfer(request.address);
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                        INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_UI |
                        INTERNET_FLAG_NO_COOKIES;
    HINTERNET url = InternetOpenUrlA(session, address.c_str(), nullptr, 0, flags, 0);
    if (!url)
        return TransferResult::Failure(ErrorText("InternetOpenUrl", GetLastError()));
    {
        common::CriticalSectionGuard guard(job.lock);
        if (job.abandoned) {
            InternetCloseHandle(url);
            return TransferResult::Failure("abandoned");
        }
        job.url = url;
    }

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
    return TransferResult::Body(std::move(body));
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
    if (address.find("://") != std::string::npos)
        return address;
    return "http://" + address;
}

WinInetTransfer::~WinInetTransfer() {
    if (current_)
        current_->Abandon();
}

TransferResult WinInetTransfer::Open(const TransferRequest& request) {
    if (executing_)
        return TransferResult::Failure("still executing the last request");

    auto job = std::make_shared<Job>();
    job->request = request;
    if (job->request.timeoutSeconds <= 0)
        job->request.timeoutSeconds = kDefaultRequestTimeoutSeconds;
    if (!job->done)
        return TransferResult::Failure(ErrorText("CreateEvent", GetLastError()));
    try {
        std::thread(RunJob, job).detach();
    } catch (const std::exception&) {
        return TransferResult::Failure("could not start the transfer");
    }

    executing_ = true;
    cancelRequested_ = false;
    current_ = job;
    const ULONGLONG deadline =
        GetTickCount64() + static_cast<ULONGLONG>(job->request.timeoutSeconds) * 1000u;
    TransferResult outcome;
    for (;;) {
        if (cancelRequested_) {
            outcome = TransferResult::Failure("cancelled");
            break;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            outcome = TransferResult::Failure("the request timed out");
            break;
        }
        const DWORD wait = static_cast<DWORD>(deadline - now);
        HANDLE done = job->done.Get();
        DWORD woke =
            pump_.QuitRequested()
                ? WaitForSingleObject(done, wait)
                : MsgWaitForMultipleObjectsEx(1, &done, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            outcome = std::move(job->result);
            break;
        }
        if (woke == WAIT_OBJECT_0 + 1) {
            pump_.DoEvents();
            continue;
        }
        if (woke == WAIT_FAILED) {
            outcome = TransferResult::Failure(ErrorText("waiting", GetLastError()));
            break;
        }
    }
    if (!outcome.ok && WaitForSingleObject(job->done.Get(), 0) != WAIT_OBJECT_0)
        job->Abandon();
    current_.reset();
    executing_ = false;
    cancelRequested_ = false;
    return outcome;
}

} // namespace vigil::engine::win32
