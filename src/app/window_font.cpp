#include "app/window_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <algorithm>

namespace treadkey {

QStringList WindowFontFamilies() {
    QStringList families;
    for (std::string_view family : kWindowFontFamilies) {
        families << QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size()));
    }
    return families;
}

QString FirstFamilyDrawing(const QStringList& families, const QStringList& texts) {
    for (const QString& family : families) {
        // Asking for a family that is not installed loads whatever stands in for it.
        if (!QFontDatabase::hasFamily(family)) {
            continue;
        }
        QFont alone(family);
        // Without merging, the glyphs are the family's own; a family that is not installed resolves to some
        // other font and does not count.
        alone.setStyleStrategy(QFont::NoFontMerging);
        if (QFontInfo(alone).family().compare(family, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const QRawFont raw = QRawFont::fromFont(alone);
        const auto drawn = [&raw](const QString& text) {
            const QList<uint> characters = text.toUcs4();
            return std::all_of(characters.begin(), characters.end(),
                               [&raw](uint character) { return raw.supportsCharacter(character); });
        };
        if (raw.isValid() && std::all_of(texts.begin(), texts.end(), drawn)) {
            return family;
        }
    }
    return {};
}

QFont WindowFont(const QStringList& families, double points, QFont::Weight weight) {
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

} // namespace treadkey
