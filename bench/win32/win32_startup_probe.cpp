// Start-up to the first paint of the window on Windows, against a bare Win32 window with the same controls
// made from the same table, in the same font, with no behaviour behind them. Prints the milliseconds from the
// process's creation until every control has painted once, and the peak working set.
//   win32_startup_probe window|bare
#include "app/form/control_table.h"
#include "app/form/window_wording.h"
#include "app/win32/dpi_scale.h"
#include "app/win32/wide_text.h"
#include "app/win32/win32_window.h"
#include "stack_choice/backend_options.h"

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const wchar_t* ClassOf(treadkey::ControlKind kind) {
    switch (kind) {
    case treadkey::ControlKind::Label:
        return WC_STATICW;
    case treadkey::ControlKind::ComboBox:
        return WC_COMBOBOXW;
    case treadkey::ControlKind::TextBox:
        return WC_EDITW;
    case treadkey::ControlKind::ListBox:
        return WC_LISTBOXW;
    default:
        return WC_BUTTONW;
    }
}

DWORD StyleOf(treadkey::ControlKind kind) {
    switch (kind) {
    case treadkey::ControlKind::ComboBox:
        return CBS_DROPDOWN;
    case treadkey::ControlKind::CheckBox:
        return BS_CHECKBOX;
    case treadkey::ControlKind::OptionButton:
        return BS_RADIOBUTTON;
    case treadkey::ControlKind::Frame:
        return BS_GROUPBOX;
    default:
        return 0;
    }
}

// The controls of the table, each a plain control of its class at its place, on a plain window.
HWND MakeBareWindow(HINSTANCE instance) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassExW(&windowClass);
    const HWND window = CreateWindowExW(0, L"BareWindow", L"bare", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0,
                                        0, 1072, 702, nullptr, nullptr, instance, nullptr);
    const HFONT font =
        CreateFontW(treadkey::FontHeightAt(treadkey::kWindowFont.points, 96), 0, 0, 0, FW_NORMAL, FALSE,
                    FALSE, FALSE, treadkey::kWindowCharset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                    DEFAULT_QUALITY, DEFAULT_PITCH, L"SimSun");
    for (const treadkey::ControlSpec& spec : treadkey::ControlTable()) {
        const HWND child =
            CreateWindowExW(0, ClassOf(spec.kind), treadkey::Wide(spec.caption).c_str(),
                            WS_CHILD | (spec.visible ? WS_VISIBLE : 0) | StyleOf(spec.kind),
                            treadkey::PixelsAt(spec.place.left, 96), treadkey::PixelsAt(spec.place.top, 96),
                            treadkey::PixelsAt(spec.place.width, 96),
                            treadkey::PixelsAt(spec.place.height, 96), window, nullptr, instance, nullptr);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

// Runs the messages waiting, the children's first paints among them.
void PumpUntilIdle() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double MillisecondsSinceCreation() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimePreciseAsFileTime(&now);
    const auto ticks = [](FILETIME t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(ticks(now) - ticks(created)) / 10000.0;
}

} // namespace

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    std::unique_ptr<treadkey::HidBackend> backend;
    std::unique_ptr<treadkey::Win32Window> window;
    if (bare) {
        MakeBareWindow(instance);
    } else {
        treadkey::BackendOptions options;
        options.useVirtualPedal = true;
        backend = treadkey::MakeBackend(options);
        window = std::make_unique<treadkey::Win32Window>(*backend, treadkey::WindowServices{}, instance);
        window->Form().Form_Load();
    }
    PumpUntilIdle();
    const double shown = MillisecondsSinceCreation();
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("first_paint_ms=%.1f peak_working_set_kb=%zu\n", shown, memory.PeakWorkingSetSize / 1024);
    return 0;
}
