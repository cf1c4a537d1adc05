#include "app/fake_pedal_stack.h"
#include "app/form/window_wording.h"
#include "app/win32/dpi_scale.h"
#include "app/win32/wide_text.h"
#include "app/win32/win32_window.h"
#include "app/win32/window_fonts.h"
#include "fixtures/scratch_directory.h"
#include "stacks/virtual/virtual_pedal.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace treadkey::testing {
namespace {

// The Win32 view in this process, over the in-process HID stack, on the prefix's display at 96 dpi.
class Win32View : public ::testing::Test, protected FakePedalStack {
protected:
    void Start() {
        window.Form().Form_Load();
        PumpMessages();
    }
    void Connect() {
        PlugPedal();
        window.Form().Timer1_Timer();
    }
    static void PumpMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    HWND Child(std::string_view name) const { return window.ControlHandle(name); }
    Control& Named(std::string_view name) { return *window.Form().FindControl(name); }
    // A child's place in the window's client area, in pixels.
    RECT PlaceOf(std::string_view name) const {
        RECT place{};
        GetWindowRect(Child(name), &place);
        MapWindowPoints(nullptr, window.Handle(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }
    // What the window's behaviour was handed: the delay box's text, the reports written, whether it closed.
    std::string Received() {
        return IsWindow(window.Handle())
                   ? Named("Text_delay").text + ", " + std::to_string(backend.Writes().size()) + " written"
                   : "closed";
    }
    // As the button itself reports a click.
    void Notify(std::string_view name, WORD notification) {
        SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(Child(name)), notification),
                     reinterpret_cast<LPARAM>(Child(name)));
    }

    Win32Window window{backend, WindowServices{}, GetModuleHandleW(nullptr)};
};

// Fifteen twips to a pixel at 96 dpi, at start and again after the window was laid at other scales.
TEST_F(Win32View, ControlsSitAtTheirTwipsAtEachScale) {
    RECT client{};
    GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 1066);
    EXPECT_EQ(client.bottom, 673);
    const struct {
        const char* name;
        RECT place; // left, top, right, bottom in pixels at 96 dpi
    } cases[] = {
        {"Text_delay", {304, 64, 361, 89}},
        // Inside a frame: from the frame's corner.
        {"Command_L_btn", {584, 72, 641, 113}},
        {"lstResults", {144, 408, 1057, 664}},
    };
    for (const int dpi : {96, 144, 120, 96}) {
        RECT suggested{0, 0, 1600, 1010};
        SendMessageW(window.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        const auto at = [dpi](LONG pixels) { return dpi == 96 ? pixels : PixelsAt(pixels * 15, dpi); };
        for (const auto& c : cases) {
            const RECT place = PlaceOf(c.name);
            const LONG left = at(c.place.left);
            const LONG top = at(c.place.top);
            EXPECT_EQ((std::vector<LONG>{place.left, place.top, place.right, place.bottom}),
                      (std::vector<LONG>{left, top, left + at(c.place.right - c.place.left),
                                         top + at(c.place.bottom - c.place.top)}))
                << c.name << " at " << dpi << " dpi";
        }
    }
}

TEST_F(Win32View, TabWalksTheControlsInTheTablesOrder) {
    Start();
    Connect();
    std::vector<const ControlSpec*> chain;
    for (const Control& control : window.Form().Controls()) {
        if (control.spec.tabIndex >= 0 && control.visible && control.enabled) {
            chain.push_back(&control.spec);
        }
    }
    std::sort(chain.begin(), chain.end(), [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    ASSERT_GT(chain.size(), 100u);
    std::vector<std::string> expected;
    std::vector<std::string> walked;
    HWND at = Child(chain.front()->name);
    for (const ControlSpec* spec : chain) {
        expected.push_back(spec->name);
        const auto found =
            std::find_if(ControlTable().begin(), ControlTable().end(), [&](const ControlSpec& s) {
                return Child(s.name) == at || GetParent(at) == Child(s.name);
            });
        walked.push_back(found == ControlTable().end() ? "?" : found->name);
        at = GetNextDlgTabItem(window.Handle(), at, FALSE);
    }
    EXPECT_EQ(walked, expected);
}

TEST_F(Win32View, WhatFramesHoldIsShownOnlyWithTheFrame) {
    Start();
    const struct {
        const char* name;
        bool shown;
    } cases[] = {
        {"Command_L_btn", true}, // in Frame_mouse_btn, shown
        {"Option2", false},      // made visible, in Frame4, which is hidden
        {"Command1", false},     // hidden itself
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWindowVisible(Child(c.name)) != FALSE, c.shown) << c.name;
    }
    // The key buttons outside the keyboard frame exist for their codes alone.
    for (const ControlSpec& spec : ControlTable()) {
        if (spec.keyIndex >= 0) {
            EXPECT_EQ(IsWindowVisible(Child(spec.name)) != FALSE, spec.container == "Frame1") << spec.name;
        }
    }
}

TEST_F(Win32View, TextTypedInBoxesReachesTheWindowAsUtf8) {
    Start();
    // A lone surrogate, as a paste may bring one, is read as U+FFFD.
    SetWindowTextW(Child("Text_delay"), L"12\xD800");
    EXPECT_EQ(Named("Text_delay").text, "12\xEF\xBF\xBD");
    // The slot box's own edit box, typed at.
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    ASSERT_TRUE(GetComboBoxInfo(Child("Combo1"), &combo));
    SendMessageW(combo.hwndItem, EM_SETSEL, 0, -1);
    SendMessageW(combo.hwndItem, WM_CHAR, L'键', 1);
    EXPECT_EQ(Named("Combo1").text, "键");
}

TEST_F(Win32View, WhatTheWindowSetsIsShownAndNotTakenForAnEdit) {
    Start();
    Connect();
    // The delay box clamps what is typed: the clamped text is the window's own, shown in the box.
    SetWindowTextW(Child("Text_delay"), L"70000");
    wchar_t shown[16]{};
    GetWindowTextW(Child("Text_delay"), shown, 16);
    EXPECT_EQ(std::wstring(shown), L"65535");
    EXPECT_EQ(Named("Text_delay").text, "65535");
}

TEST_F(Win32View, AToggleTakesAQuickSecondClickAsAClick) {
    Start();
    Connect();
    Notify("Command_ctrl", BN_CLICKED);
    EXPECT_TRUE(Named("Command_ctrl").IsGreen());
    Notify("Command_ctrl", BN_DOUBLECLICKED);
    EXPECT_FALSE(Named("Command_ctrl").IsGreen());
}

TEST_F(Win32View, TheResultListSelectsItsLastLine) {
    Start();
    const HWND list = Child("lstResults");
    window.ClearResultLines();
    for (const char* line : {"one", "two", "三"}) {
        window.AddResultLine(line);
    }
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    wchar_t last[8]{};
    SendMessageW(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(last));
    EXPECT_EQ(std::wstring(last), L"三");
    window.ClearResultLines();
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
}

// A caption's character height and the size it takes in font, broken at spaces within width.
struct Drawn {
    LONG characterHeight;
    SIZE size;
};
Drawn DrawnIn(HWND control, HFONT font, const std::wstring& caption, int width) {
    const HDC dc = GetDC(control);
    const HGDIOBJ before = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT bounds{0, 0, width, 0};
    DrawTextW(dc, caption.c_str(), -1, &bounds, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    SelectObject(dc, before);
    ReleaseDC(control, dc);
    return {metrics.tmHeight - metrics.tmInternalLeading, {bounds.right, bounds.bottom}};
}

TEST_F(Win32View, ACaptionTooBigForItsButtonOrFrameIsDrawnSmallerUntilItFits) {
    Start();
    const LONG windowHeight =
        DrawnIn(window.Handle(), WindowFonts(96).For(std::nullopt), L"", 0).characterHeight;
    const struct {
        const char* name;
        const char* caption;
        bool smaller;
    } cases[] = {
        {"Command_key_81", "Num  Lock", false}, // two lines that fit
        {"Command_key_81", "Num  Lock  Lock  Lock", true},
        {"Command_key_18", "backspace", false},
        {"Command_key_18", "backspacebackspace", true}, // one word, wider than the button
        {"Frame_mouse_btn", "Write Mouse Button", false},
        {"Frame_mouse_btn", "Write Mouse Button Write Mouse Button Write Mouse", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + c.caption);
        Control& control = Named(c.name);
        control.text = c.caption;
        window.Show(control, ControlProperty::Text);
        RECT client{};
        GetClientRect(Child(c.name), &client);
        const HFONT font = reinterpret_cast<HFONT>(SendMessageW(Child(c.name), WM_GETFONT, 0, 0));
        const bool frame = control.spec.kind == ControlKind::Frame;
        const Drawn drawn = DrawnIn(Child(c.name), font, Wide(c.caption), frame ? 1 << 20 : client.right);
        EXPECT_EQ(drawn.characterHeight < windowHeight, c.smaller);
        EXPECT_LE(drawn.size.cx, client.right);
        EXPECT_LE(drawn.size.cy, frame ? 16 : client.bottom); // a frame's: above the controls it holds
    }
}

// What the tooltip shows for a control: the tooltip window's own text, read back.
std::wstring ToolTipText(HWND window, HWND control) {
    HWND tips = nullptr;
    while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) != nullptr &&
           GetWindow(tips, GW_OWNER) != window) {
    }
    std::wstring text(4096, L'\0');
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    if (tips == nullptr || !SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
        return L"(no tool)";
    }
    tool.lpszText = text.data();
    SendMessageW(tips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
    text.resize(wcslen(text.c_str()));
    return text;
}

TEST_F(Win32View, TooltipsShowTheControlsTextAndFollowIt) {
    Start();
    const HWND status = Child("Label3");
    Control& label = Named("Label3");
    EXPECT_EQ(ToolTipText(window.Handle(), status), L"(no tool)");
    // Given, changed (a key name that looks like markup stays as it is), then taken away.
    for (const auto& [text, shown] : {std::pair{"设备已连接", L"设备已连接"},
                                      std::pair{"Key < A >", L"Key < A >"}, std::pair{"", L"(no tool)"}}) {
        label.toolTip = text;
        window.Show(label, ControlProperty::ToolTip);
        EXPECT_EQ(ToolTipText(window.Handle(), status), shown) << text;
    }
}

// The lines the result list is given, kept past the list's end: the last ones come as the window goes.
std::vector<std::wstring> addedLines;
WNDPROC listProcedure = nullptr;
LRESULT CALLBACK KeepingLines(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_ADDSTRING) {
        // Without the time stamp before it.
        const std::wstring line = reinterpret_cast<const wchar_t*>(lParam);
        addedLines.push_back(line.substr(line.find(L"]: ") + 3));
    }
    return CallWindowProcW(listProcedure, list, message, wParam, lParam);
}

TEST_F(Win32View, AltF4AsksTheWindowWhichLogsTheCloseLinesAndGoes) {
    Start();
    Connect();
    addedLines.clear();
    listProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(Child("lstResults"), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KeepingLines)));
    const HWND handle = window.Handle();
    SendMessageW(handle, WM_SYSCOMMAND, SC_CLOSE, 0); // what Alt+F4 and the close box send
    EXPECT_FALSE(IsWindow(handle));
    ASSERT_GE(addedLines.size(), 2u);
    EXPECT_EQ(std::vector<std::wstring>(addedLines.end() - 2, addedLines.end()),
              (std::vector<std::wstring>{Wide(kCloseHidHandleLine), Wide(kCloseReadHandleLine)}));
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)); // the message loop ends
}

TEST_F(Win32View, ActiveWhileItOrAWindowItOwnsIsInFront) {
    Start();
    const auto popup = [this](HWND owner) {
        return CreateWindowExW(0, WC_STATICW, L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    };
    const struct {
        const char* what;
        HWND front;
        bool active;
    } cases[] = {
        {"the window", window.Handle(), true},
        {"a box it owns", popup(window.Handle()), true},
        {"another program's window", popup(nullptr), false},
    };
    for (const auto& c : cases) {
        SetForegroundWindow(c.front);
        PumpMessages();
        EXPECT_EQ(window.IsActive(), c.active) << c.what;
        if (c.front != window.Handle()) {
            DestroyWindow(c.front);
        }
    }
}

TEST_F(Win32View, PostedWorkRunsInOrderOnceTheLoopRunsAgain) {
    std::vector<int> ran;
    window.Post([&] { ran.push_back(1); });
    window.Post([&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty());
    PumpMessages();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
}

constexpr int kPastAPedalKeystrokeMs = 600;

// The window active over the composite pedal, whose keys would be held then and cannot be here.
class Win32Unheld : public Win32View {
protected:
    void SetUp() override {
        Start();
        PlugComposite();
        SetForegroundWindow(window.Handle());
        PumpMessages();
        window.Form().Timer1_Timer();
        ASSERT_FALSE(window.Form().Hold().Unheld().empty());
    }
    // The pedal's keyboard holding a key down, or let go of it long enough ago that nothing it typed may
    // still come.
    void SetPedalTyping(bool typing) {
        if (typing) {
            backend.Send(kKeyboard, {0, 0, 0x2C, 0, 0, 0, 0, 0});
        } else {
            backend.Send(kKeyboard, std::vector<std::uint8_t>(8, 0));
            window.Form().Timer1_Timer();
            Sleep(kPastAPedalKeystrokeMs);
        }
    }
};

// In the window's loop and in a message box's own, where an Enter the pedal types must not answer the box.
TEST_F(Win32Unheld, KeystrokesThatComeWhileThePedalTypesAreDroppedBeforeTheyAct) {
    const HWND key = Child("Command_key_50"); // A
    const HWND delay = Child("Text_delay");
    const LPARAM alt = LPARAM{KF_ALTDOWN} << 16;
    const struct {
        const char* what;
        HWND target;                                            // in a box: its focused control
        std::vector<std::tuple<UINT, WPARAM, LPARAM>> messages; // posted to the target
        bool keystroke;
        bool inABox = false;
    } cases[] = {
        {"Space on a key button", key, {{WM_KEYDOWN, VK_SPACE, 0}, {WM_KEYUP, VK_SPACE, 0}}, true},
        // Dropped before it is translated into a character.
        {"a digit key in the delay box", delay, {{WM_KEYDOWN, '5', 0x00060001}}, true},
        {"a character in the delay box", delay, {{WM_CHAR, '7', 1}}, true},
        {"an input method's character in the delay box", delay, {{WM_IME_CHAR, '8', 1}}, true},
        {"a click on a key button",
         key,
         {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4)}, {WM_LBUTTONUP, 0, MAKELPARAM(4, 4)}},
         false},
        {"Enter in a message box",
         nullptr,
         {{WM_KEYDOWN, VK_RETURN, 1}, {WM_KEYUP, VK_RETURN, 1}},
         true,
         true},
        // Last: delivered, it closes the window.
        {"Alt+F4", key, {{WM_SYSKEYDOWN, VK_F4, alt | 1}, {WM_SYSKEYUP, VK_F4, alt | 1}}, true},
    };
    for (const bool typing : {true, false}) {
        SetPedalTyping(typing);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (typing ? ", the pedal typing" : ""));
            const auto post = [&c](HWND target) {
                for (const auto& [message, wParam, lParam] : c.messages) {
                    PostMessageW(target, message, wParam, lParam);
                }
            };
            if (c.inABox) {
                // Run by the box's loop: then a Cancel, which finds the box still up unless the keys answered
                // it.
                window.Post([this, &post] {
                    const HWND box = FindWindowW(L"#32770", L"Box");
                    ASSERT_NE(box, nullptr);
                    post(GetFocus());
                    window.Post([box] { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
                });
                EXPECT_EQ(window.AskOkCancel("Sure?", "Box"), !typing || !c.keystroke);
                continue;
            }
            SetWindowTextW(delay, L"0");
            SetFocus(c.target);
            SendMessageW(delay, EM_SETSEL, 0, -1);
            backend.ClearWrites();
            const std::string before = Received();
            post(c.target);
            PostQuitMessage(0); // the loop ends once the queue is empty
            window.RunMessageLoop();
            EXPECT_EQ(Received() != before, !typing || !c.keystroke);
        }
    }
}

// The window's own ticks log what the virtual pedal sends when a slot is pressed, as on Linux.
TEST(Win32PressLines, EachPressOfTheVirtualPedalIsLoggedAtTheNextTick) {
    ScratchDirectory scratch;
    const auto presses = scratch / "presses";
    VirtualPedalOptions options;
    options.composite = true;
    options.pressFile = presses;
    VirtualPedal pedal(options);
    Win32Window window(pedal, WindowServices{}, GetModuleHandleW(nullptr));
    window.Form().Form_Load();
    const auto tick = [&] { SendMessageW(window.Handle(), WM_TIMER, 1, 0); };
    tick();
    window.Form().Click(*window.Form().FindControl("Command_key_50")); // A into slot 1
    std::ofstream(presses, std::ios::app) << "1\n";
    tick();
    const HWND list = window.ControlHandle("lstResults");
    const LRESULT last = SendMessageW(list, LB_GETCOUNT, 0, 0) - 1;
    ASSERT_GE(last, 0);
    std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, last, 0)) + 1, L'\0');
    line.resize(static_cast<std::size_t>(
        SendMessageW(list, LB_GETTEXT, last, reinterpret_cast<LPARAM>(line.data()))));
    EXPECT_TRUE(line.ends_with(L"]: 踏板输出:  < A >")) << Utf8OfWide(line);
}

// Wine's own Tahoma has Latin glyphs and no Chinese ones; the window's SimSun in its Chinese character set is
// whatever font of the system draws Chinese.
TEST(WindowFontCheck, ChineseCaptionsNeedAFontWithChineseGlyphs) {
    WindowFonts fonts(96);
    const HFONT latin =
        CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    const std::vector<std::string_view> chinese = CaptionTexts(true);
    EXPECT_FALSE(DrawsEveryCharacter(latin, chinese));
    EXPECT_TRUE(DrawsEveryCharacter(latin, {"Key No.: ", "Status"}));
    EXPECT_TRUE(DrawsEveryCharacter(fonts.For(std::nullopt), chinese));
    DeleteObject(latin);
}

// A font stood in for a missing family may have a line several times its characters' height (a math face
// under Wine with DejaVu alone had 60 pixels a line for 14-pixel characters), which no row of the window
// holds.
TEST(WindowFontCheck, ALineUpToOneAndAHalfCharacterHeightsFitsTheRows) {
    const struct {
        LONG height;
        LONG internalLeading;
        bool fits;
    } cases[] = {
        {14, 0, true},   // SimSun
        {19, 5, true},   // a sans-serif message font
        {21, 7, true},   // one and a half times 14
        {22, 8, false},  // just over
        {60, 46, false}, // the math face
    };
    for (const auto& c : cases) {
        TEXTMETRICW metrics{};
        metrics.tmHeight = c.height;
        metrics.tmInternalLeading = c.internalLeading;
        EXPECT_EQ(LineFitsTheRows(metrics), c.fits) << c.height << " with leading " << c.internalLeading;
    }
}

TEST(WindowFontCheck, TheLatinFamilyIsAnInstalledOneThatDrawsTheCaptions) {
    const std::vector<std::string_view> english = {"Key No.: ", "Write Mouse Button", "Num  Lock"};
    const std::wstring family = LatinFamily(english);
    ASSERT_FALSE(family.empty());
    EXPECT_TRUE(SuitsTheWindow(family, english));
    // GDI stands in for a family it does not have: the stand-in is not the family asked for.
    EXPECT_FALSE(SuitsTheWindow(L"No Such Family Installed", english));
}

} // namespace
} // namespace treadkey::testing
