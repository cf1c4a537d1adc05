#include "stacks/windows/scan_code_usages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace treadkey::windows_hid {
namespace {

// Scan codes without a prefix, by make code.
constexpr std::array<std::uint8_t, 0x80> kPlainUsages = [] {
    std::array<std::uint8_t, 0x80> usages{};
    // Escape, the digit row, backspace and tab.
    usages[0x01] = 0x29;
    for (std::uint8_t code = 0x02; code <= 0x0B; ++code) {
        usages[code] = static_cast<std::uint8_t>(0x1E + code - 0x02); // 1..9, 0
    }
    usages[0x0C] = 0x2D; // -
    usages[0x0D] = 0x2E; // =
    usages[0x0E] = 0x2A; // backspace
    usages[0x0F] = 0x2B; // tab
    constexpr std::pair<std::uint8_t, std::uint8_t> letterRows[] = {
        {0x10, 0x14}, {0x11, 0x1A}, {0x12, 0x08}, {0x13, 0x15}, {0x14, 0x17}, // Q W E R T
        {0x15, 0x1C}, {0x16, 0x18}, {0x17, 0x0C}, {0x18, 0x12}, {0x19, 0x13}, // Y U I O P
        {0x1E, 0x04}, {0x1F, 0x16}, {0x20, 0x07}, {0x21, 0x09}, {0x22, 0x0A}, // A S D F G
        {0x23, 0x0B}, {0x24, 0x0D}, {0x25, 0x0E}, {0x26, 0x0F},               // H J K L
        {0x2C, 0x1D}, {0x2D, 0x1B}, {0x2E, 0x06}, {0x2F, 0x19}, {0x30, 0x05}, // Z X C V B
        {0x31, 0x11}, {0x32, 0x10},                                           // N M
    };
    for (const auto& [code, usage] : letterRows) {
        usages[code] = usage;
    }
    usages[0x1A] = 0x2F; // [
    usages[0x1B] = 0x30; // ]
    usages[0x1C] = 0x28; // enter
    usages[0x1D] = 0xE0; // left control
    usages[0x27] = 0x33; // ;
    usages[0x28] = 0x34; // '
    usages[0x29] = 0x35; // `
    usages[0x2A] = 0xE1; // left shift
    usages[0x2B] = 0x31; // backslash
    usages[0x33] = 0x36; // ,
    usages[0x34] = 0x37; // .
    usages[0x35] = 0x38; // /
    usages[0x36] = 0xE5; // right shift
    usages[0x37] = 0x55; // keypad *
    usages[0x38] = 0xE2; // left alt
    usages[0x39] = 0x2C; // space
    usages[0x3A] = 0x39; // caps lock
    for (std::uint8_t code = 0x3B; code <= 0x44; ++code) {
        usages[code] = static_cast<std::uint8_t>(0x3A + code - 0x3B); // F1..F10
    }
    usages[0x45] = 0x53; // num lock
    usages[0x46] = 0x47; // scroll lock
    constexpr std::pair<std::uint8_t, std::uint8_t> keypad[] = {
        {0x47, 0x5F}, {0x48, 0x60}, {0x49, 0x61}, {0x4A, 0x56}, {0x4B, 0x5C}, {0x4C, 0x5D}, {0x4D, 0x5E},
        {0x4E, 0x57}, {0x4F, 0x59}, {0x50, 0x5A}, {0x51, 0x5B}, {0x52, 0x62}, {0x53, 0x63},
    };
    for (const auto& [code, usage] : keypad) {
        usages[code] = usage;
    }
    usages[0x54] = 0x46; // alt+print screen comes as SysRq
    usages[0x56] = 0x64; // the key beside left shift on ISO keyboards
    usages[0x57] = 0x44; // F11
    usages[0x58] = 0x45; // F12
    usages[0x59] = 0x67; // keypad =
    for (std::uint8_t code = 0x64; code <= 0x6E; ++code) {
        usages[code] = static_cast<std::uint8_t>(0x68 + code - 0x64); // F13..F23
    }
    usages[0x70] = 0x88; // international 2 (kana)
    usages[0x73] = 0x87; // international 1 (ro)
    usages[0x76] = 0x73; // F24
    usages[0x79] = 0x8A; // international 4 (henkan)
    usages[0x7B] = 0x8B; // international 5 (muhenkan)
    usages[0x7D] = 0x89; // international 3 (yen)
    usages[0x7E] = 0x85; // keypad , (Brazil)
    return usages;
}();

// Scan codes after E0: the grey keys, the right-hand modifiers and the keypad's two grey keys. E0 2A and
// E0 36 are left out: Windows sends them as shifts around a grey key that no one pressed.
constexpr std::pair<std::uint8_t, std::uint8_t> kE0Usages[] = {
    {0x1C, 0x58}, // keypad enter
    {0x1D, 0xE4}, // right control
    {0x35, 0x54}, // keypad /
    {0x37, 0x46}, // print screen
    {0x38, 0xE6}, // right alt
    {0x46, 0x48}, // control+pause comes as break
    {0x47, 0x4A}, // home
    {0x48, 0x52}, // up
    {0x49, 0x4B}, // page up
    {0x4B, 0x50}, // left
    {0x4D, 0x4F}, // right
    {0x4F, 0x4D}, // end
    {0x50, 0x51}, // down
    {0x51, 0x4E}, // page down
    {0x52, 0x49}, // insert
    {0x53, 0x4C}, // delete
    {0x5B, 0xE3}, // left GUI
    {0x5C, 0xE7}, // right GUI
    {0x5D, 0x65}, // application
    {0x5E, 0x66}, // power
};

constexpr std::uint8_t kPauseUsage = 0x48;
constexpr std::uint16_t kPauseE1Code = 0x1D;

} // namespace

std::uint8_t KeyboardUsageOfScanCode(std::uint16_t makeCode, std::uint16_t flags) {
    if ((flags & kRawKeyE1) != 0) {
        return makeCode == kPauseE1Code ? kPauseUsage : 0;
    }
    if ((flags & kRawKeyE0) != 0) {
        const auto* const found = std::find_if(std::begin(kE0Usages), std::end(kE0Usages),
                                               [&](const auto& entry) { return entry.first == makeCode; });
        return found != std::end(kE0Usages) ? found->second : 0;
    }
    return makeCode < kPlainUsages.size() ? kPlainUsages[makeCode] : 0;
}

} // namespace treadkey::windows_hid
