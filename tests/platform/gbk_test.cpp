#include "platform/gbk.h"

#include <gtest/gtest.h>

TEST(Gbk, RoundTrips) {
    const std::pair<std::string, std::string> cases[] = {
        {"串口未打开 COM3", "\xB4\xAE\xBF\xDA\xCE\xB4\xB4\xF2\xBF\xAA COM3"},
        {"序号", "\xD0\xF2\xBA\xC5"},
        {"abc", "abc"},
        {"", ""},
    };
    for (const auto& [utf8, gbk] : cases) {
        EXPECT_EQ(Utf8ToGbk(utf8), gbk) << utf8;
        EXPECT_EQ(GbkToUtf8(gbk), utf8) << utf8;
        EXPECT_EQ(GbkLength(utf8), gbk.size()) << utf8;
    }
}

TEST(Gbk, BytesWithoutAFormBecomeQuestionMarks) {
    EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a?b");
    EXPECT_EQ(GbkToUtf8("\xB4\xAE\x81"), "串?");  // cut in the middle of a character
    EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");  // no GBK form
    EXPECT_EQ(Utf8ToGbk("a\xC3"), "a?");                    // cut UTF-8
}
