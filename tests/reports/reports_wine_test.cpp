// The reporting side through the real platform: the status report and the frequency files
// written by the Win32 file system, "Save Report" read back by a rich edit control, "Clear
// Report" answered in a real message box both ways, the error window fetching a failing site's
// page over WinINet from the driver's local server, the default sounds as Windows reads them,
// the printer dialog and the window places in the registry.
#include "tests/support/test_env.h"
#include "vigil/engine/win32/win32_clock_locale.h"
#include "vigil/engine/win32/win32_dialogs.h"
#include "vigil/engine/win32/win32_file_system.h"
#include "vigil/engine/win32/win32_message_pump.h"
#include "vigil/engine/win32/wininet_transfer.h"
#include "vigil/notify/frequency_data.h"
#include "vigil/notify/reporting.h"
#include "vigil/notify/rtf_writer.h"
#include "vigil/notify/status_report.h"
#include "vigil/notify/tests/reporting_fakes.h"
#include "vigil/notify/win32/registry_window_places.h"
#include "vigil/notify/win32/win32_report_printer.h"

#include <windows.h>

#include <mmsystem.h>
#include <richedit.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

using namespace vigil;
using namespace vigil::notify;

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder made the working directory for one test, and left again afterwards.
class WorkingFolder {
public:
    WorkingFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int serial = 0;
        path_ = std::string(temp) + "vigil-reports-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++serial);
        CreateDirectoryA(path_.c_str(), nullptr);
        GetCurrentDirectoryA(MAX_PATH, previous_);
        SetCurrentDirectoryA(path_.c_str());
    }
    ~WorkingFolder() {
        SetCurrentDirectoryA(previous_);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((path_ + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    char previous_[MAX_PATH] = {};
};

// Presses a button of the next dialog window this process shows (a message box titled title,
// or any dialog when title is empty; again and again until stopped when repeat is set), after
// typing a file name into a file dialog's name field when given one, and keeps the texts of its
// static controls.
class DialogAnswerer {
public:
    DialogAnswerer(std::string title, int button, bool repeat = false, std::string typed = {})
        : title_(std::move(title)), button_(button), repeat_(repeat), typed_(std::move(typed)),
          thread_([this] { Run(); }) {}
    ~DialogAnswerer() { Wait(); }

    void Wait() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    int Answered() const { return answered_; }
    const std::string& Text() const { return text_; } // after Wait

private:
    static BOOL CALLBACK Child(HWND child, LPARAM param) {
        char kind[32] = {};
        GetClassNameA(child, kind, sizeof kind);
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        if (lstrcmpiA(kind, "Static") == 0 && text[0])
            *reinterpret_cast<std::string*>(param) += text;
        return TRUE;
    }
    static BOOL CALLBACK TopLevel(HWND window, LPARAM param) {
        auto* self = reinterpret_cast<DialogAnswerer*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char kind[32] = {};
        GetClassNameA(window, kind, sizeof kind);
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        if (process != GetCurrentProcessId() || lstrcmpA(kind, "#32770") != 0 ||
            !IsWindowVisible(window) || (!self->title_.empty() && self->title_ != title))
            return TRUE;
        self->found_ = window;
        return FALSE;
    }
    void Run() {
        // Bounded: a box that never comes leaves the test to fail on what it checks.
        for (int i = 0; i < 1500 && (!stop_ || (!repeat_ && answered_ == 0)); ++i) {
            found_ = nullptr;
            EnumWindows(&DialogAnswerer::TopLevel, reinterpret_cast<LPARAM>(this));
            if (found_) {
                EnumChildWindows(found_, &DialogAnswerer::Child, reinterpret_cast<LPARAM>(&text_));
                if (!typed_.empty()) {
                    // The file name field of the file dialogs: an edit (edt1) or a combo box
                    // holding one (cmb13).
                    SetDlgItemTextA(found_, 0x480, typed_.c_str());
                    SetDlgItemTextA(found_, 0x47c, typed_.c_str());
                }
                PostMessageA(found_, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(found_, button_)));
                ++answered_;
                if (!repeat_)
                    return;
                Sleep(200);
            }
            Sleep(20);
        }
    }

    std::string title_;
    int button_;
    bool repeat_;
    std::string typed_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    HWND found_ = nullptr;
    std::string text_;
    std::thread thread_;
};

// The save dialog answers with a name the test chose; message boxes are the real ones.
class NamedSaveDialogs : public engine::win32::Win32Dialogs {
public:
    std::string name;
    std::string SaveFileName(const std::string&) override { return name; }
};

struct Platform {
    engine::win32::Win32MessagePump pump;
    engine::win32::Win32ClockLocale clock;
    engine::win32::Win32FileSystem files;
    NamedSaveDialogs dialogs;
    fakes::Shell shell;
    fakes::Printer printer;
    fakes::Places places;

    ReportingPorts Ports() {
        return ReportingPorts{files, pump,    clock,  dialogs,
                              shell, printer, places, static_cast<unsigned>(GetACP())};
    }
};

TEST(StatusReport, WrittenThroughTheFileSystemAndHandedToTheShell) {
    WorkingFolder folder;
    Platform p;
    forms::Windows w;
    w.form1.intervalHours.SetText("1");
    w.form1.intervalMins.SetText("5");
    for (auto [site, up, down] : {std::tuple{"http://a.example/", "3", "1"},
                                  std::tuple{"http://b.example/<b>", "0", "0"}}) {
        w.form1.urlList.AddItem(site);
        w.form1.uptimeList.AddItem(up);
        w.form1.downTimeList.AddItem(down);
    }
    Reporting reporting(w, p.Ports());
    w.form1.freqHTML.Click();

    const std::string written = ReadBytes(folder.Path() + "\\Frequency.htm");
    EXPECT_EQ(written, StatusReportText(w.form1, p.clock.ShortDate(p.clock.Now())));
    EXPECT_NE(written.find(" - web sites verified every : 65 mins "), std::string::npos);
    EXPECT_NE(written.find("Uptime : 75% (3)<br>DownTime: 25% (1)"), std::string::npos);
    EXPECT_NE(written.find("http://b.example/&lt;b&gt;"), std::string::npos);
    ASSERT_EQ(p.shell.opened.size(), 1u);
    EXPECT_EQ(p.shell.opened[0].first, "Frequency.htm");
}

TEST(FrequencyFiles, ACyclesCountsAreLoadedAtTheNextStartAndAResetZeroesThem) {
    WorkingFolder folder;
    Platform p;
    forms::Windows w;
    for (auto [site, up, down] : {std::tuple{"http://a.example/", "7", "1"},
                                  std::tuple{"http://b.example/", "0", "40000"}}) {
        w.form1.domainList.AddItem(site);
        w.form1.urlList.AddItem(site);
        w.form1.uptimeList.AddItem(up);
        w.form1.downTimeList.AddItem(down);
    }
    Reporting reporting(w, p.Ports());
    reporting.WriteFrequencyFiles();
    EXPECT_EQ(ReadBytes(folder.Path() + "\\FreqA.log"),
              "http://a.example/\r\nhttp://b.example/\r\n");
    EXPECT_EQ(ReadBytes(folder.Path() + "\\FreqC.log"), "1\r\n40000\r\n");

    forms::Windows next;
    Reporting started(next, p.Ports());
    started.LoadFrequencyData();
    EXPECT_EQ(next.form1.urlList.Items(), w.form1.urlList.Items());
    EXPECT_EQ(next.form1.uptimeList.Items(), w.form1.uptimeList.Items());
    EXPECT_EQ(next.form1.downTimeList.Items(), w.form1.downTimeList.Items());

    w.form1.ResetFreq.Click();
    EXPECT_EQ(ReadBytes(folder.Path() + "\\freqB.log"), "0\r\n0\r\n");
    EXPECT_EQ(ReadBytes(folder.Path() + "\\freqC.log"), "0\r\n0\r\n");
}

struct RtfSource {
    const std::string* text;
    std::size_t at;
};

// A stream callback is a stdcall function on i686, which a lambda does not convert to.
DWORD CALLBACK ReadRtfSource(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* s = reinterpret_cast<RtfSource*>(cookie);
    std::size_t left = s->text->size() - s->at;
    std::size_t n =
        left < static_cast<std::size_t>(wanted) ? left : static_cast<std::size_t>(wanted);
    memcpy(buffer, s->text->data() + s->at, n);
    s->at += n;
    *given = static_cast<LONG>(n);
    return 0;
}

// The text a rich edit control makes of an RTF document.
std::string RichEditText(const std::string& rtf) {
    HMODULE library = LoadLibraryA("riched20.dll");
    EXPECT_NE(library, nullptr);
    HWND box = CreateWindowExA(0, RICHEDIT_CLASSA, "", ES_MULTILINE, 0, 0, 400, 300, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_NE(box, nullptr);
    RtfSource source{&rtf, 0};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&source);
    stream.pfnCallback = ReadRtfSource;
    SendMessageA(box, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    GETTEXTLENGTHEX lengthOf{GTL_DEFAULT, CP_ACP};
    LRESULT length = SendMessageA(box, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthOf), 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    GETTEXTEX get{static_cast<DWORD>(text.size()), GT_DEFAULT, CP_ACP, nullptr, nullptr};
    LRESULT got = SendMessageA(box, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                               reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(got));
    DestroyWindow(box);
    return text;
}

// Paragraph ends as a rich edit control gives them (CR) and without the last one.
std::string Paragraphs(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i] == '\n' ? '\r' : text[i];
    }
    while (!out.empty() && out.back() == '\r')
        out.pop_back();
    return out;
}

TEST(SaveReport, TheFileIsRtfThatReadsBackAsTheLog) {
    WorkingFolder folder;
    Platform p;
    forms::Windows w;
    Reporting reporting(w, p.Ports());
    const std::string log = "Web site checking started - {07/12/2026}\r\nC:\\Vigil\\reports\t"
                            "ok\r\n\r\nCaf\xE9 and more\r\n";
    w.reportWindow.report.SetText(log);
    p.dialogs.name = folder.Path() + "\\saved.txt";
    w.reportWindow.cmdSave.Click();

    const std::string rtf = ReadBytes(p.dialogs.name);
    EXPECT_EQ(rtf, TextToRtf(log, GetACP()));
    ASSERT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(Paragraphs(RichEditText(rtf)), Paragraphs(log));
}

TEST(SaveReport, TheRealSaveDialogGivesTheNameTyped) {
    WorkingFolder folder;
    engine::win32::Win32Dialogs dialogs;
    const std::string path = folder.Path() + "\\typed.txt";
    DialogAnswerer answer("", IDOK, false, path);
    EXPECT_EQ(dialogs.SaveFileName(kReportFilter), path);
    answer.Wait();
    EXPECT_EQ(answer.Answered(), 1);
    char now[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_EQ(std::string(now), folder.Path()); // the dialog left the working directory alone
}

TEST(SaveReport, AFolderThatCannotBeWrittenShowsTheMessage) {
    WorkingFolder folder;
    Platform p;
    forms::Windows w;
    Reporting reporting(w, p.Ports());
    w.reportWindow.report.SetText("kept\r\n");
    p.dialogs.name = folder.Path() + "\\no such folder\\saved.txt";
    DialogAnswerer answer("Vigil", IDOK);
    w.reportWindow.cmdSave.Click();
    answer.Wait();
    EXPECT_EQ(answer.Answered(), 1);
    EXPECT_EQ(answer.Text(), "Error saving file...");
    EXPECT_EQ(w.reportWindow.report.Text(), "kept\r\n");
}

TEST(ClearReport, AnsweredBothWaysInTheRealMessageBox) {
    struct Case {
        int button;
        const char* left;
    } cases[] = {{IDCANCEL, "the log\r\n"}, {IDOK, ""}};
    for (const Case& c : cases) {
        Platform p;
        forms::Windows w;
        Reporting reporting(w, p.Ports());
        w.reportWindow.report.SetText("the log\r\n");
        DialogAnswerer answer("Vigil - Report", c.button);
        w.reportWindow.Command2.Click();
        answer.Wait();
        EXPECT_EQ(answer.Answered(), 1) << c.button;
        EXPECT_EQ(answer.Text(), "Are you sure you want to clear the report window?");
        EXPECT_EQ(w.reportWindow.report.Text(), c.left) << c.button;
    }
}

TEST(ErrorWindow, FetchesTheChosenSiteAndShowsWhatItReturns) {
    Platform p;
    forms::Windows w;
    engine::win32::WinInetTransfer transfer(p.pump);
    w.errorsWindow.Inet1.Attach(&transfer);
    Reporting reporting(w, p.Ports());
    w.errorsWindow.errorList.AddItem("http://127.0.0.1:" + Env("VIGIL_ORIGIN_PORT") + "/asp");
    w.errorsWindow.errorList.AddItem("http://127.0.0.1:" + Env("VIGIL_REFUSED_PORT") + "/");
    reporting.ShowErrorWindow();

    w.errorsWindow.errorList.SetListIndex(0);
    EXPECT_EQ(w.errorsWindow.errorDisplay.Text(),
              "<p>Unexpected error</p><p>Active Server Pages</p>");
    w.errorsWindow.errorList.SetListIndex(1); // nobody listens: the display keeps waiting
    EXPECT_EQ(w.errorsWindow.errorDisplay.Text(), "Please Wait...");
    w.errorsWindow.OKButton.Click();
    EXPECT_EQ(w.errorsWindow.errorDisplay.Text(), forms::kErrorDisplayHint);
    EXPECT_FALSE(w.errorsWindow.Visible());
}

// The format chunk of a WAV file as Windows' own RIFF reader finds it, and its data length.
struct WaveInfo {
    bool ok = false;
    PCMWAVEFORMAT format{};
    DWORD dataBytes = 0;
};

WaveInfo ReadWave(const std::string& path) {
    WaveInfo info;
    std::string name = path;
    HMMIO file = mmioOpenA(name.data(), nullptr, MMIO_READ);
    if (!file)
        return info;
    MMCKINFO riff{};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    MMCKINFO chunk{};
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) == 0) {
        chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
        if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == 0 &&
            mmioRead(file, reinterpret_cast<HPSTR>(&info.format), sizeof info.format) ==
                static_cast<LONG>(sizeof info.format)) {
            mmioAscend(file, &chunk, 0);
            chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
            if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) == 0) {
                info.dataBytes = chunk.cksize;
                info.ok = true;
            }
        }
    }
    mmioClose(file, 0);
    return info;
}

TEST(Sounds, TheDefaultSoundsBesideVigilArePcmWaves) {
    for (const char* name : {"alarm.wav", "warning.wav"}) {
        const std::string path = testenv::BinaryDir() + "\\vigil\\" + name;
        WaveInfo wave = ReadWave(path);
        ASSERT_TRUE(wave.ok) << path;
        EXPECT_EQ(wave.format.wf.wFormatTag, WAVE_FORMAT_PCM) << name;
        EXPECT_EQ(wave.format.wf.nChannels, 1) << name;
        EXPECT_EQ(wave.format.wBitsPerSample, 16) << name;
        const double seconds = static_cast<double>(wave.dataBytes) / wave.format.wf.nAvgBytesPerSec;
        EXPECT_GT(seconds, 0.1) << name;
        EXPECT_LT(seconds, 2.0) << name; // short: the interface waits for the sound to end
    }
}

TEST(PrintReport, ACancelledPrinterDialogPrintsNothing) {
    win32::Win32ReportPrinter printer;
    // Whatever dialog the printer dialog brings (without a printer Wine may say so first) is
    // cancelled.
    DialogAnswerer cancel("", IDCANCEL, true);
    EXPECT_FALSE(printer.ChoosePrinter(kPrintDialogFlags));
    cancel.Wait();
    printer.Print("nothing to print"); // no device chosen: nothing happens
}

TEST(PrintReport, TheTextPrintsIntoAFileOnAnInstalledPrinter) {
    char name[256] = {};
    DWORD size = sizeof name;
    if (!GetDefaultPrinterA(name, &size))
        GTEST_SKIP() << "no printer installed";
    HDC dc = CreateDCA("WINSPOOL", name, nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    WorkingFolder folder;
    const std::string output = folder.Path() + "\\printed.prn";
    std::string log;
    for (int i = 0; i < 200; ++i)
        log += "Web site checking started - line " + std::to_string(i) + "\r\n";
    EXPECT_TRUE(win32::PrintTextTo(dc, log, "Vigil Report", output));
    DeleteDC(dc);
    EXPECT_FALSE(ReadBytes(output).empty());
}

TEST(WindowPlaces, StoredInTheRegistryUnderTheApplicationName) {
    const std::string name = "Vigil Reports Test " + std::to_string(GetCurrentProcessId());
    win32::RegistryWindowPlaces store;
    EXPECT_FALSE(store.Load(name));
    {
        forms::Windows w;
        RememberedPlace place(w.reportWindow, name, store);
        w.reportWindow.SetPlace({1500, -300, 6000, 4000});
    }
    std::optional<WindowPosition> loaded = store.Load(name);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, (WindowPosition{1500, -300}));
    {
        forms::Windows w;
        RememberedPlace place(w.errorsWindow, name, store);
        EXPECT_EQ(w.errorsWindow.Place().left, 1500);
        EXPECT_EQ(w.errorsWindow.Place().top, -300);
    }
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, win32::WindowPlaceKey(name).c_str()), ERROR_SUCCESS);
}

} // namespace
