#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/GLView.h"

namespace enginetest {

constexpr float kFrame = 1.0f / 60.0f;

// A fresh director over a windowless view with the game's design resolution, for each test.
class HeadlessEngine : public ::testing::Test {
protected:
    void SetUp() override {
        cocos2d::Director::destroyInstance();
        auto* director = cocos2d::Director::getInstance();
        cocos2d::GLView* view = cocos2d::GLView::createHeadless(1280, 810);
        view->setDesignResolutionSize(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
        director->setOpenGLView(view);
    }

    void TearDown() override {
        cocos2d::setLogSink({});
        cocos2d::Director::destroyInstance();
    }

    static cocos2d::Director* director() { return cocos2d::Director::getInstance(); }

    static void step(int frames = 1, float dt = kFrame) {
        for (int i = 0; i < frames; ++i) {
            director()->stepFrame(dt);
        }
    }

    // Collects log lines from now until the test ends.
    std::vector<std::string>& captureLog() {
        _log.clear();
        cocos2d::setLogSink([this](cocos2d::LogLevel, const std::string& line) { _log.push_back(line); });
        return _log;
    }

private:
    std::vector<std::string> _log;
};

}  // namespace enginetest
