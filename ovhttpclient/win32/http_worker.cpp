#include "ovhttpclient/win32/http_worker.h"

#include "ovhttpclient/library_status.h"

#include <winsock2.h>

#include <atomic>
#include <new>
#include <process.h>

namespace ovhttp {

namespace {

constexpr std::size_t kPiece = 4096; // sends

// Module lock: guards the object count and the start and stop of the worker thread.
CRITICAL_SECTION g_moduleLock;
HINSTANCE g_module = nullptr;

struct WorkerInfo {
    std::atomic<DWORD> threadId{0};
    std::atomic<HWND> window{nullptr};
    HANDLE thread = nullptr;
    LONG objects = 0;
} g_worker;

// The record pointer travels in a socket's user data as a pointer-sized integer.
#if !defined(_WIN64)
static_assert(sizeof(INT_PTR) == sizeof(LONG), "VT_I4 holds a pointer on 32-bit Windows");
#endif
void StoreJob(VARIANT* v, HttpRequestJob* job) {
    VariantClear(v);
#if defined(_WIN64)
    v->vt = VT_I8;
    v->llVal = static_cast<LONGLONG>(reinterpret_cast<INT_PTR>(job));
#else
    v->vt = VT_I4;
    v->lVal = static_cast<LONG>(reinterpret_cast<INT_PTR>(job));
#endif
}

UINT_PTR JobAddress(const VARIANT* v) {
#if defined(_WIN64)
    return v->vt == VT_I8 ? static_cast<UINT_PTR>(v->llVal) : 0;
#else
    return v->vt == VT_I4 ? static_cast<UINT_PTR>(static_cast<ULONG>(v->lVal)) : 0;
#endif
}

LRESULT CALLBACK WorkerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* owner = static_cast<HttpWorker*>(create->lpCreateParams);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(owner));
        if (owner)
            owner->SetWindow(window);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    auto* owner = reinterpret_cast<HttpWorker*>(GetWindowLongPtrA(window, 0));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, 0, 0);
        if (owner)
            owner->SetWindow(nullptr);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (owner && message >= kMsgBeginConnect && message <= kMsgQuit)
        return owner->HandleMessage(message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The window class lives as long as the worker. It is not registered while the library loads:
// user32 called under the loader lock deadlocks with threads starting at the same time.
bool RegisterWorkerClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = WorkerWindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR); // the owner; a pointer, whatever its width
    wc.hInstance = g_module;
    wc.lpszClassName = kWorkerWindowClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

unsigned __stdcall WorkerThread(void*) {
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the thread's message queue
    g_worker.threadId = GetCurrentThreadId();
    const HRESULT com = CoInitialize(nullptr);

    const bool registered = RegisterWorkerClass();
    HttpWorker* worker = new (std::nothrow) HttpWorker;
    HWND window = nullptr;
    if (worker && registered)
        window = CreateWindowExA(0, kWorkerWindowClass, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                 g_module, worker);
    if (!window) {
        delete worker;
        worker = nullptr;
    }
    g_worker.window = window;

    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    g_worker.window = nullptr;
    if (worker) {
        worker->CancelAll();
        DestroyWindow(window);
        delete worker;
    }
    if (registered)
        UnregisterClassA(kWorkerWindowClass, g_module);
    if (SUCCEEDED(com))
        CoUninitialize();
    g_worker.threadId = 0;
    return 0;
}

} // namespace

bool LibraryLoad(HINSTANCE module) {
    InitializeCriticalSection(&g_moduleLock);
    InitializeJobLock();
    g_module = module;
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) == 0)
        return true;
    DeleteJobLock();
    DeleteCriticalSection(&g_moduleLock);
    return false;
}

void LibraryUnload() {
    WSACleanup();
    DeleteJobLock();
    DeleteCriticalSection(&g_moduleLock);
}

HWND WaitForWorkerWindow() {
    for (int n = 0; n < 60; ++n) {
        if (n > 0)
            Sleep(static_cast<DWORD>(n * 2000 / 60));
        if (HWND window = g_worker.window)
            return window;
    }
    return nullptr;
}

void WorkerAddObject() {
    EnterCriticalSection(&g_moduleLock);
    if (g_worker.objects == 0 && !g_worker.thread) {
        const uintptr_t thread = _beginthreadex(nullptr, 0, WorkerThread, &g_worker, 0, nullptr);
        g_worker.thread = reinterpret_cast<HANDLE>(thread);
    }
    ++g_worker.objects;
    LeaveCriticalSection(&g_moduleLock);
}

void WorkerRemoveObject() {
    EnterCriticalSection(&g_moduleLock);
    const LONG was = g_worker.objects--;
    if (was == 1 && g_worker.thread) {
        const HWND window = WaitForWorkerWindow();
        const bool posted = (window && PostMessageA(window, kMsgQuit, 0, 0)) ||
                            PostThreadMessageA(g_worker.threadId, WM_QUIT, 0, 0);
        if (posted) {
            WaitForSingleObject(g_worker.thread, INFINITE);
            CloseHandle(g_worker.thread);
            g_worker.thread = nullptr;
        }
    }
    LeaveCriticalSection(&g_moduleLock);
}

HttpWorker::HttpWorker() : sockets_(this) {}

LRESULT HttpWorker::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
        case kMsgBeginConnect:
            sockets_.OnBeginConnect(wParam);
            return 0;
        case kMsgHostLookedUp:
            sockets_.OnHostLookedUp(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
            return 0;
        case kMsgServiceLookedUp:
            sockets_.OnServiceLookedUp(reinterpret_cast<HANDLE>(wParam), WSAGETASYNCERROR(lParam));
            return 0;
        case kMsgSocketEvent:
            sockets_.OnSocketEvent(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam),
                                   WSAGETSELECTERROR(lParam));
            return 0;
        case kMsgStartRequest:
            StartRequest(wParam);
            return 0;
        case kMsgCancelRequest:
            CancelRequest(wParam, lParam);
            return 0;
        case kMsgQuit:
            PostQuitMessage(0);
            return 0;
        }
    } catch (...) {
        // Nothing may unwind through the window procedure; the callers' time-outs still hold.
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

bool HttpWorker::CallerWaits(HttpRequestJob* job) {
    JobLockGuard lock;
    return job->pending != 0;
}

HttpRequestJob* HttpWorker::JobOf(OvWinsockSocket* socket) {
    const UINT_PTR address = JobAddress(socket->UserData());
    const auto* p = reinterpret_cast<const void*>(address);
    return IsLiveJob(p) ? reinterpret_cast<HttpRequestJob*>(address) : nullptr;
}

OvWinsockSocket* HttpWorker::SocketOf(WPARAM jobParam) {
    for (const auto& socket : sockets_.All())
        if (JobAddress(socket->UserData()) == static_cast<UINT_PTR>(jobParam))
            return socket.get();
    return nullptr;
}

void HttpWorker::StartRequest(WPARAM jobParam) {
    // Only a record of ours that is still alive is touched; anything else is ignored.
    if (!IsLiveJob(reinterpret_cast<const void*>(jobParam)) || SocketOf(jobParam))
        return;
    auto* job = reinterpret_cast<HttpRequestJob*>(jobParam);
    OvWinsockSocket* socket = sockets_.Add();
    if (!socket) {
        // No socket to carry it: end the request at once.
        bool caller;
        {
            JobLockGuard lock;
            caller = job->pending != 0;
            job->pending = 0;
            job->resultType = kResultOther;
            if (caller)
                SetEvent(job->doneEvent);
        }
        if (!caller)
            FreeJob(job);
        return;
    }
    StoreJob(socket->UserData(), job);
    if (FAILED(socket->Connect(job->host, job->port)))
        Complete(socket, kResultOther);
}

void HttpWorker::CancelRequest(WPARAM jobParam, LPARAM serial) {
    if (jobParam == 0) {
        CancelAll();
        return;
    }
    // The serial tells this record from a newer one at the same address.
    if (serial != 0 && !IsLiveJob(reinterpret_cast<const void*>(jobParam), serial))
        return;
    if (OvWinsockSocket* socket = SocketOf(jobParam))
        Complete(socket, kResultOther);
}

void HttpWorker::CancelAll() {
    for (const auto& socket : sockets_.All())
        Complete(socket.get(), kResultOther);
}

void HttpWorker::Complete(OvWinsockSocket* socket, int resultType) {
    HttpRequestJob* job = JobOf(socket);
    socket->ClearUserData();
    sockets_.Remove(socket);
    if (!job)
        return;
    bool callerWaits;
    {
        JobLockGuard lock;
        callerWaits = job->pending != 0;
        job->pending = 0;
        if (callerWaits) {
            // From here the caller owns the record; signalled under the lock so that the
            // caller cannot free it (and its event) before the signal.
            job->resultType = resultType;
            SetEvent(job->doneEvent);
        }
    }
    if (!callerWaits)
        FreeJob(job); // the caller gave up waiting
}

void HttpWorker::SocketToBeRemoved(OvWinsockSocket* socket) {
    sockets_.Remove(socket);
}

void HttpWorker::ConnectResultArrived(OvWinsockSocket* socket, int code) {
    if (code != kConnected)
        Complete(socket, code);
    else
        ReadyToSend(socket);
}

void HttpWorker::ReadyToSend(OvWinsockSocket* socket) {
    HttpRequestJob* job = JobOf(socket);
    if (!job)
        return;
    while (job->headerSent < job->request.size()) {
        const std::size_t piece = std::min(kPiece, job->request.size() - job->headerSent);
        int sent = 0;
        if (FAILED(socket->Send(job->request.data() + job->headerSent, static_cast<int>(piece),
                                &sent))) {
            Complete(socket, kResultOther);
            return;
        }
        if (sent == 0)
            return; // the next ready-to-send goes on
        job->headerSent += static_cast<std::size_t>(sent);
    }
    if (!job->body)
        return;
    const auto& body = *job->body;
    while (job->bodySent < body.size()) {
        const std::size_t piece = std::min(kPiece, body.size() - job->bodySent);
        int sent = 0;
        if (FAILED(socket->Send(reinterpret_cast<const char*>(body.data()) + job->bodySent,
                                static_cast<int>(piece), &sent))) {
            Complete(socket, kResultOther);
            return;
        }
        if (sent == 0)
            return;
        job->bodySent += static_cast<std::size_t>(sent);
    }
}

void HttpWorker::DataArrived(OvWinsockSocket* socket) {
    HttpRequestJob* job = JobOf(socket);
    if (!job)
        return;
    for (;;) {
        int received = 0;
        HRESULT hr;
        try {
            const std::size_t piece = job->response.NextPieceSize();
            char* room = job->response.Space(piece);
            hr = socket->Receive(room, static_cast<int>(piece), &received);
            job->response.Commit(SUCCEEDED(hr) ? static_cast<std::size_t>(received) : 0);
        } catch (const std::bad_alloc&) {
            hr = E_OUTOFMEMORY;
        }
        if (FAILED(hr)) {
            Complete(socket, kResultOther);
            return;
        }
        if (received == 0)
            return;
        // A server that never stops sending would keep this loop going for a caller that has
        // given up, and keep the cancel and the quit message waiting behind it.
        if (!CallerWaits(job)) {
            Complete(socket, kResultOther);
            return;
        }
    }
}

void HttpWorker::ConnectionClosed(OvWinsockSocket* socket) {
    HttpRequestJob* job = JobOf(socket);
    // The response ends only when the server closes the connection.
    Complete(socket, job && job->response.Header().size() > 4 ? kResultSuccess : kResultOther);
}

} // namespace ovhttp
