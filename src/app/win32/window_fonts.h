#pragma once

#include "app/form/control_table.h"

#include <windows.h>

#include <optional>
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
    // The fonts made so far are dropped; their handles must no longer be in use.
    void ScaleTo(int dpi);

private:
    struct Made {
        ControlFont font;
        HFONT handle;
    };
    void Drop();

    int dpi_;
    std::vector<Made> made_;
};

// Whether font draws every character of texts with glyphs of its own.
bool DrawsEveryCharacter(HFONT font, const std::vector<std::string_view>& texts);

} // namespace treadkey
