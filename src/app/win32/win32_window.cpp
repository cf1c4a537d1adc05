#include "app/win32/win32_window.h"

#include "app/form/window_wording.h"
#include "app/win32/box_keystroke_filter.h"
#include "app/win32/dpi_scale.h"
#include "app/win32/keystroke_messages.h"
#include "app/win32/time_stamp.h"
#include "app/win32/wide_text.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>
#include <string>

namespace treadkey {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT_PTR kTimer1 = 1;
// The icon in treadkey-setup.rc.
constexpr int kIconId = 1;
// A drop-down combo's height is its list's too: this much below its edit box.
constexpr int kComboListTwips = 3000;
constexpr int kToolTipWidthTwips = 9000;
constexpr int kToolTipShownMilliseconds = 30000;

struct ChildKind {
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

ChildKind ChildKindOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label:
        // One line, as a caption is fitted to its room; SS_NOTIFY: a label takes the mouse, so that its
        // tooltip shows.
        return {WC_STATICW, SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::ComboBox:
        return {WC_COMBOBOXW, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0};
    case ControlKind::TextBox:
        return {WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox:
        // Not the automatic kind: the window's behaviour turns the value over and has it drawn.
        return {WC_BUTTONW, BS_CHECKBOX | WS_TABSTOP, 0};
    case ControlKind::OptionButton:
        return {WC_BUTTONW, BS_RADIOBUTTON | WS_TABSTOP, 0};
    case ControlKind::Frame:
        return {WC_BUTTONW, BS_GROUPBOX, 0};
    case ControlKind::PushButton:
        // Broken at spaces, as the classic buttons break a caption too wide for one line.
        return {WC_BUTTONW, BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, 0};
    case ControlKind::GraphicalButton:
        return {WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP, 0};
    case ControlKind::ListBox:
        return {WC_LISTBOXW, LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    return {WC_STATICW, 0, 0};
}

bool IsButton(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::GraphicalButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::OptionButton;
}

// A system colour is given as 0x80000000 and its index, as the window's design gives the button face.
COLORREF ColourOf(std::uint32_t backColor) {
    return (backColor & 0x80000000u) != 0 ? GetSysColor(static_cast<int>(backColor & 0xFFu))
                                          : static_cast<COLORREF>(backColor);
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

SIZE TextExtent(HDC dc, HFONT font, const std::wstring& text) {
    const HGDIOBJ before = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, before);
    return extent;
}

// The size text takes broken at spaces within width; wider than width where a word alone is.
SIZE WrappedExtent(HDC dc, HFONT font, const std::wstring& text, int width) {
    const HGDIOBJ before = SelectObject(dc, font);
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), -1, &bounds, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    SelectObject(dc, before);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// How much narrower and lower than the button the area is where a push button draws its caption: its theme's
// content area, or the classic look's inside of its edges. The same for every button, and asked once a
// laying: opening the theme for each caption was most of the time the captions took to be set.
SIZE ButtonCaptionMargins(HWND window, int dpi) {
    constexpr int kAnySize = 100;
    RECT area{0, 0, kAnySize, kAnySize};
    if (const HTHEME theme = OpenThemeData(window, VSCLASS_BUTTON); theme != nullptr) {
        const RECT whole = area;
        const HDC dc = GetDC(window);
        GetThemeBackgroundContentRect(theme, dc, BP_PUSHBUTTON, PBS_NORMAL, &whole, &area);
        ReleaseDC(window, dc);
        CloseThemeData(theme);
    } else {
        const int edge = GetSystemMetricsForDpi(SM_CXEDGE, static_cast<UINT>(dpi));
        InflateRect(&area, -edge, -edge);
    }
    return {kAnySize - (area.right - area.left), kAnySize - (area.bottom - area.top)};
}

// The left and top of what a frame holds nearest its edges, in twips from its corner.
TwipRect InsideMargins(std::string_view frame) {
    TwipRect margins{kClientArea.width, kClientArea.height, 0, 0};
    for (const ControlSpec& spec : ControlTable()) {
        if (spec.container == frame) {
            margins.left = std::min(margins.left, spec.place.left);
            margins.top = std::min(margins.top, spec.place.top);
        }
    }
    return margins;
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    // A second window of the same program finds the class there already.
    RegisterClassExW(&windowClass);
}

} // namespace

Win32Window::Win32Window(HidBackend& backend, WindowServices services, HINSTANCE instance)
    : form_(backend, *this, std::move(services)) {
    RegisterWindowClass(instance, Procedure);
    CreateWindowExW(0, kWindowClass, Wide(kWindowTitle).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        throw std::runtime_error("the window could not be made (error " + std::to_string(GetLastError()) +
                                 ")");
    }
    dpi_ = static_cast<int>(GetDpiForWindow(window_));
    fonts_.ScaleTo(dpi_);
    ChooseLanguageByFont();
    MakeControls(instance);
    Lay();
    RECT placed{};
    GetWindowRect(window_, &placed);
    SizeWindow({placed.left, placed.top});
}

Win32Window::~Win32Window() {
    if (window_ != nullptr) {
        // Gone with the object: no message of its destruction reaches the window's behaviour.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void Win32Window::ChooseLanguageByFont() {
    if (DrawsEveryCharacter(fonts_.For(std::nullopt), CaptionTexts(true))) {
        return;
    }
    form_.StartInEnglish(NoChineseFontNoteOnWindows(kWindowFont.family));
    // Where none suits, the missing family's stand-in is all there is.
    if (std::wstring family = LatinFamily(CaptionTexts(false)); !family.empty()) {
        fonts_.DrawIn(std::move(family));
    }
}

void Win32Window::MakeControls(HINSTANCE instance) {
    const std::vector<ControlSpec>& table = ControlTable();
    controls_.assign(table.size(), nullptr);
    // Made in the Tab chain's order, which the dialog manager follows; the frames last, at the bottom of the
    // windows' order, so that the controls inside them are drawn over them.
    std::vector<std::size_t> order(table.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    const auto rank = [&table](std::size_t i) {
        const ControlSpec& spec = table[i];
        return std::pair{spec.kind == ControlKind::Frame ? 2 : spec.tabIndex >= 0 ? 0 : 1, spec.tabIndex};
    };
    std::stable_sort(order.begin(), order.end(),
                     [&rank](std::size_t a, std::size_t b) { return rank(a) < rank(b); });
    for (std::size_t i : order) {
        const ControlSpec& spec = table[i];
        const ChildKind kind = ChildKindOf(spec.kind);
        const RECT place = DesignPlace(spec);
        controls_[i] = CreateWindowExW(kind.extendedStyle, kind.windowClass, Wide(spec.caption).c_str(),
                                       kind.style | WS_CHILD | WS_CLIPSIBLINGS, place.left, place.top,
                                       place.right - place.left, place.bottom - place.top, window_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                       instance, nullptr);
    }
    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance, nullptr);
    SendMessageW(toolTips_, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kToolTipShownMilliseconds, 0));
    showing_ = true;
    for (const Control& control : form_.Controls()) {
        const HWND child = controls_[Index(control)];
        if (control.spec.kind == ControlKind::ComboBox) {
            SetWindowTextW(child, Wide(control.text).c_str());
        } else if (control.spec.kind == ControlKind::TextBox) {
            // A pasted text is handled whole, never cut at the edit box's default limit.
            SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
        }
        SendMessageW(child, BM_SETCHECK, control.value ? BST_CHECKED : BST_UNCHECKED, 0);
        EnableWindow(child, control.enabled);
        ShowVisibility(control);
    }
    showing_ = false;
}

void Win32Window::Lay() {
    fonts_.ScaleTo(dpi_);
    buttonCaptionMargins_ = ButtonCaptionMargins(window_, dpi_);
    for (const Control& control : form_.Controls()) {
        SendMessageW(controls_[Index(control)], WM_SETFONT,
                     reinterpret_cast<WPARAM>(fonts_.For(control.spec.font)), FALSE);
        PlaceControl(control);
    }
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, PixelsAt(kToolTipWidthTwips, dpi_));
    InvalidateRect(window_, nullptr, TRUE);
}

RECT Win32Window::DesignPlace(const ControlSpec& spec) const {
    int left = spec.place.left;
    int top = spec.place.top;
    if (!spec.container.empty()) {
        const ControlSpec& container = *FindControl(spec.container);
        left += container.place.left;
        top += container.place.top;
    }
    int height = PixelsAt(spec.place.height, dpi_);
    if (spec.kind == ControlKind::ComboBox) {
        height += PixelsAt(kComboListTwips, dpi_);
    }
    const int x = PixelsAt(left, dpi_);
    const int y = PixelsAt(top, dpi_);
    return RECT{x, y, x + PixelsAt(spec.place.width, dpi_), y + height};
}

void Win32Window::PlaceControl(const Control& control) {
    const ControlSpec& spec = control.spec;
    const HWND child = controls_[Index(control)];
    RECT place = DesignPlace(spec);
    if (spec.kind == ControlKind::Label) {
        // Sized to its caption, up to the control at its right.
        const int room = PixelsAt(spec.roomEnd - spec.place.left, dpi_);
        std::wstring ink = Wide(control.text);
        // A trailing space draws nothing, and may run on under the neighbour.
        ink.erase(ink.find_last_not_of(L' ') + 1);
        const HFONT font = FittedFont(
            control, [&](HFONT tried) { return TextExtent(measuring_.get(), tried, ink).cx <= room; });
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        const SIZE extent = TextExtent(measuring_.get(), font, WindowText(child));
        place.right = place.left + std::min<int>(extent.cx, room);
        // A line taller than the design's grows as much upwards as downwards, so that its text stays on the
        // design's row instead of sinking under the control below.
        if (const int height = place.bottom - place.top; extent.cy > height) {
            place.top -= (extent.cy - height) / 2;
            place.bottom = place.top + extent.cy;
        }
    } else {
        FitCaption(control);
    }
    // Made at its design's place, most controls are there already: moving each again was most of laying.
    RECT now{};
    GetWindowRect(child, &now);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&now), 2);
    if (!EqualRect(&now, &place)) {
        SetWindowPos(child, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Win32Window::FitCaption(const Control& control) {
    const ControlSpec& spec = control.spec;
    if ((spec.kind != ControlKind::PushButton && spec.kind != ControlKind::Frame) || control.text.empty()) {
        return;
    }
    const int width = PixelsAt(spec.place.width, dpi_);
    const std::wstring caption = Wide(control.text);
    HFONT font = nullptr;
    if (spec.kind == ControlKind::PushButton) {
        // Its caption broken at spaces within the area the button draws it in.
        const SIZE room{width - buttonCaptionMargins_.cx,
                        PixelsAt(spec.place.height, dpi_) - buttonCaptionMargins_.cy};
        font = FittedFont(control, [&](HFONT tried) {
            const SIZE wrapped = WrappedExtent(measuring_.get(), tried, caption, room.cx);
            return wrapped.cx <= room.cx && wrapped.cy <= room.cy;
        });
    } else {
        // Its caption on one line above the controls it holds, within their margins.
        const TwipRect inside = InsideMargins(spec.name);
        const int roomWidth = width - 2 * PixelsAt(inside.left, dpi_);
        const int roomHeight = PixelsAt(inside.top, dpi_);
        font = FittedFont(control, [&](HFONT tried) {
            const SIZE extent = TextExtent(measuring_.get(), tried, caption);
            return extent.cx <= roomWidth && extent.cy <= roomHeight;
        });
    }
    SendMessageW(controls_[Index(control)], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HFONT Win32Window::FittedFont(const Control& control, const std::function<bool(HFONT)>& fits) {
    // Below this a caption is unreadable anyway.
    constexpr double kSmallestPoints = 4;
    constexpr double kStep = 0.5;
    ControlFont font = control.spec.font.value_or(kWindowFont);
    HFONT fitted = fonts_.For(font);
    while (!fits(fitted) && font.points - kStep >= kSmallestPoints) {
        font.points -= kStep;
        fitted = fonts_.For(font);
    }
    return fitted;
}

SIZE Win32Window::FrameSize() const {
    RECT frame{0, 0, PixelsAt(kClientArea.width, dpi_), PixelsAt(kClientArea.height, dpi_)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, static_cast<UINT>(dpi_));
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void Win32Window::SizeWindow(POINT topLeft) {
    const SIZE size = FrameSize();
    SetWindowPos(window_, nullptr, topLeft.x, topLeft.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Win32Window::ControlHandle(std::string_view name) const {
    const ControlSpec* spec = FindControl(name);
    return spec == nullptr ? nullptr : controls_[static_cast<std::size_t>(spec - ControlTable().data())];
}

std::size_t Win32Window::Index(const Control& control) const {
    return static_cast<std::size_t>(&control.spec - ControlTable().data());
}

Control* Win32Window::ControlOf(std::size_t index) {
    return index < controls_.size() ? &form_.Controls()[index] : nullptr;
}

int Win32Window::RunMessageLoop() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Where nothing holds the pedal's keys, those it types now press no button, move no focus and type
        // into no box: the press line is all they leave.
        if (window_ != nullptr && IsKeystrokeMessage(message.message) && form_.PedalIsTyping()) {
            continue;
        }
        // The dialog manager moves the focus along the Tab chain.
        if (window_ == nullptr || !IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK Win32Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self == nullptr ? DefWindowProcW(window, message, wParam, lParam)
                           : self->OnMessage(message, wParam, lParam);
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= kFirstControlId && static_cast<std::size_t>(id - kFirstControlId) < controls_.size()) {
            Command(static_cast<std::size_t>(id - kFirstControlId), HIWORD(wParam));
        }
        return 0;
    }
    case WM_DRAWITEM:
        DrawToggle(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == kTimer1) {
            form_.Timer1_Timer();
        }
        return 0;
    case kRunPosted:
        if (!posted_.empty()) {
            const std::function<void()> work = std::move(posted_.front());
            posted_.pop_front();
            work();
        }
        return 0;
    case WM_ACTIVATE: {
        // The focused control is kept over a deactivation, as a dialog keeps it.
        if (LOWORD(wParam) == WA_INACTIVE) {
            focused_ = GetFocus();
        } else if (focused_ != nullptr && IsChild(window_, focused_)) {
            SetFocus(focused_);
        }
        form_.ActivationChanged();
        return 0;
    }
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        Lay();
        SizeWindow({suggested->left, suggested->top});
        return 0;
    }
    case WM_GETMINMAXINFO: {
        // Its whole size even on a screen smaller than the window, which would otherwise cut it to the
        // screen.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        const SIZE size = FrameSize();
        limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, size.cx);
        limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, size.cy);
        return 0;
    }
    case WM_CLOSE:
        if (form_.CloseRequested()) {
            DestroyWindow(window_);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window_, kTimer1);
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Win32Window::Command(std::size_t index, WORD notification) {
    Control& control = *ControlOf(index);
    const HWND child = controls_[index];
    const ControlKind kind = control.spec.kind;
    if (IsButton(kind)) {
        // An owner-drawn button's second click within the double-click time comes as a double click alone.
        if (notification == BN_CLICKED || notification == BN_DOUBLECLICKED) {
            form_.Click(control);
        }
    } else if (showing_) {
        return;
    } else if ((kind == ControlKind::TextBox && notification == EN_CHANGE) ||
               (kind == ControlKind::ComboBox && notification == CBN_EDITCHANGE)) {
        form_.TextEdited(control, Utf8OfWide(WindowText(child)));
    } else if (kind == ControlKind::ComboBox && notification == CBN_SELCHANGE) {
        // The edit box takes the chosen item's text only after this notification.
        const LRESULT chosen = SendMessageW(child, CB_GETCURSEL, 0, 0);
        if (chosen != CB_ERR) {
            std::wstring item(static_cast<std::size_t>(SendMessageW(child, CB_GETLBTEXTLEN, chosen, 0)) + 1,
                              L'\0');
            item.resize(static_cast<std::size_t>(
                SendMessageW(child, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(item.data()))));
            form_.TextEdited(control, Utf8OfWide(item));
        }
    }
}

void Win32Window::DrawToggle(const DRAWITEMSTRUCT& item) {
    const Control* control = ControlOf(item.CtlID - kFirstControlId);
    if (control == nullptr) {
        return;
    }
    const HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const HBRUSH brush = CreateSolidBrush(ColourOf(control->backColor));
    FillRect(dc, &face, brush);
    DeleteObject(brush);
    DrawEdge(dc, &face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    const HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    RECT text = face;
    if (pressed) {
        OffsetRect(&text, 1, 1);
    }
    DrawTextW(dc, Wide(control->text).c_str(), -1, &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, before);
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void Win32Window::ShowVisibility(const Control& control) {
    const Control* container =
        control.spec.container.empty() ? nullptr : form_.FindControl(control.spec.container);
    const bool visible = control.visible && (container == nullptr || container->visible);
    ::ShowWindow(controls_[Index(control)], visible ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::SetToolTip(HWND child, const std::string& text) {
    // A combo box's mouse goes to its edit box.
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    const HWND host = GetComboBoxInfo(child, &combo) && combo.hwndItem != nullptr ? combo.hwndItem : child;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(host);
    if (text.empty()) {
        SendMessageW(toolTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    const bool known = SendMessageW(toolTips_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)) != 0;
    std::wstring wide = Wide(text);
    tool.lpszText = wide.data();
    SendMessageW(toolTips_, known ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Window::Show(const Control& control, ControlProperty changed) {
    const HWND child = controls_[Index(control)];
    const ControlKind kind = control.spec.kind;
    // What the window's behaviour sets is no edit of the user's: it must not come back as one.
    showing_ = true;
    switch (changed) {
    case ControlProperty::Text:
        SetWindowTextW(child, Wide(control.text).c_str());
        // A label is sized to its caption; a button or a frame keeps its place, its font fitted to the
        // caption.
        if (kind == ControlKind::Label) {
            PlaceControl(control);
        } else {
            FitCaption(control);
        }
        InvalidateRect(child, nullptr, TRUE);
        break;
    case ControlProperty::Enabled:
        EnableWindow(child, control.enabled);
        break;
    case ControlProperty::Visible:
        ShowVisibility(control);
        for (const Control& inside : form_.Controls()) {
            if (inside.spec.container == control.spec.name) {
                ShowVisibility(inside);
            }
        }
        break;
    case ControlProperty::BackColor:
        InvalidateRect(child, nullptr, TRUE);
        break;
    case ControlProperty::Value:
        if (kind == ControlKind::CheckBox || kind == ControlKind::OptionButton) {
            SendMessageW(child, BM_SETCHECK, control.value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        break;
    case ControlProperty::ToolTip:
        SetToolTip(child, control.toolTip);
        break;
    case ControlProperty::Items:
        if (kind == ControlKind::ComboBox) {
            SendMessageW(child, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : control.items) {
                SendMessageW(child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
            }
            // The box shows its own text with no item chosen.
            SetWindowTextW(child, Wide(control.text).c_str());
        }
        break;
    }
    showing_ = false;
}

void Win32Window::ShowWindow() {
    // Shown once start-up has returned to the loop: the captions, key names and enabled states it sets are
    // drawn once, not each as it is set.
    Post([this] {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
        RECT placed{};
        GetWindowRect(window_, &placed);
        const RECT& work = monitor.rcWork;
        // Centred; on a screen smaller than the window, its title bar and left edge stay on it.
        const LONG left =
            std::max(work.left, work.left + (work.right - work.left - (placed.right - placed.left)) / 2);
        const LONG top =
            std::max(work.top, work.top + (work.bottom - work.top - (placed.bottom - placed.top)) / 2);
        SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ::ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
    });
}

void Win32Window::CloseWindow() {
    SendMessageW(window_, WM_CLOSE, 0, 0);
}

bool Win32Window::IsActive() const {
    const HWND foreground = GetForegroundWindow();
    // A message box the window raised is owned by it.
    return foreground != nullptr && window_ != nullptr && GetAncestor(foreground, GA_ROOTOWNER) == window_;
}

void Win32Window::AddResultLine(const std::string& line) {
    const HWND list = ControlHandle("lstResults");
    const std::wstring wide = Wide(line);
    const LRESULT added = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(added), 0);
    // Scrolled sideways as far as the longest line reaches.
    const LONG width = TextExtent(measuring_.get(), FontOf(list), wide).cx + PixelsAt(150, dpi_);
    if (width > SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0)) {
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width), 0);
    }
}

void Win32Window::ClearResultLines() {
    const HWND list = ControlHandle("lstResults");
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    SendMessageW(list, LB_SETHORIZONTALEXTENT, 0, 0);
}

std::string Win32Window::TimeStamp() {
    return LocalTimeStamp();
}

void Win32Window::StartTimer(int milliseconds) {
    SetTimer(window_, kTimer1, static_cast<UINT>(milliseconds), nullptr);
}

void Win32Window::StopTimer() {
    KillTimer(window_, kTimer1);
}

void Win32Window::ShowMessage(const std::string& text, const std::string& title) {
    const BoxKeystrokeFilter keystrokes([this] { return form_.PedalIsTyping(); });
    MessageBoxW(window_, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

bool Win32Window::AskOkCancel(const std::string& text, const std::string& title) {
    const BoxKeystrokeFilter keystrokes([this] { return form_.PedalIsTyping(); });
    return MessageBoxW(window_, Wide(text).c_str(), Wide(title).c_str(), MB_OKCANCEL | MB_ICONQUESTION) ==
           IDOK;
}

void Win32Window::Pause(int milliseconds) {
    Sleep(static_cast<DWORD>(milliseconds));
}

void Win32Window::Post(std::function<void()> work) {
    posted_.push_back(std::move(work));
    PostMessageW(window_, kRunPosted, 0, 0);
}

} // namespace treadkey
