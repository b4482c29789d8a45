#include "vigil/engine/win32/win32_clock_locale.h"

#include <windows.h>

#include <climits>

namespace vigil::engine::win32 {

namespace {

SYSTEMTIME ToSystemTime(const LocalTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

} // namespace

LocalTime Win32ClockLocale::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string Win32ClockLocale::ShortDate(const LocalTime& time) const {
    const SYSTEMTIME st = ToSystemTime(time);
    char text[128];
    int length =
        GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<std::size_t>(length - 1)) : std::string();
}

std::string Win32ClockLocale::GeneralDate(const LocalTime& time) const {
    const SYSTEMTIME st = ToSystemTime(time);
    char text[128];
    int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
    std::string clock =
        length > 0 ? std::string(text, static_cast<std::size_t>(length - 1)) : std::string();
    return ShortDate(time) + " " + clock;
}

std::string Win32ClockLocale::LowerCase(std::string text) const {
    // CharLowerBuffA works in the system's code page; take the text in pieces its DWORD
    // length can hold.
    std::size_t done = 0;
    while (done < text.size()) {
        std::size_t piece = text.size() - done;
        if (piece > 0x10000000u)
            piece = 0x10000000u;
        CharLowerBuffA(text.data() + done, static_cast<DWORD>(piece));
        done += piece;
    }
    return text;
}

} // namespace vigil::engine::win32
