#pragma once

#include <array>
#include <string_view>

namespace treadkey {

// The three mouse buttons a slot can click, with the name the command line knows each by. The codes are a
// USB mouse report's button bits, so the middle button is 4.
struct MouseButton {
    int code;
    std::string_view name;
};
inline constexpr std::array<MouseButton, 3> kMouseButtons = {{
    {1, "left"},
    {4, "middle"},
    {2, "right"},
}};

} // namespace treadkey
