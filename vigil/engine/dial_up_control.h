#pragma once
// Port: the dial-up control hosted on the main window (Ringer, created by its ProgID). The
// members are the ones the check cycle and the entry list use; a failure the control raises
// (or a control that could not be created) arrives as DialUpControlError.
#include "vigil/forms/event.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace vigil::engine {

// The error object of a failure event, read when the event arrives.
struct DialUpError {
    long number = 0;
    std::string source;
    std::string description;
};

// A run-time error of a call on the control: its number, source and description.
class DialUpControlError : public std::runtime_error {
public:
    explicit DialUpControlError(DialUpError error)
        : std::runtime_error(error.description), error_(std::move(error)) {}
    long Number() const { return error_.number; }
    const std::string& Source() const { return error_.source; }
    const std::string& Description() const { return error_.description; }
    const DialUpError& Error() const { return error_; }

private:
    DialUpError error_;
};

// The error of a control that is not there (not registered, or not creatable).
inline constexpr long kControlNotCreated = 429;
inline constexpr char kControlNotCreatedText[] = "ActiveX component can't create object";

class DialUpControl {
public:
    virtual ~DialUpControl() = default;

    // The entry names, in the control's order (its collection is 1-based; this list is not).
    virtual std::vector<std::string> Connections() = 0;
    virtual int ConnectionCount() = 0;
    virtual bool Active(const std::string& p_sName) = 0;
    // Both return once the control has finished; its outcome event arrives before that.
    virtual void Connect(const std::string& p_sName) = 0;
    virtual void Disconnect(const std::string& p_sName) = 0;
    virtual bool RaiseErrors() = 0;
    virtual void SetRaiseErrors(bool p_bRaiseErrors) = 0;

    forms::Event<const std::string&> Connected;
    forms::Event<const std::string&, const DialUpError&> ConnectFailed;
    forms::Event<const std::string&> Disconnected;
    forms::Event<const std::string&, const DialUpError&> DisconnectFailed;
};

} // namespace vigil::engine
