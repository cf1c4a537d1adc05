#include "json/json.h"

#include "arguments/shown_text.h"
#include "arguments/utf8_text.h"
#include "protocol/hex_byte.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <stdexcept>
#include <unordered_set>
#include <utility>

namespace treadkey {
namespace {

// Deep enough for any profile, shallow enough that hostile input cannot exhaust the stack.
constexpr int kMaxNesting = 64;
// Each value read takes about a hundred bytes: a text of nothing but short values, such as a profile of
// 64 MiB of "0,", would otherwise take gigabytes. A profile or a record holds a few dozen.
constexpr std::size_t kMostValues = 1000000;

class SyntaxError : public std::runtime_error {
public:
    SyntaxError(TextPosition where, const std::string& message)
        : std::runtime_error(message), position(where) {}
    TextPosition position;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Describe(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
        return std::string("'") + c + "'";
    }
    return byte < 0x20 ? "a control character" : "a non-ASCII character";
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    JsonValue ParseDocument() {
        SkipBlanks();
        JsonValue value = ParseValue(0);
        SkipBlanks();
        if (!AtEnd()) {
            Fail("unexpected " + Describe(Peek()) + " after the end of the JSON value");
        }
        return value;
    }

private:
    bool AtEnd() const { return index_ >= text_.size(); }
    char Peek() const { return text_[index_]; }

    void Advance() {
        if (text_[index_] == '\n') {
            ++position_.line;
            position_.column = 1;
        } else if ((static_cast<unsigned char>(text_[index_]) & 0xC0) != 0x80) {
            // A column is a character: only the first byte of a UTF-8 sequence moves it.
            ++position_.column;
        }
        ++index_;
    }

    [[noreturn]] void Fail(const std::string& message) const { throw SyntaxError(position_, message); }

    [[noreturn]] void FailExpecting(const std::string& expected) const {
        Fail("expected " + expected + ", found " +
             (AtEnd() ? std::string("the end of the text") : Describe(Peek())));
    }

    void SkipBlanks() {
        while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) {
            Advance();
        }
    }

    void Expect(char c, const std::string& expected) {
        if (AtEnd() || Peek() != c) {
            FailExpecting(expected);
        }
        Advance();
    }

    JsonValue ParseValue(int depth) {
        if (AtEnd()) {
            FailExpecting("a value");
        }
        if (++values_ > kMostValues) {
            Fail("more than " + std::to_string(kMostValues) +
                 " values, far more than a profile or a record holds");
        }
        JsonValue value;
        value.position = position_;
        switch (Peek()) {
        case '{':
            ParseObject(value, depth + 1);
            break;
        case '[':
            ParseArray(value, depth + 1);
            break;
        case '"':
            value.kind = JsonValue::Kind::String;
            value.text = ParseString();
            break;
        case 't':
            ParseWord("true", value);
            value.kind = JsonValue::Kind::Boolean;
            value.boolean = true;
            break;
        case 'f':
            ParseWord("false", value);
            value.kind = JsonValue::Kind::Boolean;
            break;
        case 'n':
            ParseWord("null", value);
            break;
        default:
            if (Peek() == '-' || IsDigit(Peek())) {
                value.kind = JsonValue::Kind::Number;
                value.number = ParseNumber();
                break;
            }
            FailExpecting("a value");
        }
        return value;
    }

    void ParseWord(std::string_view word, const JsonValue& value) {
        for (const char c : word) {
            if (AtEnd() || Peek() != c) {
                throw SyntaxError(value.position, "unknown word: JSON knows only true, false and null");
            }
            Advance();
        }
    }

    void CheckNesting(int depth) const {
        if (depth > kMaxNesting) {
            Fail("nested deeper than " + std::to_string(kMaxNesting) + " levels");
        }
    }

    // The elements between an opening bracket (at the current position) and `close`, separated by commas,
    // each read by readElement.
    template <typename ReadElement>
    void ParseElements(char close, const std::string& elementName, ReadElement readElement) {
        Advance();
        SkipBlanks();
        if (!AtEnd() && Peek() == close) {
            Advance();
            return;
        }
        while (true) {
            SkipBlanks();
            readElement();
            SkipBlanks();
            if (!AtEnd() && Peek() == ',') {
                Advance();
                continue;
            }
            Expect(close, "',' or '" + std::string(1, close) + "' after " + elementName);
            return;
        }
    }

    void ParseObject(JsonValue& object, int depth) {
        CheckNesting(depth);
        object.kind = JsonValue::Kind::Object;
        std::unordered_set<std::string> names;
        ParseElements('}', "an object member", [&] {
            JsonMember member;
            member.position = position_;
            if (AtEnd() || Peek() != '"') {
                FailExpecting("a member name in double quotes");
            }
            member.name = ParseString();
            // A set, not a look over the earlier members: an object of many members is refused as fast as
            // read.
            if (!names.insert(member.name).second) {
                throw SyntaxError(member.position,
                                  "\"" + ShownText(member.name) + "\" is given twice in this object");
            }
            SkipBlanks();
            Expect(':', "':' after the member name");
            SkipBlanks();
            member.value = ParseValue(depth);
            object.members.push_back(std::move(member));
        });
    }

    void ParseArray(JsonValue& array, int depth) {
        CheckNesting(depth);
        array.kind = JsonValue::Kind::Array;
        ParseElements(']', "an array element", [&] { array.items.push_back(ParseValue(depth)); });
    }

    std::uint32_t ParseHexQuad() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            if (AtEnd()) {
                FailExpecting("four hex digits after \\u");
            }
            const std::optional<int> digit = HexDigitValue(Peek());
            if (!digit) {
                FailExpecting("four hex digits after \\u");
            }
            value = value * 16 + static_cast<std::uint32_t>(*digit);
            Advance();
        }
        return value;
    }

    std::uint32_t ParseUnicodeEscape() {
        const TextPosition start = position_;
        const std::uint32_t first = ParseHexQuad();
        if (first >= 0xDC00 && first <= 0xDFFF) {
            throw SyntaxError(start, "a low surrogate escape without a high one before it");
        }
        if (first < 0xD800 || first > 0xDBFF) {
            return first;
        }
        if (text_.substr(index_, 2) != "\\u") {
            throw SyntaxError(start, "a high surrogate escape without a low one after it");
        }
        Advance();
        Advance();
        const std::uint32_t second = ParseHexQuad();
        if (second < 0xDC00 || second > 0xDFFF) {
            throw SyntaxError(start, "a high surrogate escape without a low one after it");
        }
        return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
    }

    std::string ParseString() {
        const TextPosition start = position_;
        Advance(); // the opening quote
        std::string out;
        while (true) {
            if (AtEnd()) {
                throw SyntaxError(start, "string not closed: a '\"' is missing");
            }
            const char c = Peek();
            if (c == '"') {
                Advance();
                return out;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                Fail("a control character inside a string: write it as an escape such as \\n");
            }
            if (static_cast<unsigned char>(c) >= 0x80) {
                AppendSequence(out);
                continue;
            }
            Advance();
            if (c != '\\') {
                out += c;
                continue;
            }
            if (AtEnd()) {
                throw SyntaxError(start, "string not closed: a '\"' is missing");
            }
            const char escape = Peek();
            const TextPosition escapePosition = position_;
            Advance();
            switch (escape) {
            case '"':
            case '\\':
            case '/':
                out += escape;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u':
                AppendUtf8(out, ParseUnicodeEscape());
                break;
            default:
                throw SyntaxError(escapePosition, "unknown escape \\" + std::string(1, escape));
            }
        }
    }

    // Copies the UTF-8 sequence at the current position, so that every string read is UTF-8 as written.
    void AppendSequence(std::string& out) {
        std::uint32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(text_.substr(index_), codePoint);
        if (length == 0) {
            Fail("bytes that are not UTF-8 inside a string: save the file as UTF-8");
        }
        out += text_.substr(index_, length);
        for (std::size_t i = 0; i < length; ++i) {
            Advance();
        }
    }

    void SkipDigits() {
        while (!AtEnd() && IsDigit(Peek())) {
            Advance();
        }
    }

    void ExpectDigit(const char* where) {
        if (AtEnd() || !IsDigit(Peek())) {
            FailExpecting(std::string("a digit ") + where);
        }
    }

    double ParseNumber() {
        const std::size_t begin = index_;
        const TextPosition start = position_;
        if (Peek() == '-') {
            Advance();
        }
        ExpectDigit("in the number");
        if (Peek() == '0') {
            Advance();
            if (!AtEnd() && IsDigit(Peek())) {
                Fail("a number may not start with 0 followed by more digits");
            }
        } else {
            SkipDigits();
        }
        if (!AtEnd() && Peek() == '.') {
            Advance();
            ExpectDigit("after the decimal point");
            SkipDigits();
        }
        if (!AtEnd() && (Peek() == 'e' || Peek() == 'E')) {
            Advance();
            if (!AtEnd() && (Peek() == '+' || Peek() == '-')) {
                Advance();
            }
            ExpectDigit("in the exponent");
            SkipDigits();
        }
        double number = 0;
        // The grammar above was checked; from_chars only fails on a value beyond the range of double.
        const auto [end, error] = std::from_chars(text_.data() + begin, text_.data() + index_, number);
        if (error != std::errc{} || end != text_.data() + index_) {
            throw SyntaxError(start, "number out of range");
        }
        return number;
    }

    std::string_view text_;
    std::size_t index_ = 0;
    std::size_t values_ = 0;
    TextPosition position_;
};

} // namespace

JsonParseResult ParseJson(std::string_view text) {
    try {
        return {Parser(text).ParseDocument(), {}};
    } catch (const SyntaxError& error) {
        return {std::nullopt, {error.position, error.what()}};
    }
}

std::string JsonQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (byte < 0x20) {
            constexpr char kHex[] = "0123456789abcdef";
            quoted += "\\u00";
            quoted += kHex[byte >> 4];
            quoted += kHex[byte & 0x0F];
        } else {
            quoted += c;
        }
    }
    return quoted + '"';
}

std::string_view DescribeJsonKind(JsonValue::Kind kind) {
    // In the order of JsonValue::Kind.
    static constexpr std::array<std::string_view, 6> kKinds = {"null",     "a boolean", "a number",
                                                               "a string", "an array",  "an object"};
    static_assert(kKinds.size() == static_cast<std::size_t>(JsonValue::Kind::Object) + 1);
    return kKinds[static_cast<std::size_t>(kind)];
}

} // namespace treadkey
