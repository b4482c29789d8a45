#include "ovhttpclient/win32/http_worker.h"

#include "ovhttpclient/library_status.h"

#include <winsock2.h>

#include <atomic>
#include <memory>
#include <new>
#include <process.h>

namespace ovhttp {

namespace {

constexpr std::size_t kPiece = 4096; // sends
// How long a caller waits for the worker to report that it is ready.
constexpr DWORD kWorkerStartLimit = 59000;

// One run of the worker thread, from the first object to the last.
struct WorkerThread {
    common::UniqueHandle thread;
    common::UniqueEvent ready; // set once the window exists or the worker has given up
    std::atomic<HWND> window{nullptr};
    std::atomic<DWORD> threadId{0};
};
using WorkerPtr = std::shared_ptr<WorkerThread>;

// Process-wide state: the module lock guards the object count and the start and stop of the
// worker thread.
struct Library {
    common::CriticalSection moduleLock;
    HINSTANCE module = nullptr;
    LONG objects = 0;
    WorkerPtr current;  // the worker serving the objects
    WorkerPtr stopping; // a worker being stopped by the release of the last object
};
Library& TheLibrary() {
    static Library library;
    return library;
}

// A socket's user data names its request by serial.
void StoreSerial(VARIANT* v, RequestSerial serial) {
    VariantClear(v);
    v->vt = VT_UI4;
    v->ulVal = serial;
}
RequestSerial SerialOf(const VARIANT* v) {
    return v->vt == VT_UI4 ? v->ulVal : 0;
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
    wc.hInstance = TheLibrary().module;
    wc.lpszClassName = kWorkerWindowClass;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

unsigned __stdcall WorkerThreadMain(void* parameter) {
    auto* self = static_cast<WorkerThread*>(parameter); // held by its starter until it ends
    HINSTANCE module = TheLibrary().module;
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE); // the thread's message queue
    self->threadId = GetCurrentThreadId();
    const HRESULT com = CoInitialize(nullptr);

    const bool registered = RegisterWorkerClass();
    auto worker = std::unique_ptr<HttpWorker>(new (std::nothrow) HttpWorker);
    HWND window = nullptr;
    if (worker && registered)
        window = CreateWindowExA(0, kWorkerWindowClass, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                 module, worker.get());
    if (!window)
        worker.reset();
    self->window = window;
    SetEvent(self->ready.Get());

    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }

    self->window = nullptr;
    if (worker) {
        worker->CancelAll();
        DestroyWindow(window);
        worker.reset();
    }
    if (registered)
        UnregisterClassA(kWorkerWindowClass, module);
    if (SUCCEEDED(com))
        CoUninitialize();
    self->threadId = 0;
    return 0;
}

// Waits for a worker that the release of the last object is stopping, outside the module
// lock. True when there was one.
bool WaitForStoppingWorker() {
    Library& library = TheLibrary();
    WorkerPtr stopping;
    {
        const common::CriticalSectionGuard guard(library.moduleLock);
        stopping = library.stopping;
    }
    if (!stopping)
        return false;
    WaitForSingleObject(stopping->thread.Get(), INFINITE);
    const common::CriticalSectionGuard guard(library.moduleLock);
    if (library.stopping == stopping)
        library.stopping.reset();
    return true;
}

WorkerPtr StartWorker() {
    try {
        auto worker = std::make_shared<WorkerThread>();
        worker->ready = common::NewEvent(/*manualReset=*/true);
        if (!worker->ready)
            return nullptr;
        const uintptr_t thread =
            _beginthreadex(nullptr, 0, WorkerThreadMain, worker.get(), 0, nullptr);
        if (!thread)
            return nullptr; // a failed start leaves no thread
        worker->thread.Reset(reinterpret_cast<HANDLE>(thread));
        return worker;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HWND WaitUntilReady(const WorkerThread& worker) {
    const HANDLE handles[] = {worker.ready.Get(), worker.thread.Get()};
    WaitForMultipleObjects(2, handles, FALSE, kWorkerStartLimit);
    return worker.window;
}

} // namespace

bool LibraryLoad(HINSTANCE module) {
    TheLibrary().module = module;
    WSADATA wsa;
    return WSAStartup(MAKEWORD(2, 2), &wsa) == 0;
}

void LibraryUnload() {
    WSACleanup();
}

HWND WaitForWorkerWindow() {
    Library& library = TheLibrary();
    WorkerPtr worker;
    {
        const common::CriticalSectionGuard guard(library.moduleLock);
        worker = library.current;
    }
    return worker ? WaitUntilReady(*worker) : nullptr;
}

void WorkerAddObject() {
    Library& library = TheLibrary();
    for (;;) {
        {
            const common::CriticalSectionGuard guard(library.moduleLock);
            // A new worker starts only once the one before it has ended: they would share the
            // window class.
            if (!(library.objects == 0 && !library.current && library.stopping)) {
                if (library.objects == 0 && !library.current)
                    library.current = StartWorker();
                ++library.objects;
                return;
            }
        }
        WaitForStoppingWorker();
    }
}

void WorkerRemoveObject() {
    Library& library = TheLibrary();
    WorkerPtr stop;
    {
        const common::CriticalSectionGuard guard(library.moduleLock);
        const LONG was = library.objects--;
        if (was == 1 && library.current) {
            stop = std::move(library.current);
            library.stopping = stop;
        }
    }
    if (!stop)
        return;
    const HWND window = WaitUntilReady(*stop);
    const bool posted = (window && PostMessageA(window, kMsgQuit, 0, 0)) ||
                        PostThreadMessageA(stop->threadId, WM_QUIT, 0, 0);
    if (posted) {
        WaitForSingleObject(stop->thread.Get(), INFINITE);
        const common::CriticalSectionGuard guard(library.moduleLock);
        if (library.stopping == stop)
            library.stopping.reset();
        return;
    }
    // Nothing reaches the thread: it stays the worker, without being waited for.
    const common::CriticalSectionGuard guard(library.moduleLock);
    if (library.stopping == stop)
        library.stopping.reset();
    if (!library.current)
        library.current = std::move(stop);
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
            StartRequest(static_cast<RequestSerial>(wParam));
            return 0;
        case kMsgCancelRequest:
            CancelRequest(static_cast<RequestSerial>(wParam));
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

JobPtr HttpWorker::JobOf(OvWinsockSocket* socket) {
    const RequestSerial serial = SerialOf(socket->UserData());
    return serial ? Jobs().Find(serial) : nullptr;
}

OvWinsockSocket* HttpWorker::SocketOf(RequestSerial serial) {
    for (const auto& socket : sockets_.All())
        if (SerialOf(socket->UserData()) == serial)
            return socket.get();
    return nullptr;
}

void HttpWorker::StartRequest(RequestSerial serial) {
    // A request whose caller has already given up is not started.
    const JobPtr job = serial ? Jobs().Find(serial) : nullptr;
    if (!job || SocketOf(serial))
        return;
    OvWinsockSocket* socket = sockets_.Add();
    if (!socket) {
        // No socket to carry it: end the request at once.
        Jobs().Complete(*job, kResultOther);
        Jobs().Remove(serial);
        return;
    }
    StoreSerial(socket->UserData(), serial);
    if (FAILED(socket->Connect(job->host, job->port)))
        Complete(socket, kResultOther);
}

void HttpWorker::CancelRequest(RequestSerial serial) {
    if (serial == 0) {
        CancelAll();
        return;
    }
    if (OvWinsockSocket* socket = SocketOf(serial))
        Complete(socket, kResultOther);
}

void HttpWorker::CancelAll() {
    for (const auto& socket : sockets_.All())
        Complete(socket.get(), kResultOther);
}

void HttpWorker::Complete(OvWinsockSocket* socket, int resultType) {
    const RequestSerial serial = SerialOf(socket->UserData());
    const JobPtr job = JobOf(socket);
    socket->ClearUserData();
    sockets_.Remove(socket);
    if (!job)
        return;
    Jobs().Complete(*job, resultType);
    Jobs().Remove(serial);
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
    const JobPtr job = JobOf(socket);
    if (!job) {
        Complete(socket, kResultOther); // its request has ended
        return;
    }
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
    const JobPtr job = JobOf(socket);
    if (!job) {
        Complete(socket, kResultOther); // its request has ended
        return;
    }
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
        if (!Jobs().CallerWaits(*job)) {
            Complete(socket, kResultOther);
            return;
        }
    }
}

void HttpWorker::ConnectionClosed(OvWinsockSocket* socket) {
    const JobPtr job = JobOf(socket);
    // The response ends only when the server closes the connection.
    Complete(socket, job && job->response.Header().size() > 4 ? kResultSuccess : kResultOther);
}

} // namespace ovhttp
