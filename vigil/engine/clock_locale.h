#pragma once
// Port: the current local time and the texts the system's locale makes of it, the system's
// lower-casing of single-byte text, a monotonic clock for measuring how long something took,
// and the plain blocking pause.
#include <chrono>
#include <compare>
#include <cstdint>
#include <string>
#include <thread>

namespace vigil::engine {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const CalendarDate&) const = default;
};

struct LocalTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    CalendarDate Date() const { return {year, month, day}; }
};

class ClockLocale {
public:
    virtual ~ClockLocale() = default;

    virtual LocalTime Now() const = 0;
    // The date in the system's short date form, e.g. "07/12/2026".
    virtual std::string ShortDate(const LocalTime& time) const = 0;
    // The short date followed by the time in the system's long time form.
    virtual std::string GeneralDate(const LocalTime& time) const = 0;
    // Lower-cases text in the system's single-byte code page.
    virtual std::string LowerCase(std::string text) const = 0;

    // Milliseconds from an arbitrary start; never goes back, whatever the wall clock does.
    virtual std::int64_t MonotonicMs() const {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    // Blocks the calling thread; no message is handled meanwhile.
    virtual void Sleep(int milliseconds) const {
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

} // namespace vigil::engine
