#pragma once
// The frequency data: each site's address, up count and down count in the main window's
// hidden lists urlList, uptimeList and downTimeList, and the three files that keep them between
// runs (one entry a line, CR LF, the system's code page).
#include "vigil/engine/file_system.h"
#include "vigil/engine/message_pump.h"
#include "vigil/forms/form1.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vigil::notify {

// The files live in the installation folder (the working directory). Start-up loads them, and
// both the end of a check cycle and the reset replace them, so the next start sees the counts
// the last cycle saved. Names are compared without regard to case, as the file system does.
inline constexpr const char* kFrequencyFileA = "FreqA.log"; // addresses
inline constexpr const char* kFrequencyFileB = "FreqB.log"; // up counts
inline constexpr const char* kFrequencyFileC = "FreqC.log"; // down counts

inline constexpr const char* kNoStatusData = "No Status Data Available";

// One site's figures as the status report and the uptime window show them, from the whole
// counts (read as CountFromText reads them), so a count past 16 bits still gives its real share.
struct SiteShares {
    std::int64_t up = 0;
    std::int64_t down = 0;
    int upPercent = 0;
    int downPercent = 0;

    bool HasData() const { return up != 0 || down != 0; }
};
SiteShares SharesOf(std::string_view upText, std::string_view downText);

// The lines of a list, each followed by CR LF.
std::string ListFileText(const forms::ListBox& list);
// A file's lines (CR LF, a lone CR or a lone LF ends a line; a last line without an end
// counts).
std::vector<std::string> FileLines(std::string_view text);

// Start-up: only when file A can be read, appends its lines to urlList, then file B's to
// uptimeList and file C's to downTimeList (a missing B or C leaves its counts empty, which count
// as 0). Lets pending window events run first.
void LoadFrequencyData(forms::Form1& form1, engine::FileSystem& files, engine::MessagePump& pump);

// The end of a check cycle: replaces file A, B and C, letting pending events run after A and
// after B. Failures are ignored (the next save tries again).
void SaveFrequencyData(const forms::Form1& form1, engine::FileSystem& files,
                       engine::MessagePump& pump);

// "Reset Status Data": every site's counts back to 0 and the three files rewritten, pending
// events run after each file.
void ResetStatusData(forms::Form1& form1, engine::FileSystem& files, engine::MessagePump& pump);

} // namespace vigil::notify
