// Times the classification of 1 MiB and 16 MiB bodies and 100,000 activity-log lines.
//
//   build/win64: bash tools/wine-run.sh build/win64/bench/engine/vigil_engine_bench.exe
//   build/host:  build/host/bench/engine/vigil_engine_bench
//
// On Windows the lower-casing and the clock are the system's; on the host they are simple
// stand-ins.
#include "vigil/engine/activity_log.h"
#include "vigil/engine/response_classification.h"
#include "vigil/forms/rich_text.h"

#ifdef _WIN32
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/forms/windows.h"
#include "vigil/shell/win32/report_window.h"
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace vigil;
using namespace vigil::engine;
using Clock = std::chrono::steady_clock;

namespace {

#ifdef _WIN32
using BenchLocale = win32::Win32ClockLocale;
#else
class BenchLocale : public ClockLocale {
public:
    LocalTime Now() const override { return {2026, 7, 12, 9, 0, 0}; }
    std::string ShortDate(const LocalTime&) const override { return "07/12/2026"; }
    std::string GeneralDate(const LocalTime&) const override { return "07/12/2026 09:00:00"; }
    std::string LowerCase(std::string text) const override {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    }
};
#endif

class NullFiles : public FileSystem {
public:
    std::string CurrentDirectory() const override { return "C:\\Vigil"; }
    bool WriteWholeFile(const std::string&, const std::string&) override { return true; }
};

class NoDialogs : public Dialogs {
public:
    MsgBoxResult MsgBox(const std::string&, const std::string&, MsgBoxButtons) override {
        return MsgBoxResult::Ok;
    }
};

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Best of a few runs, so a busy machine disturbs the figure less.
template <typename F> double BestMs(int runs, F&& f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        f();
        best = std::min(best, Ms(Clock::now() - start));
    }
    return best;
}

std::string PageOf(std::size_t bytes) {
    const std::string chunk = "<TR><TD CLASS=\"Item\">Product 404 - Server Status</TD><TD>"
                              "Proxy Server : Online, Error-free, Active</TD></TR>\r\n";
    std::string page = "<HTML><HEAD><TITLE>Status</TITLE></HEAD><BODY><TABLE>\r\n";
    while (page.size() + chunk.size() < bytes)
        page += chunk;
    page.resize(bytes, ' ');
    return page;
}

// A body that starts like an error page and defeats naive wildcard matching: the start and
// end pieces of many rows, and long runs of their first letters in between.
std::string NearMissOf(std::size_t bytes) {
    std::string body = "404 403.4 <em>microsoft proxy ";
    while (body.size() < bytes)
        body += "not foun forbidden: ssl requir <strong>proxy server ";
    body.resize(bytes, 'n');
    return body;
}

void BenchClassification(const ClockLocale& locale) {
    for (std::size_t mib : {1u, 16u}) {
        const std::size_t bytes = mib * 1024u * 1024u;
        struct {
            const char* name;
            std::string body;
        } bodies[] = {{"html page", PageOf(bytes)}, {"near miss", NearMissOf(bytes)}};
        for (auto& b : bodies) {
            std::string lower;
            double lowerMs = BestMs(3, [&] { lower = locale.LowerCase(b.body); });
            std::string site, connection;
            double siteMs = BestMs(3, [&] { site = ClassifyBody(lower, kSiteCheck); });
            double connMs = BestMs(3, [&] { connection = ClassifyBody(lower, kConnectionCheck); });
            std::printf("classify %2zu MiB %-9s  lower-case %8.2f ms  site %8.2f ms  "
                        "connection %8.2f ms  (%s / %s)\n",
                        mib, b.name, lowerMs, siteMs, connMs, site.c_str(), connection.c_str());
        }
    }
}

void BenchWriteLog(const ClockLocale& locale, forms::RichText& report, const char* what) {
    const int lines = 100000;
    NullFiles files;
    NoDialogs dialogs;
    ActivityLog log(report, locale, files, dialogs);
    const std::string line = "Processing - http://www.example.com/some/page.html";
    // Time each tenth of the run: flat figures mean a line costs the same however long the
    // log has grown.
    std::vector<double> tenths;
    auto start = Clock::now();
    auto mark = start;
    for (int i = 1; i <= lines; ++i) {
        log.WriteLog(line);
        if (i % (lines / 10) == 0) {
            auto now = Clock::now();
            tenths.push_back(Ms(now - mark));
            mark = now;
        }
    }
    double total = Ms(Clock::now() - start);
    std::printf("WriteLog x %d, %s: %.2f ms total, %.3f us a line, log %zu bytes\n", lines, what,
                total, total * 1000.0 / lines, report.Text().size());
    std::printf("  each tenth (ms):");
    for (double t : tenths)
        std::printf(" %.2f", t);
    std::printf("\n");
}

} // namespace

int main() {
    BenchLocale locale;
    BenchClassification(locale);
    {
        forms::RichText report("report");
        BenchWriteLog(locale, report, "headless report");
    }
#ifdef _WIN32
    {
        // The same with the report window's rich edit control bound to the log.
        forms::frmReport form;
        shell::win32::ReportWindow window(form, nullptr);
        BenchWriteLog(locale, form.report, "bound to the rich edit");
    }
#endif
    return 0;
}
