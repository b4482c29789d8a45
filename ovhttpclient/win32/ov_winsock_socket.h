#pragma once
// OvWinsockSocket: one non-blocking TCP connection driven by the messages of the worker window:
// name and service lookups, connect, send, receive and close, reported to a sink.
#include <windows.h>

#include <winsock2.h>

#include "common/win32/handles.h"
#include "common/win32/variant.h"
#include "ovhttpclient/win32/socket_sink.h"

#include <memory>
#include <string>

namespace ovhttp {

class OvWinsockSocket {
public:
    enum State { kStateIdle = 0, kStateConnecting = 1, kStateConnected = 2 };

    explicit OvWinsockSocket(SocketSink* sink) : sink_(sink) {}
    ~OvWinsockSocket();
    OvWinsockSocket(const OvWinsockSocket&) = delete;
    OvWinsockSocket& operator=(const OvWinsockSocket&) = delete;

    void DetachSink() { sink_ = nullptr; }
    State GetState() const { return state_; }

    VARIANT* UserData() { return userData_.Get(); }
    void ClearUserData() { userData_.Put(); }

    // Starts resolving and connecting; the outcome arrives as a connect result.
    HRESULT Connect(const std::string& host, const std::string& port);
    // One non-blocking receive or send; a call that would block moves 0 bytes.
    HRESULT Receive(char* buffer, int size, int* count);
    HRESULT Send(const char* buffer, int size, int* count);
    void Close();

    // Messages of the worker window, offered to every socket: each acts only on its own.
    void OnBeginConnect(WPARAM socketParam);
    bool OnHostLookedUp(HANDLE lookup, int error);
    bool OnServiceLookedUp(HANDLE lookup, int error);
    void OnSocketEvent(SOCKET s, int event, int error);

    // A lookup answer for a socket that is gone: its buffer can go now.
    static void ForgetAbandonedLookup(HANDLE lookup);

private:
    void Fail(int code);
    void Reset();
    void ContinueWithPort();
    void StartConnecting();
    void ReportDataArrived();
    HANDLE LocalMarker() const {
        return reinterpret_cast<HANDLE>(const_cast<OvWinsockSocket*>(this));
    }

    SocketSink* sink_;
    State state_ = kStateIdle;
    std::string host_;
    std::string port_;
    u_long remoteAddress_ = INADDR_NONE;
    u_short remotePort_ = 0;
    HANDLE lookup_ = nullptr;
    std::unique_ptr<char[]> lookupBuffer_;
    common::UniqueSocket socket_;
    bool earlyData_ = false;
    // A receive saw the end of the peer's data: the close event may never follow.
    bool peerFinished_ = false;
    bool accepted_ = false;
    common::Variant userData_;
};

} // namespace ovhttp
