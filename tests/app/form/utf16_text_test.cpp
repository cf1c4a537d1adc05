#include "app/form/utf32_text.h"

#include <gtest/gtest.h>

namespace treadkey::testing {
namespace {

// What a Windows box hands over, read as the window's text: pairs joined, lone halves replaced.
TEST(Utf16Text, SurrogatesArePairedOrReplaced) {
    const struct {
        const char* what;
        std::u16string utf16;
        std::u32string read;
    } cases[] = {
        {"empty", u"", U""},
        {"ASCII", u"Ctrl+A", U"Ctrl+A"},
        {"Chinese", u"键位选择", U"键位选择"},
        {"a pair", u"a\xD83D\xDE00z", U"a\U0001F600z"},
        {"the last pair of the plane", u"\xDBFF\xDFFF", U"\U0010FFFF"},
        {"a high half alone at the end", u"a\xD83D", U"a\xFFFD"},
        {"a high half before a letter", u"\xD83Dz", U"\xFFFDz"},
        {"a low half alone", u"\xDE00z", U"\xFFFDz"},
        {"two high halves, then a low", u"\xD83D\xD83D\xDE00", U"\xFFFD\U0001F600"},
        {"a low half before a high one", u"\xDE00\xD83D", U"\xFFFD\xFFFD"},
        {"the last unit before the surrogates", u"\xD7FF\xE000", U"\xD7FF\xE000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf32OfUtf16(c.utf16), c.read) << c.what;
    }
}

TEST(Utf16Text, CharactersBecomeOneOrTwoUnits) {
    const struct {
        const char* what;
        std::u32string text;
        std::u16string utf16;
    } cases[] = {
        {"the plane's last", U"\xFFFF", u"\xFFFF"},
        {"the first beyond it", U"\U00010000", u"\xD800\xDC00"},
        {"the last character", U"\U0010FFFF", u"\xDBFF\xDFFF"},
        {"past the last", std::u32string(1, char32_t(0x110000)), u"\xFFFD"},
        {"a surrogate as a character", std::u32string(1, char32_t(0xD800)), u"\xFFFD"},
        {"mixed", U"A键\U0001F600", u"A键\xD83D\xDE00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16Of(c.text), c.utf16) << c.what;
        if (c.utf16 != u"\xFFFD") {
            EXPECT_EQ(Utf32OfUtf16(Utf16Of(c.text)), c.text) << c.what << ", read back";
        }
    }
}

} // namespace
} // namespace treadkey::testing
