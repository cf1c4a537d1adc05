#include "fuzz/fuzz_check.h"
#include "json/json.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

namespace {

using treadkey::JsonValue;
using treadkey::TextPosition;
using treadkey::fuzz::Require;

// The places a position may name: a line and a column from 1 up to one past the line's last character.
class Places {
public:
    explicit Places(std::string_view text) {
        int columns = 0;
        for (const char byte : text) {
            if (byte == '\n') {
                columnsPerLine_.push_back(columns);
                columns = 0;
            } else if ((static_cast<unsigned char>(byte) & 0xC0) != 0x80) {
                ++columns;
            }
        }
        columnsPerLine_.push_back(columns);
    }

    bool Holds(TextPosition position) const {
        return position.line >= 1 && position.line <= static_cast<int>(columnsPerLine_.size()) &&
               position.column >= 1 && position.column <= columnsPerLine_[position.line - 1] + 1;
    }

private:
    std::vector<int> columnsPerLine_;
};

void CheckValue(const JsonValue& value, const Places& places) {
    Require(places.Holds(value.position), "a value starts inside the text");
    for (const JsonValue& item : value.items) {
        CheckValue(item, places);
    }
    std::set<std::string_view> names;
    for (const treadkey::JsonMember& member : value.members) {
        Require(names.insert(member.name).second, "an accepted object names each member once");
        Require(places.Holds(member.position), "a member name starts inside the text");
        CheckValue(member.value, places);
    }
    Require(value.kind == JsonValue::Kind::Object || value.members.empty(), "only objects have members");
    Require(value.kind == JsonValue::Kind::Array || value.items.empty(), "only arrays have items");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An exactly sized heap copy, so that AddressSanitizer stops any read one byte past the text.
    const auto bytes = std::make_unique<char[]>(size);
    if (size > 0) {
        std::memcpy(bytes.get(), data, size);
    }
    const std::string_view text(bytes.get(), size);
    const Places places(text);
    const treadkey::JsonParseResult result = treadkey::ParseJson(text);
    if (result.value) {
        CheckValue(*result.value, places);
    } else {
        Require(places.Holds(result.error.position), "an error points inside the text or just past its end");
        Require(!result.error.message.empty(), "an error says why");
    }
    return 0;
}
