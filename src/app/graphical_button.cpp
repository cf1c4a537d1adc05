#include "app/graphical_button.h"

#include "app/form/control_table.h"

#include <QColor>
#include <QFont>

namespace treadkey {

GraphicalButton::GraphicalButton(const QString& caption, QWidget* parent)
    : CaptionButton(caption, parent), backColor_(kButtonFace) {}

void GraphicalButton::SetBackColor(std::uint32_t value) {
    backColor_ = value;
    if (value == kButtonFace) {
        setStyleSheet(QString());
        // Dropping the style sheet leaves the application's font set on the button; a font that sets nothing
        // takes the window's again.
        setFont(QFont());
        return;
    }
    // Values below the system-colour range are 0x00BBGGRR; the same rule paints a disabled button, so its
    // colour keeps telling the truth while the pedal is away.
    const QColor colour(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                        static_cast<int>((value >> 16) & 0xFF));
    setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #707070; }")
                      .arg(colour.name()));
}

} // namespace treadkey
