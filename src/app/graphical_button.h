#pragma once

#include "app/caption_button.h"

#include <cstdint>

namespace treadkey {

// A push button that draws a background colour value. Some state lives only in that value: a modifier toggle
// or the auto-run button is on exactly while it is green.
class GraphicalButton : public CaptionButton {
    Q_OBJECT
    Q_PROPERTY(std::uint32_t BackColor READ BackColor WRITE SetBackColor)

public:
    static constexpr std::uint32_t kGreen = 65280;           // 0x00FF00
    static constexpr std::uint32_t kButtonFace = 0x8000000F; // the system's button-face colour

    explicit GraphicalButton(const QString& caption, QWidget* parent);

    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t value);
    bool IsGreen() const { return backColor_ == kGreen; }
    // Flips between green and the button face; any colour other than the face counts as on.
    void Toggle() { SetBackColor(backColor_ == kButtonFace ? kGreen : kButtonFace); }

private:
    std::uint32_t backColor_ = kButtonFace;
};

} // namespace treadkey
