#include <gtest/gtest.h>

#include <string>

#include "WideString.h"

namespace {

TEST(WideStringTest, WideningZeroExtendsEveryByteAndNarrowingKeepsTheLowByte) {
    const std::string bytes("A\xC3\xAB\xFF\x00z", 6);
    const std::u16string wide = widen(bytes);
    EXPECT_EQ(wide, (std::u16string{u'A', 0x00C3, 0x00AB, 0x00FF, 0x0000, u'z'}));
    EXPECT_EQ(narrow(wide), bytes);
    EXPECT_EQ(narrow(std::u16string{0x0141, 0xFF41}), "AA");
    EXPECT_EQ(widen(""), u"");
    EXPECT_EQ(narrow(u""), "");
}

}  // namespace
