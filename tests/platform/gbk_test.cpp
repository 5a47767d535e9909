#include "platform/gbk.h"

#include <gtest/gtest.h>

TEST(Gbk, RoundTrip) {
    const std::string text = "串口未打开 COM3";
    const std::string gbk = Utf8ToGbk(text);
    EXPECT_EQ(gbk, std::string("\xB4\xAE\xBF\xDA\xCE\xB4\xB4\xF2\xBF\xAA COM3"));
    EXPECT_EQ(GbkToUtf8(gbk), text);
    EXPECT_EQ(GbkLength(text), 15u);
    EXPECT_EQ(GbkLength("abc"), 3u);
}

TEST(Gbk, InvalidInputIsReplaced) {
    EXPECT_EQ(GbkToUtf8(std::string("a\xFF" "b")), "a?b");
    EXPECT_EQ(GbkToUtf8(std::string("a\x81")), "a?");  // cut in the middle of a character
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");  // no GBK form
    EXPECT_EQ(GbkToUtf8(""), "");
}
