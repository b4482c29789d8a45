#include "vigil/engine/check_results.h"

#include "vigil/engine/site_list.h"

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

// Sets the entry at the position; setting the entry just past the end of a list adds it. A
// shorter list is first filled with empty entries up to the position, but only as far as a
// site's position can reach, so a stray position cannot grow a list without bound.
void SetAt(forms::ListBox& list, int position, const std::string& text) {
    if (position < 0 || (position > list.ListCount() && position >= kMaxSites))
        return;
    while (list.ListCount() < position)
        list.AddItem({});
    if (position == list.ListCount())
        list.AddItem(text);
    else
        list.SetList(position, text);
}

void AddTo(forms::ListBox& list, int position, long long increment) {
    long long count = 0;
    // A count never wraps round; at the end of the range it stays there.
    if (__builtin_add_overflow(CountOf(list.List(position)), increment, &count))
        count = increment > 0 ? LLONG_MAX : LLONG_MIN;
    SetAt(list, position, std::to_string(count));
}

} // namespace

void RecordCheckResult(forms::Form1& form1, const std::string& address, int position,
                       long long upIncrement, long long downIncrement) {
    SetAt(form1.urlList, position, address);
    AddTo(form1.uptimeList, position, upIncrement);
    AddTo(form1.downTimeList, position, downIncrement);
}

} // namespace vigil::engine
