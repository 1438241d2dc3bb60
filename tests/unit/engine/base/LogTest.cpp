#include "engine/base/Log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(LogTest, SinkReceivesOneEntryPerCallWithoutDoubledNewline) {
    std::vector<std::string> lines;
    cocos2d::setLogSink([&](cocos2d::LogLevel, const std::string& line) { lines.push_back(line); });
    cocos2d::log("=== %s ===\n", "GameBoard::~GameBoard");
    cocos2d::log("playMusic %s", "Music/theme_1");
    cocos2d::setLogSink({});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "=== GameBoard::~GameBoard ===");
    EXPECT_EQ(lines[1], "playMusic Music/theme_1");
}

}  // namespace
