#include "editor/usage_names.h"

#include "editor/key_table.h"
#include "hid/input_report.h"

#include <array>
#include <charconv>
#include <string_view>

namespace treadkey {
namespace {

constexpr std::uint16_t kGenericDesktopPage = 0x01;
constexpr std::uint16_t kConsumerPage = 0x0C;

struct NamedUsage {
    std::uint16_t usage;
    std::string_view name;
    std::string_view caption;
};

// The keyboard page's named usages that no on-screen key sends, numbered runs (F13.., International1..,
// LANG1..) aside.
constexpr auto kUnlistedKeys = std::to_array<NamedUsage>({
    {0x31, "backslash_and_pipe", "\\ and |"},
    {0x64, "non_us_backslash", "Non-US \\ and |"},
    {0x66, "power", "Power"},
    {0x67, "kp_equal", "Keypad ="},
    {0x74, "execute", "Execute"},
    {0x75, "help", "Help"},
    {0x76, "keyboard_menu", "Menu"},
    {0x77, "select", "Select"},
    {0x78, "stop", "Stop"},
    {0x79, "again", "Again"},
    {0x7A, "undo", "Undo"},
    {0x7B, "cut", "Cut"},
    {0x7C, "copy", "Copy"},
    {0x7D, "paste", "Paste"},
    {0x7E, "find", "Find"},
    {0x7F, "mute", "Mute"},
    {0x80, "volume_up", "Volume Up"},
    {0x81, "volume_down", "Volume Down"},
    {0x82, "locking_caps_lock", "Locking Caps Lock"},
    {0x83, "locking_num_lock", "Locking Num Lock"},
    {0x84, "locking_scroll_lock", "Locking Scroll Lock"},
    {0x85, "kp_comma", "Keypad Comma"},
    {0x86, "kp_equal_sign", "Keypad Equal Sign"},
    {0x99, "alternate_erase", "Alternate Erase"},
    {0x9A, "sysreq", "SysReq/Attention"},
    {0x9B, "cancel", "Cancel"},
    {0x9C, "clear", "Clear"},
    {0x9D, "prior", "Prior"},
    {0x9E, "return", "Return"},
    {0x9F, "separator", "Separator"},
    {0xA0, "out", "Out"},
    {0xA1, "oper", "Oper"},
    {0xA2, "clear_again", "Clear/Again"},
    {0xA3, "crsel", "CrSel/Props"},
    {0xA4, "exsel", "ExSel"},
    {0xB6, "kp_left_parenthesis", "Keypad ("},
    {0xB7, "kp_right_parenthesis", "Keypad )"},
});

struct NumberedRun {
    std::uint16_t first;
    std::uint16_t last;
    std::string_view name;    // followed by the number
    std::string_view caption; // followed by the number
    int firstNumber;
};

constexpr auto kNumberedKeys = std::to_array<NumberedRun>({
    {0x68, 0x73, "f", "F", 13},
    {0x87, 0x8F, "international", "International", 1},
    {0x90, 0x98, "lang", "LANG", 1},
});

// Media and system keys as consumer-control and system-control interfaces send them.
struct NamedPageUsage {
    HidUsage usage;
    std::string_view caption;
};
constexpr auto kOtherUsages = std::to_array<NamedPageUsage>({
    {{kGenericDesktopPage, 0x81}, "System Power Down"},
    {{kGenericDesktopPage, 0x82}, "System Sleep"},
    {{kGenericDesktopPage, 0x83}, "System Wake Up"},
    {{kConsumerPage, 0x6F}, "Display Brightness Increment"},
    {{kConsumerPage, 0x70}, "Display Brightness Decrement"},
    {{kConsumerPage, 0xB0}, "Play"},
    {{kConsumerPage, 0xB1}, "Pause"},
    {{kConsumerPage, 0xB2}, "Record"},
    {{kConsumerPage, 0xB3}, "Fast Forward"},
    {{kConsumerPage, 0xB4}, "Rewind"},
    {{kConsumerPage, 0xB5}, "Scan Next Track"},
    {{kConsumerPage, 0xB6}, "Scan Previous Track"},
    {{kConsumerPage, 0xB7}, "Stop"},
    {{kConsumerPage, 0xB8}, "Eject"},
    {{kConsumerPage, 0xCD}, "Play/Pause"},
    {{kConsumerPage, 0xE2}, "Mute"},
    {{kConsumerPage, 0xE9}, "Volume Increment"},
    {{kConsumerPage, 0xEA}, "Volume Decrement"},
    {{kConsumerPage, 0x183}, "AL Consumer Control Configuration"},
    {{kConsumerPage, 0x18A}, "AL Email Reader"},
    {{kConsumerPage, 0x192}, "AL Calculator"},
    {{kConsumerPage, 0x194}, "AL Local Machine Browser"},
    {{kConsumerPage, 0x221}, "AC Search"},
    {{kConsumerPage, 0x223}, "AC Home"},
    {{kConsumerPage, 0x224}, "AC Back"},
    {{kConsumerPage, 0x225}, "AC Forward"},
    {{kConsumerPage, 0x226}, "AC Stop"},
    {{kConsumerPage, 0x227}, "AC Refresh"},
    {{kConsumerPage, 0x22A}, "AC Bookmarks"},
});

int CodeOf(const KeyEntry& key) {
    int code = -1;
    std::from_chars(key.code.data(), key.code.data() + key.code.size(), code);
    return code;
}

} // namespace

std::optional<int> KeyIndexForUsage(std::uint16_t usage) {
    // Num Lock has a hidden twin on the window; the visible key is the one users know.
    for (const KeyEntry& key : KeyTable()) {
        if (key.container == KeyContainer::Frame1 && CodeOf(key) == usage) {
            return key.index;
        }
    }
    return std::nullopt;
}

std::optional<UsageWords> UnlistedKeyWords(std::uint16_t usage) {
    for (const NamedUsage& named : kUnlistedKeys) {
        if (named.usage == usage) {
            return UsageWords{std::string(named.name), std::string(named.caption)};
        }
    }
    for (const NumberedRun& run : kNumberedKeys) {
        if (usage >= run.first && usage <= run.last) {
            const std::string number = std::to_string(run.firstNumber + (usage - run.first));
            return UsageWords{std::string(run.name) + number, std::string(run.caption) + number};
        }
    }
    return std::nullopt;
}

UsageWords KeyUsageWords(std::uint16_t usage) {
    if (const std::optional<int> index = KeyIndexForUsage(usage)) {
        const auto& key = KeyTable()[static_cast<std::size_t>(*index)];
        return {std::string(key.name), std::string(key.caption)};
    }
    if (std::optional<UsageWords> words = UnlistedKeyWords(usage)) {
        return std::move(*words);
    }
    std::string hex = UsageHex({kKeyboardUsagePage, usage});
    return {hex, hex};
}

std::string OtherUsageCaption(HidUsage usage) {
    for (const NamedPageUsage& named : kOtherUsages) {
        if (named.usage == usage) {
            return std::string(named.caption);
        }
    }
    return UsageHex(usage);
}

} // namespace treadkey
