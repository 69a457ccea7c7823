#include "base/utf8.h"
#include "base/text_width.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(Utf8, CharactersAreCodePointsAndStrayBytesStandAlone) {
    struct Case { std::string text; std::vector<std::string_view> characters; std::size_t invalidAt; } cases[] = {
        {"AB", {"A", "B"}, std::string::npos},
        {"\xC3\x84" "1", {"\xC3\x84", "1"}, std::string::npos},              // Ä
        {"\xE4\xB8\x80", {"\xE4\xB8\x80"}, std::string::npos},                // a CJK character
        {"\xF0\x9F\x93\xBB", {"\xF0\x9F\x93\xBB"}, std::string::npos},        // four bytes
        {"A\xC3", {"A", "\xC3"}, 1},                                          // cut short
        {"\xC0\xAF", {"\xC0", "\xAF"}, 0},                                    // overlong "/"
        {"\xED\xA0\x80", {"\xED", "\xA0", "\x80"}, 0},                        // a surrogate
        {"\xF4\x90\x80\x80", {"\xF4", "\x90", "\x80", "\x80"}, 0},            // past U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8Characters(c.text), c.characters) << c.text;
        EXPECT_EQ(invalidUtf8At(c.text), c.invalidAt) << c.text;
    }
}

TEST(Utf8, DecodingEncodingAndShowing) {
    EXPECT_EQ(decodeUtf8("A\xC0"), (std::u32string{U'A', 0xFFFD}));
    EXPECT_EQ(withoutLastCharacter("BA呼"), "BA");
    EXPECT_EQ(encodeUtf8(U'号') + encodeUtf8(0x1F4FB), "号\xF0\x9F\x93\xBB");
    EXPECT_EQ(printable("a\tb\x1B\xC0"), "a\\tb\\x1B\\xC0");
}

TEST(TextWidth, ChineseTakesTwoColumns) {
    EXPECT_EQ(terminalWidth(""), 0u);
    EXPECT_EQ(terminalWidth("MOBILE"), 6u);
    EXPECT_EQ(terminalWidth("复习箱"), 6u);
    EXPECT_EQ(terminalWidth("错 50%\uFF08多\uFF09"), 12u);  // full-width brackets
    EXPECT_EQ(terminalWidth("±"), 1u);
    EXPECT_EQ(terminalWidth("A\xCC\x81"), 1u);  // A and a combining acute accent
}

}  // namespace
}  // namespace tessaly
