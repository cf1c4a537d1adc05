#pragma once

#include "app/form/form_view.h"
#include "app/form/usb_form.h"
#include "app/win32/window_fonts.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

namespace treadkey {

// A control's child window has this id and its index in the control table; the ids below are the dialog
// manager's own (Enter and Escape come as IDOK and IDCANCEL).
inline constexpr int kFirstControlId = 100;
// The top-level window's class, by which another program finds it.
inline constexpr wchar_t kWindowClass[] = L"TreadkeySetupWindow";

// The window drawn with Win32 controls: one child window a control of the table, all of them children of
// the top-level window at their place scaled to its DPI. It forwards clicks, edits, ticks, activation and
// close to the window's behaviour, and draws what that shows.
class Win32Window : public FormView {
public:
    Win32Window(HidBackend& backend, WindowServices services, HINSTANCE instance);
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;
    ~Win32Window() override;

    USB& Form() { return form_; }
    HWND Handle() const { return window_; }
    // The child window that draws a control, by the control's name; nothing for a name the table does not
    // hold.
    HWND ControlHandle(std::string_view name) const;
    // Runs the window's messages until it is closed, dropping the keystrokes the pedal types; returns the
    // exit code.
    int RunMessageLoop();

    void Show(const Control& control, ControlProperty changed) override;
    void ShowWindow() override;
    void CloseWindow() override;
    bool IsActive() const override;
    void AddResultLine(const std::string& line) override;
    void ClearResultLines() override;
    std::string TimeStamp() override;
    void StartTimer(int milliseconds) override;
    void StopTimer() override;
    void ShowMessage(const std::string& text, const std::string& title) override;
    bool AskOkCancel(const std::string& text, const std::string& title) override;
    void Pause(int milliseconds) override;
    void Post(std::function<void()> work) override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeControls(HINSTANCE instance);
    void ChooseLanguageByFont();
    // Places and sizes the window and every control, and gives each its font, at the window's DPI.
    void Lay();
    // Where the design puts a control, in pixels of the window's client area at its DPI.
    RECT DesignPlace(const ControlSpec& spec) const;
    void PlaceControl(const Control& control);
    // A push button's or a frame's caption drawn in its font, made smaller until it fits where it is drawn.
    void FitCaption(const Control& control);
    // A control's font, made smaller half a point at a time until fits takes it, as the Qt view draws a
    // caption that does not fit.
    HFONT FittedFont(const Control& control, const std::function<bool(HFONT)>& fits);
    // The top-level window's size around the client area at the window's DPI.
    SIZE FrameSize() const;
    void SizeWindow(POINT topLeft);
    void Command(std::size_t index, WORD notification);
    void DrawToggle(const DRAWITEMSTRUCT& item);
    void SetToolTip(HWND control, const std::string& text);
    // A control's child window, visible only while its container is.
    void ShowVisibility(const Control& control);
    Control* ControlOf(std::size_t index);
    std::size_t Index(const Control& control) const;

    USB form_;
    HWND window_ = nullptr;
    HWND toolTips_ = nullptr;
    std::vector<HWND> controls_; // in the order of the control table
    int dpi_ = 96;
    WindowFonts fonts_{96};
    SIZE buttonCaptionMargins_{}; // at dpi_
    // Where captions are measured: one device context for the window's life, as asking the window for one at
    // each of the hundreds of measurements of a start-up costs time.
    std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&DeleteDC)> measuring_{CreateCompatibleDC(nullptr),
                                                                                &DeleteDC};
    HWND focused_ = nullptr; // the control that had the focus when the window was last deactivated
    bool showing_ = false;   // the window's behaviour sets a text: no edit of the user's
    std::deque<std::function<void()>> posted_; // run one a private message
};

} // namespace treadkey
