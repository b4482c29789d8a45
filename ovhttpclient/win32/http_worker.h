#pragma once
// HttpWorker: the one worker thread of the process, its hidden window (class "OvHttpClientWnd")
// and the sockets that carry every request of every HTTP client object.
#include "ovhttpclient/win32/http_request_job.h"
#include "ovhttpclient/win32/ov_winsock_sockets.h"
#include "ovhttpclient/win32/socket_sink.h"

#include <windows.h>

namespace ovhttp {

inline constexpr char kWorkerWindowClass[] = "OvHttpClientWnd";

// Library load: the locks and Winsock 2.2. False refuses the load.
bool LibraryLoad(HINSTANCE module);
void LibraryUnload();

// Every HTTP client object counts: the first starts the worker thread, the last stops it and
// waits for it to end.
void WorkerAddObject();
void WorkerRemoveObject();

// Polls for the worker's window for up to about a minute; null when it never came.
HWND WaitForWorkerWindow();

class HttpWorker final : public SocketSink {
public:
    HttpWorker();
    HttpWorker(const HttpWorker&) = delete;
    HttpWorker& operator=(const HttpWorker&) = delete;

    void SetWindow(HWND window) { window_ = window; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Ends every request still in progress (each completes as failed).
    void CancelAll();

    // SocketSink
    HWND Window() override { return window_; }
    void SocketToBeRemoved(OvWinsockSocket* socket) override;
    void ConnectResultArrived(OvWinsockSocket* socket, int code) override;
    void DataArrived(OvWinsockSocket* socket) override;
    void ReadyToSend(OvWinsockSocket* socket) override;
    void ConnectionClosed(OvWinsockSocket* socket) override;

private:
    void StartRequest(WPARAM jobParam);
    void CancelRequest(WPARAM jobParam, LPARAM serial);
    // The live record a socket works for, or null.
    HttpRequestJob* JobOf(OvWinsockSocket* socket);
    OvWinsockSocket* SocketOf(WPARAM jobParam);
    static bool CallerWaits(HttpRequestJob* job);
    void Complete(OvWinsockSocket* socket, int resultType);

    HWND window_ = nullptr;
    OvWinsockSockets sockets_;
};

} // namespace ovhttp
