#pragma once
// Port: "let the message loop run". Under Win32 it dispatches the pending window messages;
// tests deliver scripted events instead.
namespace vigil::engine {

class MessagePump {
public:
    virtual ~MessagePump() = default;
    virtual void DoEvents() = 0;
};

} // namespace vigil::engine
