#pragma once

#include "app/caption_button.h"

#include <cstdint>

namespace treadkey {

// A push button that draws a background colour value: green, or the system's button face.
class GraphicalButton : public CaptionButton {
    Q_OBJECT

public:
    explicit GraphicalButton(const QString& caption, QWidget* parent);

    std::uint32_t BackColor() const { return backColor_; }
    void SetBackColor(std::uint32_t value);

private:
    std::uint32_t backColor_;
};

} // namespace treadkey
