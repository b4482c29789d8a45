#include "vigil/notify/frequency_data.h"

#include "vigil/engine/check_results.h"
#include "vigil/notify/percentages.h"

#include <optional>

namespace vigil::notify {

SiteShares SharesOf(std::string_view upText, std::string_view downText) {
    SiteShares shares;
    shares.up = CountFromText(upText);
    shares.down = CountFromText(downText);
    const Percentages percent = ComputePercentages(shares.up, shares.down);
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
