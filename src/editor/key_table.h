#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace treadkey {

// A place on the window in twips (1/1440 inch, 15 to a logical pixel), counted from the container's corner.
struct TwipRect {
    int left;
    int top;
    int width;
    int height;
};

enum class KeyContainer { Frame1, Window };

// One button of the on-screen keyboard: its caption, its key code (USB HID usage of the keyboard page, as
// decimal text; empty for the one button without a code), the name the command line and profiles know it by
// and its place. One name for each distinct code: the codeless button has none, and of the two Num Lock
// buttons, which send the same code, only the shown one has it.
struct KeyEntry {
    int index;
    std::string_view caption;
    std::string_view code;
    std::string_view name;
    TwipRect place;
    KeyContainer container;
};

inline constexpr int kKeyButtonCount = 98;
inline constexpr std::size_t kNamedKeyCount = 96;
// The hidden button that keeps its design caption "enter" and carries no code.
inline constexpr int kCodelessKeyIndex = 79;

const std::array<KeyEntry, kKeyButtonCount>& KeyTable();

// The key codes by button index, bounds 0 to 100: three more slots than buttons, which stay empty like 79.
class KeyCodeTable {
public:
    static constexpr int kLowerBound = 0;
    static constexpr int kUpperBound = 100;

    // Stores every button's code; slot 79 and the slots past the last button stay empty.
    void Fill();
    // The code at an index, the empty text for an unfilled slot; nothing for an index outside the bounds.
    std::optional<std::string_view> At(int index) const;

private:
    std::array<std::string, kUpperBound + 1> codes_;
};

} // namespace treadkey
