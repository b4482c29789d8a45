#pragma once
// OvWinsockSockets: the worker's sockets, in order, all reporting to one sink.
#include "ovhttpclient/win32/ov_winsock_socket.h"

#include <memory>
#include <vector>

namespace ovhttp {

class OvWinsockSockets {
public:
    explicit OvWinsockSockets(SocketSink* sink) : sink_(sink) {}
    ~OvWinsockSockets();

    // A new socket at the end, reporting to the collection's sink; null without memory.
    OvWinsockSocket* Add();
    // Detaches the sink, closes the socket and lets it go.
    void Remove(OvWinsockSocket* socket);
    // The sockets as they are now; handlers may remove sockets while these are walked.
    std::vector<std::shared_ptr<OvWinsockSocket>> All() const { return sockets_; }
    std::size_t Count() const { return sockets_.size(); }

    // The socket messages of the worker window.
    void OnBeginConnect(WPARAM socketParam);
    void OnHostLookedUp(HANDLE lookup, int error);
    void OnServiceLookedUp(HANDLE lookup, int error);
    void OnSocketEvent(SOCKET s, int event, int error);

private:
    SocketSink* sink_;
    std::vector<std::shared_ptr<OvWinsockSocket>> sockets_;
};

} // namespace ovhttp
