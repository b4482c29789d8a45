#include "vigil/engine/check_results.h"

#include <charconv>
#include <climits>

namespace vigil::engine {

namespace {

// The leading decimal number of a counter; an empty or unreadable entry is 0.
long long CountOf(const std::string& text) {
    std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return 0;
    long long value = 0;
    auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
    (void)end;
    return error == std::errc() ? value : 0;
}

void AddTo(forms::ListBox& list, int position, long long increment) {
    if (position < 0 || position >= list.ListCount())
        return;
    long long count = 0;
    // A count never wraps round; at the end of the range it stays there.
    if (__builtin_add_overflow(CountOf(list.List(position)), increment, &count))
        count = increment > 0 ? LLONG_MAX : LLONG_MIN;
    list.SetList(position, std::to_string(count));
}

} // namespace

void RecordCheckResult(forms::Form1& form1, const std::string& address, int position,
                       long long upIncrement, long long downIncrement) {
    form1.urlList.SetList(position, address);
    AddTo(form1.uptimeList, position, upIncrement);
    AddTo(form1.downTimeList, position, downIncrement);
}

} // namespace vigil::engine
