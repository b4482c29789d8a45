#pragma once
// How a socket reports to its owner.
#include <windows.h>

namespace ovhttp {

class OvWinsockSocket;

// Connect-result codes.
enum ConnectResult : int {
    kConnected = 0,
    kConnectPostFailed = 1,
    kConnectWinsockFailed = 2,
    kConnectHostLookupFailed = 3,
    kConnectServiceLookupFailed = 4,
    kConnectAttemptFailed = 5,
};

class SocketSink {
public:
    virtual HWND Window() = 0;
    virtual void SocketToBeRemoved(OvWinsockSocket* socket) = 0;
    virtual void ConnectResultArrived(OvWinsockSocket* socket, int code) = 0;
    virtual void DataArrived(OvWinsockSocket* socket) = 0;
    virtual void ReadyToSend(OvWinsockSocket* socket) = 0;
    virtual void ConnectionClosed(OvWinsockSocket* socket) = 0;

protected:
    ~SocketSink() = default;
};

// Messages of the worker window (WM_USER + n).
inline constexpr UINT kMsgBeginConnect = WM_USER + 101;    // 1125, wParam = socket
inline constexpr UINT kMsgHostLookedUp = WM_USER + 102;    // 1126, wParam = lookup handle
inline constexpr UINT kMsgServiceLookedUp = WM_USER + 103; // 1127, wParam = lookup handle
inline constexpr UINT kMsgSocketEvent = WM_USER + 104;     // 1128, wParam = SOCKET
inline constexpr UINT kMsgStartRequest = WM_USER + 201;    // 1225, wParam = request serial
inline constexpr UINT kMsgCancelRequest = WM_USER + 202;   // 1226, wParam = serial or 0 for all
inline constexpr UINT kMsgQuit = WM_USER + 203;            // 1227
static_assert(kMsgBeginConnect == 1125 && kMsgSocketEvent == 1128 && kMsgStartRequest == 1225 &&
              kMsgCancelRequest == 1226 && kMsgQuit == 1227);

} // namespace ovhttp
