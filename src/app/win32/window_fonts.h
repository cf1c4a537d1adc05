#pragma once

#include "app/form/control_table.h"

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// The window's fonts at its DPI, each made once and kept until the DPI changes or the window goes. The
// window's own family is asked for in its Chinese character set, so that GDI picks a font with the Chinese
// glyphs even where the family itself is missing.
class WindowFonts {
public:
    explicit WindowFonts(int dpi) : dpi_(dpi) {}
    WindowFonts(const WindowFonts&) = delete;
    WindowFonts& operator=(const WindowFonts&) = delete;
    ~WindowFonts() { Drop(); }

    // A control's own font, or the window's for nothing.
    HFONT For(const std::optional<ControlFont>& font);
    // Every font is asked for in family instead, in whatever character set has it: where no font draws
    // Chinese, the Chinese families are missing and GDI would stand in for them with a font of its choosing.
    void DrawIn(std::wstring family);
    // The fonts made so far are dropped; their handles must no longer be in use.
    void ScaleTo(int dpi);

private:
    struct Made {
        ControlFont font;
        HFONT handle;
    };
    void Drop();

    int dpi_;
    std::wstring family_; // empty: each font's own family
    std::vector<Made> made_;
};

// Whether font draws every character of texts with glyphs of its own.
bool DrawsEveryCharacter(HFONT font, const std::vector<std::string_view>& texts);

// Whether a font's line, leading and all, is short enough for the window's rows, which are laid out for
// about one character height a line: a font whose line is much taller pushes its text below the rows.
bool LineFitsTheRows(const TEXTMETRICW& metrics);

// Whether family is installed under that name (not stood in for), draws every character of texts and has a
// line that fits the rows.
bool SuitsTheWindow(const std::wstring& family, const std::vector<std::string_view>& texts);

// The family the window is drawn in where no font draws Chinese: the system's message font where it suits
// the window, else the first installed family that does; empty where none does.
std::wstring LatinFamily(const std::vector<std::string_view>& texts);

} // namespace treadkey
