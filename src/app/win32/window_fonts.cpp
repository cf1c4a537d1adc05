#include "app/win32/window_fonts.h"

#include "app/win32/dpi_scale.h"
#include "app/win32/wide_text.h"

#include <algorithm>

namespace treadkey {
namespace {

// The installed proportional families in the order GDI lists them, the sans-serif ones first: the window's
// design font is replaced by a plain face, as the system's own message fonts are.
std::vector<std::wstring> ProportionalFamilies() {
    struct Listed {
        std::wstring family;
        bool sansSerif;
    };
    std::vector<Listed> listed;
    const FONTENUMPROCW add = [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM list) -> int {
        // A vertical face's name starts with '@'; a bitmap face is drawn well at its own sizes alone.
        if ((type & TRUETYPE_FONTTYPE) != 0 && font->lfFaceName[0] != L'@' &&
            (font->lfPitchAndFamily & 0x03) != FIXED_PITCH) {
            reinterpret_cast<std::vector<Listed>*>(list)->push_back(
                {font->lfFaceName, (font->lfPitchAndFamily & 0xF0) == FF_SWISS});
        }
        return 1;
    };
    LOGFONTW every{};
    every.lfCharSet = DEFAULT_CHARSET;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &every, add, reinterpret_cast<LPARAM>(&listed), 0);
    ReleaseDC(nullptr, screen);
    std::stable_partition(listed.begin(), listed.end(), [](const Listed& each) { return each.sansSerif; });
    std::vector<std::wstring> families;
    for (Listed& each : listed) {
        families.push_back(std::move(each.family));
    }
    return families;
}

} // namespace

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
    const bool ownFamily = family_.empty();
    const HFONT handle =
        CreateFontW(FontHeightAt(font.points, dpi_), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                    FALSE, ownFamily ? kWindowCharset : DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                    ownFamily ? Wide(font.family).c_str() : family_.c_str());
    made_.push_back({font, handle});
    return handle;
}

void WindowFonts::DrawIn(std::wstring family) {
    Drop();
    family_ = std::move(family);
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

bool LineFitsTheRows(const TEXTMETRICW& metrics) {
    const LONG characterHeight = metrics.tmHeight - metrics.tmInternalLeading;
    return 2 * metrics.tmHeight <= 3 * characterHeight;
}

bool SuitsTheWindow(const std::wstring& family, const std::vector<std::string_view>& texts) {
    const HFONT font = CreateFontW(FontHeightAt(kWindowFont.points, kDesignDpi), 0, 0, 0, FW_NORMAL, FALSE,
                                   FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, family.c_str());
    const HDC screen = GetDC(nullptr);
    const HGDIOBJ before = SelectObject(screen, font);
    std::wstring given(LF_FACESIZE, L'\0');
    GetTextFaceW(screen, LF_FACESIZE, given.data());
    given.resize(wcslen(given.c_str()));
    TEXTMETRICW metrics{};
    const bool fits = GetTextMetricsW(screen, &metrics) && LineFitsTheRows(metrics);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    const bool suits =
        lstrcmpiW(given.c_str(), family.c_str()) == 0 && fits && DrawsEveryCharacter(font, texts);
    DeleteObject(font);
    return suits;
}

std::wstring LatinFamily(const std::vector<std::string_view>& texts) {
    NONCLIENTMETRICSW system{};
    system.cbSize = sizeof(system);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, system.cbSize, &system, 0) &&
        SuitsTheWindow(system.lfMessageFont.lfFaceName, texts)) {
        return system.lfMessageFont.lfFaceName;
    }
    for (const std::wstring& family : ProportionalFamilies()) {
        if (SuitsTheWindow(family, texts)) {
            return family;
        }
    }
    return {};
}

} // namespace treadkey
