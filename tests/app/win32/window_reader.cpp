// Reads what the running window shows, from a second process in the same Wine prefix, where the pedal's
// report log cannot tell: a control's caption or text, and the result list's lines. Prints UTF-8, a line
// each.
//   window_reader text CONTROL...   the text of each control, by its name in the control table
//   window_reader lines             the result list, a line each
//   window_reader client            the window's client area: width and height in pixels
//   window_reader place CONTROL...  where each control sits in the client area: left, top, right, bottom
//   window_reader click CONTROL     a click of a button, shown or not, as the button reports it
#include "app/form/control_table.h"
#include "app/win32/wide_text.h"
#include "app/win32/win32_window.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

HWND Child(HWND window, const char* name) {
    const treadkey::ControlSpec* spec = treadkey::FindControl(name);
    if (spec == nullptr) {
        return nullptr;
    }
    return GetDlgItem(window,
                      treadkey::kFirstControlId + static_cast<int>(spec - treadkey::ControlTable().data()));
}

std::wstring TextOf(HWND control) {
    // Another process's text comes through WM_GETTEXT, which Windows copies across.
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

} // namespace

int main(int argc, char** argv) {
    const HWND window = FindWindowW(treadkey::kWindowClass, nullptr);
    if (window == nullptr || argc < 2) {
        std::fputs(window == nullptr ? "window_reader: no window\n"
                                     : "window_reader: text|lines|client|place|click\n",
                   stderr);
        return 2;
    }
    const std::string what = argv[1];
    if (what == "text") {
        for (int i = 2; i < argc; ++i) {
            const HWND control = Child(window, argv[i]);
            if (control == nullptr) {
                std::fprintf(stderr, "window_reader: no control %s\n", argv[i]);
                return 2;
            }
            Print(treadkey::Utf8OfWide(TextOf(control)));
        }
    } else if (what == "lines") {
        const HWND list = Child(window, "lstResults");
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
            line.resize(static_cast<std::size_t>(
                SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()))));
            Print(treadkey::Utf8OfWide(line));
        }
    } else if (what == "client") {
        RECT client{};
        GetClientRect(window, &client);
        Print(std::to_string(client.right) + " " + std::to_string(client.bottom));
    } else if (what == "place") {
        for (int i = 2; i < argc; ++i) {
            const HWND control = Child(window, argv[i]);
            if (control == nullptr) {
                std::fprintf(stderr, "window_reader: no control %s\n", argv[i]);
                return 2;
            }
            RECT place{};
            GetWindowRect(control, &place);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            Print(std::to_string(place.left) + " " + std::to_string(place.top) + " " +
                  std::to_string(place.right) + " " + std::to_string(place.bottom));
        }
    } else if (what == "click" && argc == 3) {
        // As the button itself reports a click; posted, so that a message box it raises does not block here.
        const HWND button = Child(window, argv[2]);
        if (button == nullptr) {
            std::fprintf(stderr, "window_reader: no control %s\n", argv[2]);
            return 2;
        }
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    } else {
        std::fprintf(stderr, "window_reader: unknown request %s\n", what.c_str());
        return 2;
    }
    return 0;
}
