#include "vigil/notify/frequency_data.h"

#include "vigil/engine/check_results.h"
#include "vigil/notify/percentages.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace vigil::notify {

std::int64_t CountValue(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return 0;
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        const int digit = c - '0';
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

SiteShares SharesOf(std::string_view upText, std::string_view downText) {
    SiteShares shares;
    shares.up = CountValue(upText);
    shares.down = CountValue(downText);
    std::int64_t up = shares.up;
    std::int64_t down = shares.down;
    const std::int64_t larger = std::max(up, down);
    if (larger > kMaxCount) {
        // Scaled in floating point: the products of two 63-bit counts would overflow.
        const double scale = static_cast<double>(kMaxCount) / static_cast<double>(larger);
        up = static_cast<std::int64_t>(RoundHalfToEven(static_cast<double>(up) * scale));
        down = static_cast<std::int64_t>(RoundHalfToEven(static_cast<double>(down) * scale));
    }
    const Percentages percent = ComputePercentages(up, down);
    shares.shareUp = static_cast<std::int32_t>(up);
    shares.shareTotal = static_cast<std::int32_t>(up + down);
    shares.upPercent = percent.up;
    shares.downPercent = percent.down;
    return shares;
}

std::string ListFileText(const forms::ListBox& list) {
    std::string text;
    for (const std::string& item : list.Items()) {
        text += item;
        text += "\r\n";
    }
    return text;
}

std::vector<std::string> FileLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

namespace {

void AppendLines(forms::ListBox& list, const std::optional<std::string>& file) {
    if (!file)
        return;
    for (const std::string& line : FileLines(*file))
        list.AddItem(line);
}

void WriteFiles(const forms::Form1& form1, engine::FileSystem& files, engine::MessagePump& pump,
                bool pumpAfterLast) {
    files.WriteWholeFile(kFrequencyFileA, ListFileText(form1.urlList));
    pump.DoEvents();
    files.WriteWholeFile(kFrequencyFileB, ListFileText(form1.uptimeList));
    pump.DoEvents();
    files.WriteWholeFile(kFrequencyFileC, ListFileText(form1.downTimeList));
    if (pumpAfterLast)
        pump.DoEvents();
}

} // namespace

void LoadFrequencyData(forms::Form1& form1, engine::FileSystem& files, engine::MessagePump& pump) {
    pump.DoEvents();
    std::optional<std::string> a = files.ReadWholeFile(kFrequencyFileA);
    if (!a)
        return;
    AppendLines(form1.urlList, a);
    AppendLines(form1.uptimeList, files.ReadWholeFile(kFrequencyFileB));
    AppendLines(form1.downTimeList, files.ReadWholeFile(kFrequencyFileC));
}

void SaveFrequencyData(const forms::Form1& form1, engine::FileSystem& files,
                       engine::MessagePump& pump) {
    WriteFiles(form1, files, pump, false);
}

void ResetStatusData(forms::Form1& form1, engine::FileSystem& files, engine::MessagePump& pump) {
    form1.urlList.Clear();
    form1.downTimeList.Clear();
    form1.uptimeList.Clear();
    const std::vector<std::string> sites = form1.domainList.Items();
    for (std::size_t i = 0; i < sites.size(); ++i)
        engine::RecordCheckResult(form1, sites[i], static_cast<int>(i), 0, 0);
    WriteFiles(form1, files, pump, true);
}

} // namespace vigil::notify
