#include "vigil/notify/win32/winsock_transport.h"

#include <ws2tcpip.h>

#include <windows.h>

namespace vigil::notify::win32 {

namespace {

std::string ErrorText(const char* step, int error) {
    return std::string(step) + " failed, error " + std::to_string(error);
}

ULONGLONG Deadline(int timeoutSeconds) {
    return GetTickCount64() +
           static_cast<ULONGLONG>(timeoutSeconds > 0 ? timeoutSeconds : 1) * 1000u;
}

} // namespace

WinsockTransport::WinsockTransport(HANDLE stop) : stop_(stop) {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    if (started_)
        event_ = WSACreateEvent();
}

WinsockTransport::~WinsockTransport() {
    Close();
    if (event_ != WSA_INVALID_EVENT)
        WSACloseEvent(event_);
    if (started_)
        WSACleanup();
}

void WinsockTransport::Close() {
    if (socket_ != INVALID_SOCKET)
        closesocket(socket_);
    socket_ = INVALID_SOCKET;
    received_.clear();
}

const char* WinsockTransport::WokeText(Woke woke) {
    switch (woke) {
    case Woke::TimedOut:
        return "timed out";
    case Woke::Stopped:
        return "abandoned";
    default:
        return "the wait failed";
    }
}

WinsockTransport::Woke WinsockTransport::Wait(ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline)
        return Woke::TimedOut;
    const ULONGLONG left = deadline - now;
    const HANDLE handles[2] = {event_, stop_};
    const DWORD woke = WaitForMultipleObjects(
        stop_ ? 2 : 1, handles, FALSE, left >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(left));
    if (woke == WAIT_OBJECT_0)
        return Woke::Network;
    if (woke == WAIT_OBJECT_0 + 1)
        return Woke::Stopped;
    if (woke == WAIT_TIMEOUT)
        return GetTickCount64() >= deadline ? Woke::TimedOut : Woke::Network;
    return Woke::Failed;
}

TransportStatus WinsockTransport::Connect(const std::string& host, int port, int timeoutSeconds) {
    Close();
    if (!started_ || event_ == WSA_INVALID_EVENT)
        return TransportStatus::Failure("Winsock is not available");
    const ULONGLONG deadline = Deadline(timeoutSeconds);

    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (const int error = getaddrinfo(host.c_str(), service.c_str(), &hints, &found))
        return TransportStatus::Failure(ErrorText("looking up the server", error));

    std::string error = "no address to connect to";
    for (addrinfo* address = found; address; address = address->ai_next) {
        SOCKET s = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (s == INVALID_SOCKET) {
            error = ErrorText("socket", WSAGetLastError());
            continue;
        }
        WSAResetEvent(event_);
        // Event-driven from here on: the socket is non-blocking and signals event_.
        if (WSAEventSelect(s, event_, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE) != 0) {
            error = ErrorText("WSAEventSelect", WSAGetLastError());
            closesocket(s);
            continue;
        }
        bool connected = connect(s, address->ai_addr, static_cast<int>(address->ai_addrlen)) == 0;
        if (!connected && WSAGetLastError() != WSAEWOULDBLOCK) {
            error = ErrorText("connect", WSAGetLastError());
            closesocket(s);
            continue;
        }
        bool given_up = false;
        while (!connected) {
            const Woke woke = Wait(deadline);
            if (woke != Woke::Network) {
                error = WokeText(woke);
                given_up = true;
                break;
            }
            WSANETWORKEVENTS events{};
            if (WSAEnumNetworkEvents(s, event_, &events) != 0) {
                error = ErrorText("WSAEnumNetworkEvents", WSAGetLastError());
                break;
            }
            if (events.lNetworkEvents & FD_CONNECT) {
                if (events.iErrorCode[FD_CONNECT_BIT] != 0) {
                    error = ErrorText("connect", events.iErrorCode[FD_CONNECT_BIT]);
                    break;
                }
                connected = true;
            }
        }
        if (connected) {
            socket_ = s;
            break;
        }
        closesocket(s);
        if (given_up)
            break;
    }
    freeaddrinfo(found);
    return socket_ != INVALID_SOCKET ? TransportStatus::Ok() : TransportStatus::Failure(error);
}

TransportStatus WinsockTransport::Send(std::string_view bytes, int timeoutSeconds) {
    if (socket_ == INVALID_SOCKET)
        return TransportStatus::Failure("not connected");
    const ULONGLONG deadline = Deadline(timeoutSeconds);
    while (!bytes.empty()) {
        const int piece = bytes.size() > 64 * 1024 ? 64 * 1024 : static_cast<int>(bytes.size());
        const int sent = send(socket_, bytes.data(), piece, 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return TransportStatus::Failure(ErrorText("send", WSAGetLastError()));
        const Woke woke = Wait(deadline);
        if (woke != Woke::Network)
            return TransportStatus::Failure(WokeText(woke));
        WSANETWORKEVENTS events{};
        WSAEnumNetworkEvents(socket_, event_, &events);
    }
    return TransportStatus::Ok();
}

TransportStatus WinsockTransport::ReceiveLine(std::string& line, int timeoutSeconds) {
    if (socket_ == INVALID_SOCKET)
        return TransportStatus::Failure("not connected");
    const ULONGLONG deadline = Deadline(timeoutSeconds);
    for (;;) {
        const std::size_t end = received_.find('\n');
        if (end != std::string::npos) {
            line = received_.substr(0, end > 0 && received_[end - 1] == '\r' ? end - 1 : end);
            received_.erase(0, end + 1);
            return TransportStatus::Ok();
        }
        if (received_.size() > kMaxLineBytes)
            return TransportStatus::Failure("a line longer than any reply");
        char buffer[4096];
        const int got = recv(socket_, buffer, sizeof buffer, 0);
        if (got > 0) {
            received_.append(buffer, static_cast<std::size_t>(got));
            continue;
        }
        if (got == 0)
            return TransportStatus::Failure("the server closed the connection");
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return TransportStatus::Failure(ErrorText("recv", WSAGetLastError()));
        const Woke woke = Wait(deadline);
        if (woke != Woke::Network)
            return TransportStatus::Failure(WokeText(woke));
        WSANETWORKEVENTS events{};
        WSAEnumNetworkEvents(socket_, event_, &events);
    }
}

} // namespace vigil::notify::win32
