#include "ovhttpclient/win32/ov_winsock_socket.h"

#include "ovhttpclient/win32/error_info.h"

#include <cstdlib>
#include <map>
#include <new>

namespace ovhttp {

namespace {

constexpr int kLookupBufferSize = MAXGETHOSTSTRUCT; // 1024
static_assert(MAXGETHOSTSTRUCT == 1024);

// Winsock writes a lookup's answer into its buffer whenever the lookup ends, even when the
// socket that asked is gone; such buffers wait here for their answer (worker thread only).
std::map<HANDLE, std::unique_ptr<char[]>>& AbandonedLookups() {
    static std::map<HANDLE, std::unique_ptr<char[]>> lookups;
    return lookups;
}

} // namespace

OvWinsockSocket::~OvWinsockSocket() {
    sink_ = nullptr;
    Reset();
}

void OvWinsockSocket::ForgetAbandonedLookup(HANDLE lookup) {
    AbandonedLookups().erase(lookup);
}

HRESULT OvWinsockSocket::Connect(const std::string& host, const std::string& port) {
    if (!sink_)
        return E_FAIL;
    Close();
    if (!sink_)
        return E_FAIL;
    if (!PostMessageA(sink_->Window(), kMsgBeginConnect, reinterpret_cast<WPARAM>(this), 0))
        return kErrPostFailed;
    state_ = kStateConnecting;
    host_ = host;
    port_ = port;
    return S_OK;
}

void OvWinsockSocket::OnBeginConnect(WPARAM socketParam) {
    if (socketParam != reinterpret_cast<WPARAM>(this) || state_ != kStateConnecting || !sink_)
        return;
    const HWND window = sink_->Window();
    const u_long address = inet_addr(host_.c_str());
    if (address != INADDR_NONE) {
        // A dotted address needs no lookup; the answer still comes through the window.
        remoteAddress_ = ntohl(address);
        lookup_ = LocalMarker();
        if (!PostMessageA(window, kMsgHostLookedUp, reinterpret_cast<WPARAM>(lookup_), 0))
            Fail(kConnectPostFailed);
        return;
    }
    lookupBuffer_.reset(new (std::nothrow) char[kLookupBufferSize]);
    if (lookupBuffer_)
        lookup_ = WSAAsyncGetHostByName(window, kMsgHostLookedUp, host_.c_str(),
                                        lookupBuffer_.get(), kLookupBufferSize);
    if (!lookup_)
        Fail(kConnectWinsockFailed);
}

bool OvWinsockSocket::OnHostLookedUp(HANDLE lookup, int error) {
    if (state_ != kStateConnecting || !lookup_ || lookup != lookup_)
        return false;
    const bool local = lookup_ == LocalMarker();
    lookup_ = nullptr;
    if (error) {
        Fail(kConnectHostLookupFailed);
        return true;
    }
    if (!local) {
        const auto* host = reinterpret_cast<const hostent*>(lookupBuffer_.get());
        if (!host->h_addr_list || !host->h_addr_list[0]) {
            Fail(kConnectHostLookupFailed);
            return true;
        }
        u_long address;
        memcpy(&address, host->h_addr_list[0], sizeof address);
        remoteAddress_ = ntohl(address);
    }
    ContinueWithPort();
    return true;
}

void OvWinsockSocket::ContinueWithPort() {
    if (!sink_)
        return;
    const HWND window = sink_->Window();
    // A number is the port (its low 16 bits); anything else is a service name.
    const auto number = static_cast<u_short>(std::atoi(port_.c_str()));
    if (number != 0) {
        remotePort_ = number;
        lookup_ = LocalMarker();
        if (!PostMessageA(window, kMsgServiceLookedUp, reinterpret_cast<WPARAM>(lookup_), 0))
            Fail(kConnectPostFailed);
        return;
    }
    if (!lookupBuffer_)
        lookupBuffer_.reset(new (std::nothrow) char[kLookupBufferSize]);
    if (lookupBuffer_)
        lookup_ = WSAAsyncGetServByName(window, kMsgServiceLookedUp, port_.c_str(), "tcp",
                                        lookupBuffer_.get(), kLookupBufferSize);
    if (!lookup_)
        Fail(kConnectWinsockFailed);
}

bool OvWinsockSocket::OnServiceLookedUp(HANDLE lookup, int error) {
    if (state_ != kStateConnecting || !lookup_ || lookup != lookup_)
        return false;
    const bool local = lookup_ == LocalMarker();
    lookup_ = nullptr;
    if (error) {
        Fail(kConnectServiceLookupFailed);
        return true;
    }
    if (!local)
        remotePort_ = ntohs(reinterpret_cast<const servent*>(lookupBuffer_.get())->s_port);
    StartConnecting();
    return true;
}

void OvWinsockSocket::StartConnecting() {
    if (!sink_)
        return;
    socket_.Reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!socket_) {
        Fail(kConnectWinsockFailed);
        return;
    }
    if (WSAAsyncSelect(socket_.Get(), sink_->Window(), kMsgSocketEvent,
                       FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE) == SOCKET_ERROR) {
        Fail(kConnectWinsockFailed);
        return;
    }
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = htonl(remoteAddress_);
    remote.sin_port = htons(remotePort_);
    // Non-blocking: the only good answer is "would block", then the connect event follows.
    if (connect(socket_.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0 ||
        WSAGetLastError() != WSAEWOULDBLOCK)
        Fail(kConnectWinsockFailed);
}

void OvWinsockSocket::OnSocketEvent(SOCKET s, int event, int error) {
    if (s == INVALID_SOCKET || s != socket_.Get())
        return;
    switch (event) {
    case FD_CONNECT:
        if (state_ != kStateConnecting)
            return;
        if (error) {
            Fail(kConnectAttemptFailed);
            return;
        }
        state_ = kStateConnected;
        if (sink_)
            sink_->ConnectResultArrived(this, kConnected);
        if (earlyData_ && sink_ && state_ == kStateConnected) {
            earlyData_ = false;
            ReportDataArrived();
        }
        return;
    case FD_READ:
        if (state_ == kStateConnecting && !error)
            earlyData_ = true;
        else if (state_ == kStateConnected && error)
            Close();
        else if (state_ == kStateConnected && sink_)
            ReportDataArrived();
        return;
    case FD_WRITE:
        if (state_ != kStateConnected)
            return;
        if (error)
            Close();
        else if (sink_)
            sink_->ReadyToSend(this);
        return;
    case FD_CLOSE:
        if (state_ != kStateConnected)
            return;
        // What the peer sent before closing may still wait in the socket: take it first.
        if (!error && sink_)
            sink_->DataArrived(this);
        if (state_ == kStateConnected && s == socket_.Get())
            Close();
        return;
    default:
        return;
    }
}

void OvWinsockSocket::ReportDataArrived() {
    sink_->DataArrived(this);
    // The peer closed and everything was read: that is the close, whether or not Winsock
    // still reports it.
    if (peerFinished_ && state_ == kStateConnected)
        Close();
}

HRESULT OvWinsockSocket::Receive(char* buffer, int size, int* count) {
    *count = 0;
    if (state_ != kStateConnected)
        return kErrNotConnected;
    if (size == 0)
        return S_OK;
    const int n = recv(socket_.Get(), buffer, size, 0);
    if (n == SOCKET_ERROR)
        return WSAGetLastError() == WSAEWOULDBLOCK ? S_OK : kErrSendReceiveFailed;
    if (n == 0)
        peerFinished_ = true;
    *count = n;
    return S_OK;
}

HRESULT OvWinsockSocket::Send(const char* buffer, int size, int* count) {
    *count = 0;
    if (state_ != kStateConnected)
        return kErrNotConnected;
    if (size == 0)
        return S_OK;
    const int n = send(socket_.Get(), buffer, size, 0);
    if (n == SOCKET_ERROR)
        return WSAGetLastError() == WSAEWOULDBLOCK ? S_OK : kErrSendReceiveFailed;
    *count = n;
    return S_OK;
}

void OvWinsockSocket::Fail(int code) {
    if (state_ != kStateConnecting)
        return;
    Reset();
    if (sink_)
        sink_->ConnectResultArrived(this, code);
    if (accepted_ && sink_)
        sink_->SocketToBeRemoved(this);
}

void OvWinsockSocket::Reset() {
    if (lookup_ && lookup_ != LocalMarker() && lookupBuffer_) {
        try {
            AbandonedLookups()[lookup_] = std::move(lookupBuffer_);
        } catch (const std::bad_alloc&) {
            lookupBuffer_.release(); // better a leak than a write into freed memory
        }
    }
    lookup_ = nullptr;
    lookupBuffer_.reset();
    host_.clear();
    port_.clear();
    remoteAddress_ = INADDR_NONE;
    remotePort_ = 0;
    earlyData_ = false;
    peerFinished_ = false;
    if (socket_) {
        if (state_ == kStateConnected)
            shutdown(socket_.Get(), SD_BOTH);
        socket_.Reset();
    }
    state_ = kStateIdle;
}

void OvWinsockSocket::Close() {
    const State was = state_;
    Reset();
    if (was == kStateConnected && sink_)
        sink_->ConnectionClosed(this);
    if (accepted_ && sink_)
        sink_->SocketToBeRemoved(this);
}

} // namespace ovhttp
