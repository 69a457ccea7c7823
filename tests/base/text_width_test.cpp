#include "base/text_width.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

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
