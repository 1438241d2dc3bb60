#pragma once

// Shared by the minigame unit tests: a real temporary resource root holding level files, the log
// lines a test produced, and a clean current profile.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/platform/FileUtils.h"

#include "../SaveTestSupport.h"

namespace minigametest {

class LevelFileFixture : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::FileUtils::destroyInstance();
        cocos2d::FileUtils::getInstance()->setResourceRoot(_folder.path());
        std::filesystem::create_directories(_folder.file("minigamelevels"));
        savetest::resetGameState();
    }
    void TearDown() override {
        cocos2d::FileUtils::destroyInstance();
        savetest::resetGameState();
    }

    // A file of the resource root, by its path in the tree ("minigamelevels/ColorMatch_0.xml").
    void writeResource(const std::string& path, const std::string& text) {
        savetest::writeFileText(_folder.file(path), text);
    }

    // Lines that start with "Load ": the level readers' failure reports.
    static std::vector<std::string> loadLines(const savetest::LogCapture& log) {
        std::vector<std::string> lines;
        for (const std::string& line : log.lines) {
            if (line.rfind("Load ", 0) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }

private:
    savetest::TempFolder _folder;
};

}  // namespace minigametest
