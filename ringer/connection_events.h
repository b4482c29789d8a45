#pragma once
// The four events of the control, raised identically by CConnection, CDialUpNetworking and the
// control itself; each layer listens to the one below.
#include "ringer/ringer_error.h"

#include <string>

namespace ringer {

class ConnectionEvents {
public:
    virtual ~ConnectionEvents() = default;
    virtual void Connected(const std::string& p_sName) = 0;
    virtual void ConnectFailed(const std::string& p_sName, const ErrorInfo& p_Err) = 0;
    virtual void Disconnected(const std::string& p_sName) = 0;
    virtual void DisconnectFailed(const std::string& p_sName, const ErrorInfo& p_Err) = 0;
};

} // namespace ringer
