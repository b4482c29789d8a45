#pragma once
// Binds headless controls to real windows, both ways: a change of the control object updates
// the window, and the user's input in the window updates the control object (which raises its
// events). No behaviour lives here. A window binds its controls from one table of
// {control id, headless control, kind}; the ids are those of its dialog template.
#include "vigil/forms/controls.h"

#include <windows.h>

#include <functional>
#include <map>
#include <vector>

namespace vigil::forms::win32 {

enum class Kind {
    Panel,         // a child dialog or a picture: follows Visible and Enabled only
    Static,        // label or frame: caption, Visible, Enabled
    Button,        // push button with the control's caption
    PictureButton, // push button whose picture or text the template gives
    CheckBox,
    TextBox,
    ListBox,
    ComboBox,
    ListView,
    RichText, // a read-only view of a text that grows at its end
    TabStrip,
    Slider,
    ProgressBar,
};

struct BindingEntry {
    int id;
    Control& control;
    Kind kind;
};

class ControlBinding {
public:
    ControlBinding() = default;
    ControlBinding(const ControlBinding&) = delete;
    ControlBinding& operator=(const ControlBinding&) = delete;
    ~ControlBinding();

    // Binds every entry to the child of parent with that id. A missing child or a control of
    // the wrong kind is a fault of the window's table and throws std::logic_error.
    void BindTable(HWND parent, const std::vector<BindingEntry>& table);
    void Bind(HWND hwnd, Control& control, Kind kind);

    void BindForm(HWND hwnd, Form& form);
    void BindButton(HWND hwnd, Button& button, bool mirrorCaption = true);
    void BindCheckBox(HWND hwnd, CheckBox& box);
    void BindTextBox(HWND hwnd, TextBox& box);
    void BindStatic(HWND hwnd, Control& control); // frames and labels: caption only
    void BindPanel(HWND hwnd, Control& control);  // visibility and enabled state only
    void BindListBox(HWND hwnd, ListBox& list);
    void BindComboBox(HWND hwnd, ComboBox& box);
    void BindListView(HWND hwnd, ListView& view);
    // A read-only view of a text that grows at its end: appended text is added at the end of
    // the edit control (not re-sent whole) and the caret follows the control object's.
    void BindRichText(HWND hwnd, RichText& text);
    void BindTabStrip(HWND hwnd, TabStrip& strip);
    void BindSlider(HWND hwnd, Slider& slider);
    void BindProgressBar(HWND hwnd, ProgressBar& bar);
    // A rectangle drawn by a "VigilShape" window, placed from the shape's twips with origin
    // (in client pixels of the parent) added.
    void BindShape(HWND hwnd, Shape& shape, POINT origin);
    // A timer of owner: runs with SetTimer while enabled; WM_TIMER raises Elapsed.
    void BindTimer(HWND owner, Timer& timer);

    // Routes a window's WM_COMMAND, WM_NOTIFY, WM_HSCROLL/WM_VSCROLL and WM_TIMER to the bound
    // control; true when handled.
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    bool OnNotify(LPARAM lParam);
    bool OnScroll(LPARAM lParam);
    bool OnTimer(HWND owner, WPARAM id);

private:
    void BindCommonState(HWND hwnd, Control& control, bool mirrorCaption);
    void FillListView(HWND hwnd, const ListView& view);
    void FillList(HWND hwnd, const ListBox& list, bool combo);

    std::map<int, std::function<void(int)>> commandHandlers_; // by child id, gets notify code
    std::map<int, std::function<void(const NMHDR*)>> notifyHandlers_;
    std::map<HWND, std::function<void()>> scrollHandlers_;
    struct TimerSlot {
        HWND owner;
        Timer* timer;
    };
    std::map<UINT_PTR, TimerSlot> timers_;
    std::vector<HWND> subclassed_;
    UINT_PTR nextTimerId_ = 1;
    bool pushing_ = false; // true while the binding itself writes to a window
};

// The list's scale unit is the point; columns are sized in pixels of the screen.
int PointsToPixels(double points);
// Twips are 1440 to the inch: 15 to a pixel at 96 DPI.
int TwipsToPixels(double twips);
double PixelsToTwips(int pixels);

// Registers the "VigilShape" window class (a filled or outlined rectangle); call before
// creating a dialog whose template uses it.
void RegisterShapeClass();
inline constexpr char kShapeClass[] = "VigilShape";

} // namespace vigil::forms::win32
