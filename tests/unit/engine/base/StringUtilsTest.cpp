#include <string>

#include <gtest/gtest.h>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/String.h"
#include "engine/base/StringUtils.h"

namespace {

TEST(StringUtilsTest, FormatHandlesAnyLength) {
    const std::string long_(5000, 'x');
    EXPECT_EQ(cocos2d::StringUtils::format("%s", long_.c_str()).size(), 5000u);
    EXPECT_EQ(cocos2d::StringUtils::format("Scenes/%s/%d", "USA", 7), "Scenes/USA/7");
    EXPECT_EQ(cocos2d::StringUtils::format("%s", ""), "");
}

TEST(StringUtilsTest, RefStringKeepsItsText) {
    cocos2d::__String* s = cocos2d::__String::create("Ada");
    s->retain();
    EXPECT_STREQ(s->getCString(), "Ada");
    s->release();
    // create() left it in the pool; draining the pool is what frees it, as at the end of a frame.
    cocos2d::AutoreleasePool::getInstance()->clear();
}

}  // namespace
