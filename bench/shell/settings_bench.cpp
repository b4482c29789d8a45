// Times a full save of the settings with 100 sites (about 330 values), as it follows every
// option change and every keystroke in the e-mail fields, and the load at start-up.
//
//   build/win64: bash tools/wine-run.sh build/win64/bench/shell/vigil_settings_bench.exe
//   build/host:  build/host/bench/shell/vigil_settings_bench
//
// On Windows the store is the real registry, below a key of the benchmark's own under
// HKEY_CURRENT_USER (removed at the end), so the program's own settings are not touched; on the
// host it is the in-memory store of the unit tests.
#include "vigil/shell/registry_layout.h"
#include "vigil/shell/settings_store.h"

#ifdef _WIN32
#include "vigil/shell/win32/advapi32_registry_store.h"
#include "vigil/shell/win32/win32_screen_metrics.h"

#include <windows.h>
#else
#include "vigil/shell/tests/fake_registry_store.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace vigil;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

struct Figures {
    double best = 1e300;
    double median = 0;
};

template <typename F> Figures Time(int runs, F&& f) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        f(i);
        times.push_back(Ms(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return {times.front(), times[times.size() / 2]};
}

void Print(const char* what, const Figures& f) {
    std::printf("%-58s best %8.3f ms  median %8.3f ms\n", what, f.best, f.median);
}

#ifndef _WIN32
class FixedScreen : public shell::ScreenMetrics {
public:
    double WidthTwips() const override { return 15360; }
    double HeightTwips() const override { return 11520; }
};
#endif

void Fill(forms::Windows& w) {
    for (int n = 0; n < 100; ++n) {
        w.form1.domainList.AddItem("http://www.site" + std::to_string(n) + ".example.com/");
        w.form1.emailList1.AddItem("first" + std::to_string(n) + "@example.com");
        w.form1.emailList2.AddItem("second" + std::to_string(n) + "@example.com");
    }
    w.form1.SetPlace({1200, 900, 9000, 7000});
}

template <typename MakeStore>
void Bench(shell::RegistryStore& registry, MakeStore makeStore,
           const shell::ScreenMetrics& screen) {
    forms::Windows w;
    Fill(w);
    shell::SettingsStore store(w, registry, screen);
    const int runs = 30;

    // The first save of a run knows nothing of the stored values and writes every one.
    Print("first save of a run (every value written)", Time(10, [&](int) {
              auto fresh = makeStore();
              shell::SettingsStore first(w, *fresh, screen);
              first.SaveSettings();
          }));

    // What every save did before: a create-key call and an open of the key for each value.
    Print("save, key created and opened for every value", Time(runs, [&](int) {
              store.WriteSetting("WarnNoConnection", "0");
              for (int n = 0; n < 30 + 3 * shell::kSiteSlots; ++n)
                  store.WriteSetting("Value" + std::to_string(n), "http://www.example.com/");
          }));
    Print("full save after a change of one option", Time(runs, [&](int i) {
              w.form1.monWeb.SetValue(i % 2);
              store.SaveSettings();
          }));
    Print("full save after a keystroke in an e-mail address", Time(runs, [&](int i) {
              w.form1.emailList1.SetList(50, "first50@example.com" + std::string(i % 2, 'x'));
              store.SaveSettings();
          }));
    Print("full save, nothing changed", Time(runs, [&](int) { store.SaveSettings(); }));
    Print("full save, every site changed", Time(runs, [&](int i) {
              for (int n = 0; n < 100; ++n)
                  w.form1.domainList.SetList(n, "http://run" + std::to_string(i) + "-" +
                                                    std::to_string(n) + ".example.com/");
              store.SaveSettings();
          }));
    Print("load", Time(5, [&](int) {
              forms::Windows fresh;
              shell::SettingsStore reload(fresh, registry, screen);
              reload.LoadSettings();
          }));
}

} // namespace

int main() {
#ifdef _WIN32
    const char* root = "Software\\Vigil Settings Bench";
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, root, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        std::printf("could not create HKCU\\%s\n", root);
        return 1;
    }
    {
        shell::win32::Advapi32RegistryStore registry(key);
        shell::win32::Win32ScreenMetrics screen;
        Bench(
            registry, [key] { return std::make_unique<shell::win32::Advapi32RegistryStore>(key); },
            screen);
    }
    RegCloseKey(key);
    RegDeleteTreeA(HKEY_CURRENT_USER, root);
    RegDeleteKeyA(HKEY_CURRENT_USER, root);
#else
    shell::fakes::RegistryStoreFake registry;
    FixedScreen screen;
    Bench(
        registry, [] { return std::make_unique<shell::fakes::RegistryStoreFake>(); }, screen);
#endif
    return 0;
}
