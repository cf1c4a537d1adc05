#include "editor/profile.h"

#include "arguments/shown_text.h"
#include "editor/input_names.h"
#include "editor/mouse_buttons.h"
#include "protocol/frames.h"
#include "protocol/number_text.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace treadkey {
namespace {

constexpr std::string_view kSlotsField = "slots";
constexpr std::string_view kDelayField = "delay";
constexpr std::string_view kSingleOutputField = "single_output";
constexpr std::string_view kPlaybackField = "playback";
constexpr std::string_view kAutoRunField = "auto_run";
constexpr std::string_view kKeyField = "key";
constexpr std::string_view kMouseField = "mouse";

class ProfileFault : public std::runtime_error {
public:
    ProfileFault(TextPosition where, const std::string& message)
        : std::runtime_error(message), position(where) {}
    TextPosition position;
};

void RequireKind(const JsonValue& value, JsonValue::Kind kind, const std::string& what) {
    if (value.kind != kind) {
        throw ProfileFault(value.position, what + " must be " + std::string(DescribeJsonKind(kind)) +
                                               ", not " + std::string(DescribeJsonKind(value.kind)));
    }
}

KeyCombo ReadKey(const JsonValue& value, const std::string& slot) {
    RequireKind(value, JsonValue::Kind::String, "the key of slot " + slot);
    ParsedKeyCombo parsed = ParseKeyCombo(value.text);
    if (!parsed.combo) {
        throw ProfileFault(value.position, "slot " + slot + ": " + parsed.error);
    }
    return *parsed.combo;
}

std::size_t ReadMouseButton(const JsonValue& value, const std::string& slot) {
    RequireKind(value, JsonValue::Kind::String, "the mouse button of slot " + slot);
    const std::optional<std::size_t> button = MouseButtonByName(value.text);
    if (!button) {
        throw ProfileFault(value.position, "slot " + slot + ": unknown mouse button " +
                                               DoubleQuoted(value.text) + ": left, middle or right");
    }
    return *button;
}

SlotContent ReadSlot(const JsonValue& value, const std::string& slot) {
    if (value.kind == JsonValue::Kind::Null) {
        return {};
    }
    if (value.kind != JsonValue::Kind::Object) {
        throw ProfileFault(value.position,
                           "slot " + slot +
                               " must be an object with \"key\" or \"mouse\", or null to clear it, not " +
                               std::string(DescribeJsonKind(value.kind)));
    }
    std::optional<SlotContent> content;
    for (const JsonMember& member : value.members) {
        if (member.name != kKeyField && member.name != kMouseField) {
            throw ProfileFault(member.position, "unknown field " + DoubleQuoted(member.name) + " in slot " +
                                                    slot + ": a slot has \"key\" or \"mouse\"");
        }
        if (content) {
            throw ProfileFault(member.position, "slot " + slot + " holds a key or a mouse button, not both");
        }
        content = member.name == kKeyField
                      ? SlotContent{SlotContent::Kind::Key, ReadKey(member.value, slot), 0}
                      : SlotContent{SlotContent::Kind::Mouse, {}, ReadMouseButton(member.value, slot)};
    }
    if (!content) {
        throw ProfileFault(value.position,
                           "slot " + slot + " is empty: give \"key\" or \"mouse\", or null to clear it");
    }
    return *content;
}

void ReadSlots(const JsonValue& value, Profile& profile) {
    RequireKind(value, JsonValue::Kind::Object, DoubleQuoted(kSlotsField));
    for (const JsonMember& member : value.members) {
        const std::optional<int> slot = ParseWholeNumber(member.name, kFirstSlot, kLastSlot);
        // "01" would name slot 1 a second time under another spelling.
        if (!slot || std::to_string(*slot) != member.name) {
            throw ProfileFault(member.position,
                               DoubleQuoted(member.name) + " is not a slot: slots are \"1\" to \"12\"");
        }
        profile.slots[static_cast<std::size_t>(*slot - kFirstSlot)] = ReadSlot(member.value, member.name);
    }
}

int ReadDelay(const JsonValue& value) {
    RequireKind(value, JsonValue::Kind::Number, DoubleQuoted(kDelayField));
    if (value.number != std::floor(value.number) || value.number < 0 || value.number > kMaxKeyDelay) {
        throw ProfileFault(value.position,
                           "\"delay\" must be a whole number of milliseconds from 0 to 65535");
    }
    return static_cast<int>(value.number);
}

bool ReadLoop(const JsonValue& value) {
    RequireKind(value, JsonValue::Kind::String, DoubleQuoted(kPlaybackField));
    if (value.text != "loop" && value.text != "single") {
        throw ProfileFault(value.position,
                           "\"playback\" must be \"loop\" or \"single\", not " + DoubleQuoted(value.text));
    }
    return value.text == "loop";
}

bool ReadBoolean(const JsonValue& value, std::string_view field) {
    RequireKind(value, JsonValue::Kind::Boolean, DoubleQuoted(field));
    return value.boolean;
}

// The three members that make up word 0x7C, as given.
struct PlaybackWordMembers {
    std::optional<int> delay;
    std::optional<bool> loop;
    std::optional<bool> autoRun;
    TextPosition delayPosition;
    TextPosition lastPosition; // of whichever of the three came last
};

std::string Missing(const PlaybackWordMembers& given) {
    std::vector<std::string> missing;
    for (const auto& [name, isGiven] : {std::pair{kDelayField, given.delay.has_value()},
                                        {kPlaybackField, given.loop.has_value()},
                                        {kAutoRunField, given.autoRun.has_value()}}) {
        if (!isGiven) {
            missing.push_back(DoubleQuoted(name));
        }
    }
    return missing.size() == 1 ? missing[0] + " is missing"
                               : missing[0] + " and " + missing[1] + " are missing";
}

// What no frame stores, named as the profile names it.
std::string Unstorable(const PlaybackWord& word) {
    std::string settings;
    if (!word.autoRun) {
        settings = DoubleQuoted(kAutoRunField) + ": false";
    }
    if (!word.loop) {
        settings += (settings.empty() ? "" : " and ") + DoubleQuoted(kPlaybackField) + ": \"single\"";
    }
    return "the pedal cannot hold a delay of " + std::to_string(word.delay) + " ms with " + settings +
           ": it keeps delay, playback and auto-run in one word, which holds either any delay with "
           "\"auto_run\": true and \"playback\": \"loop\", or any playback and auto-run with \"delay\": 0";
}

std::optional<PlaybackWord> ReadPlaybackWord(const PlaybackWordMembers& given) {
    const int count =
        int{given.delay.has_value()} + int{given.loop.has_value()} + int{given.autoRun.has_value()};
    if (count == 0) {
        return std::nullopt;
    }
    if (count < 3) {
        const std::string together =
            "\"delay\", \"playback\" and \"auto_run\" come together, as the pedal keeps them in one word: ";
        throw ProfileFault(given.lastPosition, together + Missing(given));
    }
    const PlaybackWord word{*given.autoRun, *given.loop, static_cast<std::uint16_t>(*given.delay)};
    if (!PlaybackWordFrame(word)) {
        throw ProfileFault(given.delayPosition, Unstorable(word));
    }
    return word;
}

Profile ReadProfile(const JsonValue& root) {
    if (root.kind != JsonValue::Kind::Object) {
        throw ProfileFault(root.position,
                           "a profile is a JSON object, not " + std::string(DescribeJsonKind(root.kind)));
    }
    Profile profile;
    PlaybackWordMembers word;
    for (const JsonMember& member : root.members) {
        if (member.name == kSlotsField) {
            ReadSlots(member.value, profile);
        } else if (member.name == kSingleOutputField) {
            profile.singleOutput = ReadBoolean(member.value, kSingleOutputField);
        } else if (member.name == kDelayField) {
            word.delay = ReadDelay(member.value);
            word.delayPosition = member.value.position;
            word.lastPosition = member.position;
        } else if (member.name == kPlaybackField) {
            word.loop = ReadLoop(member.value);
            word.lastPosition = member.position;
        } else if (member.name == kAutoRunField) {
            word.autoRun = ReadBoolean(member.value, kAutoRunField);
            word.lastPosition = member.position;
        } else {
            throw ProfileFault(member.position,
                               "unknown field " + DoubleQuoted(member.name) +
                                   ": a profile has slots, delay, single_output, playback and auto_run");
        }
    }
    profile.playbackWord = ReadPlaybackWord(word);
    const bool setsASlot = std::any_of(profile.slots.begin(), profile.slots.end(),
                                       [](const auto& slot) { return slot.has_value(); });
    if (!setsASlot && !profile.singleOutput && !profile.playbackWord) {
        throw ProfileFault(root.position, "the profile sets nothing: give slots or settings");
    }
    return profile;
}

std::string SlotFrame(int slot, const SlotContent& content) {
    switch (content.kind) {
    case SlotContent::Kind::Key:
        return KeyFrame(std::to_string(slot), content.key.modifiers, KeyCode(content.key));
    case SlotContent::Kind::Mouse:
        return MouseFrame(std::to_string(slot), kMouseButtons[content.mouseButton].code);
    case SlotContent::Kind::Cleared:
        break;
    }
    return ClearFrame(slot - kFirstSlot);
}

} // namespace

ParsedProfile ParseProfile(std::string_view text) {
    JsonParseResult json = ParseJson(text);
    if (!json.value) {
        return {std::nullopt, std::move(json.error)};
    }
    try {
        return {ReadProfile(*json.value), {}};
    } catch (const ProfileFault& fault) {
        return {std::nullopt, {fault.position, fault.what()}};
    }
}

FrameSequence ProfileFrames(const Profile& profile) {
    std::vector<std::string> frames;
    for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
        if (const std::optional<SlotContent>& content =
                profile.slots[static_cast<std::size_t>(slot - kFirstSlot)]) {
            frames.push_back(SlotFrame(slot, *content));
        }
    }
    if (profile.playbackWord) {
        // A profile's word is one that a frame stores; value() stops a Profile built otherwise.
        frames.push_back(PlaybackWordFrame(*profile.playbackWord).value());
    }
    if (profile.singleOutput.has_value()) {
        frames.push_back(SingleOutputFrame(*profile.singleOutput ? 1 : 0));
    }
    return Paced(frames);
}

} // namespace treadkey
