#pragma once
// HttpWorker: the one worker thread of the process, its hidden window (class "OvHttpClientWnd")
// and the sockets that carry every request of every HTTP client object.
#include "ovhttpclient/win32/http_request_job.h"
#include "ovhttpclient/win32/ov_winsock_sockets.h"
#include "ovhttpclient/win32/socket_sink.h"

#include <windows.h>

namespace ovhttp {

inline constexpr char kWorkerWindowClass[] = "OvHttpClientWnd";

// Library load: Winsock 2.2. False refuses the load.
bool LibraryLoad(HINSTANCE module);
void LibraryUnload();

// Every HTTP client object counts: the first starts the worker thread, the last stops it and
// waits for it to end (without holding the module lock meanwhile).
void WorkerAddObject();
void WorkerRemoveObject();

// Waits (up to about a minute) until the worker reports that it is ready; its window, or null
// when it has none.
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
    void StartRequest(RequestSerial serial);
    void CancelRequest(RequestSerial serial);
    // The record of the request a socket works for, or null once that request has ended.
    static JobPtr JobOf(OvWinsockSocket* socket);
    OvWinsockSocket* SocketOf(RequestSerial serial);
    void Complete(OvWinsockSocket* socket, int resultType);

    HWND window_ = nullptr;
    OvWinsockSockets sockets_;
};

} // namespace ovhttp
