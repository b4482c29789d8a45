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

// How a member's handler names itself in the error it passes on: in front of the source it
// arrived with (Chained), or in its place (Resourced).
enum class SourceRule { Chain, Replace };

// A handler that has nothing to do before the error goes on.
inline constexpr auto kNoEvent = [](const ErrorInfo&) {};

// The error handler every member shares: runs `body`; an error, whatever was thrown, is first
// shown as it arrived to `seen` (the member's failure event and bookkeeping), then thrown on
// as a RingerError with `source`, the member's name, added to its source by `rule`.
template <typename Body, typename Seen>
auto Guarded(const char* source, Body&& body, Seen&& seen, SourceRule rule = SourceRule::Chain)
    -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        const ErrorInfo error = CurrentError();
        seen(error);
        throw RingerError(rule == SourceRule::Chain ? Chained(error, source)
                                                    : Resourced(error, source));
    }
}

} // namespace ringer
