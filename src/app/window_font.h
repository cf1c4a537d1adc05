#pragma once

#include <QFont>
#include <QStringList>
#include <array>
#include <string_view>

namespace treadkey {

// The families the window asks for, in the order it tries them: the classic window's own, then the Chinese
// fonts a Debian desktop may have (the package depends on one of them). The first that draws every Chinese
// caption by itself is the window's one family, for its Latin and Chinese captions alike.
inline constexpr std::array<std::string_view, 5> kWindowFontFamilies = {
    "SimSun", "WenQuanYi Micro Hei", "Noto Sans CJK SC", "WenQuanYi Zen Hei", "AR PL UMing CN"};

QStringList WindowFontFamilies();

// The first of families that is installed and draws every character of texts with its own glyphs, none
// borrowed from another font; empty when none does.
QString FirstFamilyDrawing(const QStringList& families, const QStringList& texts);

// A font of the window at points and weight, from the first of families that is installed; glyphs any of them
// lacks come from the desktop's other fonts.
QFont WindowFont(const QStringList& families, double points, QFont::Weight weight);

} // namespace treadkey
