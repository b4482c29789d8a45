#include "ovhttpclient/win32/ov_winsock_sockets.h"

#include <algorithm>
#include <new>

namespace ovhttp {

OvWinsockSockets::~OvWinsockSockets() {
    for (auto& socket : sockets_)
        socket->DetachSink();
}

OvWinsockSocket* OvWinsockSockets::Add() {
    try {
        sockets_.push_back(std::make_shared<OvWinsockSocket>(sink_));
        return sockets_.back().get();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void OvWinsockSockets::Remove(OvWinsockSocket* socket) {
    const auto it = std::find_if(sockets_.begin(), sockets_.end(),
                                 [socket](const auto& s) { return s.get() == socket; });
    if (it == sockets_.end())
        return;
    const std::shared_ptr<OvWinsockSocket> keep = *it;
    sockets_.erase(it);
    keep->DetachSink();
    keep->Close();
}

void OvWinsockSockets::OnBeginConnect(WPARAM socketParam) {
    for (const auto& socket : All())
        socket->OnBeginConnect(socketParam);
}

void OvWinsockSockets::OnHostLookedUp(HANDLE lookup, int error) {
    for (const auto& socket : All())
        if (socket->OnHostLookedUp(lookup, error))
            return;
    OvWinsockSocket::ForgetAbandonedLookup(lookup);
}

void OvWinsockSockets::OnServiceLookedUp(HANDLE lookup, int error) {
    for (const auto& socket : All())
        if (socket->OnServiceLookedUp(lookup, error))
            return;
    OvWinsockSocket::ForgetAbandonedLookup(lookup);
}

void OvWinsockSockets::OnSocketEvent(SOCKET s, int event, int error) {
    for (const auto& socket : All())
        socket->OnSocketEvent(s, event, error);
}

} // namespace ovhttp
