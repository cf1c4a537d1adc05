#include "json/json.h"

#include <gtest/gtest.h>

#include <string>

namespace treadkey {
namespace {

TEST(Json, ReadsEveryKindWithWhereItStarts) {
    const JsonParseResult parsed = ParseJson("{\n"
                                             "  \"a\": [1, -2.5e1, true, false, null],\n"
                                             "  \"b\": {\"c\": \"d\\\"\\\\\\/\\b\\f\\n\\r\\t\"}\n"
                                             "}");
    ASSERT_TRUE(parsed.value) << parsed.error.message;
    const JsonValue& root = *parsed.value;
    ASSERT_EQ(root.kind, JsonValue::Kind::Object);
    ASSERT_EQ(root.members.size(), 2u);
    EXPECT_EQ(root.members[0].name, "a");
    EXPECT_EQ(root.members[0].position.line, 2);
    EXPECT_EQ(root.members[0].position.column, 3);

    const JsonValue& array = root.members[0].value;
    ASSERT_EQ(array.kind, JsonValue::Kind::Array);
    ASSERT_EQ(array.items.size(), 5u);
    EXPECT_EQ(array.items[0].number, 1);
    EXPECT_EQ(array.items[1].number, -25);
    EXPECT_EQ(array.items[1].position.column, 12);
    EXPECT_TRUE(array.items[2].boolean);
    EXPECT_EQ(array.items[3].kind, JsonValue::Kind::Boolean);
    EXPECT_FALSE(array.items[3].boolean);
    EXPECT_EQ(array.items[4].kind, JsonValue::Kind::Null);

    const JsonValue& inner = root.members[1].value.members[0].value;
    EXPECT_EQ(inner.text, "d\"\\/\b\f\n\r\t");
    EXPECT_EQ(inner.position.line, 3);
    EXPECT_EQ(inner.position.column, 14);
}

TEST(Json, DecodesUnicodeEscapesToUtf8) {
    const struct {
        const char* json;
        const char* text;
    } cases[] = {
        {R"("\u0041")", "A"},
        {R"("\u00e9")", "\xC3\xA9"},
        {R"("\u20AC")", "\xE2\x82\xAC"},
        {R"("\ud83d\ude00")", "\xF0\x9F\x98\x80"},
        {"\"\xC3\xA9\"", "\xC3\xA9"},
    };
    for (const auto& c : cases) {
        const JsonParseResult parsed = ParseJson(c.json);
        ASSERT_TRUE(parsed.value) << c.json << ": " << parsed.error.message;
        EXPECT_EQ(parsed.value->text, c.text) << c.json;
    }
}

TEST(Json, SyntaxErrorsSayLineAndColumn) {
    const struct {
        std::string json;
        int line;
        int column;
        const char* message;
    } cases[] = {
        {"", 1, 1, "expected a value, found the end of the text"},
        {"   \n  ", 2, 3, "expected a value"},
        {"{\"a\": 1,}", 1, 9, "expected a member name in double quotes, found '}'"},
        {"{\"a\" 1}", 1, 6, "expected ':' after the member name, found '1'"},
        {"{\n  \"a\": tru\n}", 2, 8, "unknown word"},
        {"[1 2]", 1, 4, "expected ',' or ']' after an array element"},
        {"{\"a\": 1\n\"b\": 2}", 2, 1, "expected ',' or '}' after an object member"},
        {"{\"a\": \"x", 1, 7, "string not closed"},
        {"{\"a\": 01}", 1, 8, "may not start with 0"},
        {"\"\\q\"", 1, 3, "unknown escape \\q"},
        {"\"a\tb\"", 1, 3, "control character inside a string"},
        {"{} x", 1, 4, "after the end of the JSON value"},
        {"{\"a\": 1, \"a\": 2}", 1, 10, "\"a\" is given twice"},
        {"[\"\xC3\xA9\", x]", 1, 7, "expected a value, found 'x'"},
        {"1.", 1, 3, "a digit after the decimal point"},
        {"-", 1, 2, "a digit in the number"},
        {"1e+", 1, 4, "a digit in the exponent"},
        {"1e999", 1, 1, "number out of range"},
        {"'a'", 1, 1, "expected a value, found '''"},
        {"\"\\ud800\"", 1, 4, "high surrogate"},
        {"\"\\udc00\"", 1, 4, "low surrogate"},
        {"\"\\u12G4\"", 1, 6, "four hex digits"},
        {std::string(65, '['), 1, 65, "nested deeper than 64 levels"},
    };
    for (const auto& c : cases) {
        const JsonParseResult parsed = ParseJson(c.json);
        EXPECT_FALSE(parsed.value) << c.json;
        EXPECT_EQ(parsed.error.position.line, c.line) << c.json;
        EXPECT_EQ(parsed.error.position.column, c.column) << c.json;
        EXPECT_NE(parsed.error.message.find(c.message), std::string::npos)
            << c.json << ": " << parsed.error.message;
    }
}

// A text of nothing but short values would otherwise take a hundred times its size: the reader stops at a
// million values, the array counted.
TEST(Json, AMillionValuesAreReadAndNoMore) {
    const auto array = [](std::size_t elements) {
        std::string text = "[";
        for (std::size_t i = 0; i < elements; ++i) {
            text += i == 0 ? "0" : ",0";
        }
        return text + "]";
    };
    EXPECT_TRUE(ParseJson(array(999999)).value);
    const JsonParseResult refused = ParseJson(array(1000000));
    ASSERT_FALSE(refused.value);
    EXPECT_EQ(refused.error.message, "more than 1000000 values, far more than a profile or a record holds");
    EXPECT_EQ(refused.error.position.column, 2000000); // at the last element
}

TEST(Json, NestingUpToTheLimitIsRead) {
    const std::string deep = std::string(64, '[') + std::string(64, ']');
    EXPECT_TRUE(ParseJson(deep).value) << ParseJson(deep).error.message;
}

} // namespace
} // namespace treadkey
