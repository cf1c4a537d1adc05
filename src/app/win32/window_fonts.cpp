#include "app/win32/window_fonts.h"

#include "app/win32/dpi_scale.h"
#include "app/win32/wide_text.h"

#include <algorithm>

namespace treadkey {

HFONT WindowFonts::For(const std::optional<ControlFont>& asked) {
    ControlFont font = asked.value_or(kWindowFont);
    if (font.family.empty()) {
        font.family = kWindowFont.family;
    }
    const auto same = [&font](const Made& made) {
        return made.font.family == font.family && made.font.points == font.points &&
               made.font.bold == font.bold;
    };
    if (const auto found = std::find_if(made_.begin(), made_.end(), same); found != made_.end()) {
        return found->handle;
    }
    const HFONT handle =
        CreateFontW(FontHeightAt(font.points, dpi_), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                    FALSE, kWindowCharset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, Wide(font.family).c_str());
    made_.push_back({font, handle});
    return handle;
}

void WindowFonts::ScaleTo(int dpi) {
    Drop();
    dpi_ = dpi;
}

void WindowFonts::Drop() {
    for (const Made& made : made_) {
        DeleteObject(made.handle);
    }
    made_.clear();
}

bool DrawsEveryCharacter(HFONT font, const std::vector<std::string_view>& texts) {
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(screen, font);
    bool drawn = true;
    for (std::string_view text : texts) {
        const std::wstring wide = Wide(text);
        std::vector<WORD> glyphs(wide.size());
        // Glyph indices come from the selected font alone: no other font lends it a missing character.
        if (GetGlyphIndicesW(screen, wide.c_str(), static_cast<int>(wide.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR ||
            std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) != glyphs.end()) {
            drawn = false;
            break;
        }
    }
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    return drawn;
}

} // namespace treadkey
