#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace treadkey {

// A place in a text: line and column from 1, columns counted in characters (UTF-8 sequences count once).
struct TextPosition {
    int line = 1;
    int column = 1;
};

struct JsonMember;

// A JSON value with the place where it starts, so that a check of what it means can point at it.
struct JsonValue {
    enum class Kind { Null, Boolean, Number, String, Array, Object };
    Kind kind = Kind::Null;
    TextPosition position;
    bool boolean = false;
    double number = 0;
    std::string text;                // a string's contents, UTF-8
    std::vector<JsonValue> items;    // an array's elements
    std::vector<JsonMember> members; // an object's members in the order written; names are unique
};

struct JsonMember {
    std::string name;
    TextPosition position; // of the name
    JsonValue value;
};

struct JsonError {
    TextPosition position;
    std::string message;
};

struct JsonParseResult {
    std::optional<JsonValue> value;
    JsonError error; // where and why the text is not JSON, when there is no value
};

// Reads one JSON value (RFC 8259) that makes up the whole text, blanks aside. An object that names a member
// twice is an error too, since which of the two counts would be a guess.
JsonParseResult ParseJson(std::string_view text);

// A JSON string literal for UTF-8 text: quotes, backslashes and control characters escaped.
std::string JsonQuoted(std::string_view text);

// "null", "a boolean", "a number", "a string", "an array", "an object": for messages.
std::string_view DescribeJsonKind(JsonValue::Kind kind);

} // namespace treadkey
