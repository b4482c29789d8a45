#pragma once
// Errors of the dial-up control: numbered, with a description and a chain of the class and
// member names the error passed through ("outer;inner"). Inside the control an error travels
// as a RingerError exception from the member that raises it to the handler of each member it
// passes; only the COM layer turns it into an HRESULT.
#include <cstdint>
#include <exception>
#include <string>

namespace ringer {

inline constexpr std::int32_t kErrNotAvailable = 1025;
inline constexpr std::int32_t kErrNoSuchConnection = 1026;
inline constexpr std::int32_t kErrAlreadyActive = 1027;
inline constexpr std::int32_t kErrAlreadyInactive = 1028;
inline constexpr std::int32_t kErrDialling = 1029;

inline constexpr const char* kTextNotAvailable =
    "Dial-up Networking is not available on this machine.";
inline constexpr const char* kTextNoSuchConnection = "The specified connection does not exist.";
inline constexpr const char* kTextAlreadyActive = "The specified connection is already active.";
inline constexpr const char* kTextAlreadyInactive = "The specified connection is already inactive.";
inline constexpr const char* kTextDiallingPrefix = "Unexpected error whilst dialling : ";

// The source of run-time errors that do not come from a member of ours (missing library...).
inline constexpr const char* kRuntimeSource = "Ringer";

struct ErrorInfo {
    std::int32_t Number = 0;
    std::string Source;
    std::string Description;

    bool operator==(const ErrorInfo&) const = default;
};

class RingerError : public std::exception {
public:
    explicit RingerError(ErrorInfo info) : info_(std::move(info)) {}
    RingerError(std::int32_t number, std::string source, std::string description)
        : info_{number, std::move(source), std::move(description)} {}
    const ErrorInfo& Info() const { return info_; }
    const char* what() const noexcept override { return info_.Description.c_str(); }

private:
    ErrorInfo info_;
};

// The error a handler passes on: same number and description; the source is the handler's own
// name when the error already carries it (the member raised it itself), otherwise the handler's
// name, ";" and the previous source.
ErrorInfo Chained(const ErrorInfo& error, const std::string& ownSource);
// The same error with its source replaced by ownSource.
ErrorInfo Resourced(const ErrorInfo& error, const std::string& ownSource);
// Inside a catch block: the error being handled, whatever was thrown.
ErrorInfo CurrentError();

} // namespace ringer
