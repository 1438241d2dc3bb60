#pragma once

// Shared by the screen tests: the staged resource tree, the texts, a white scene whose own listener
// counts the touches that reach it, colour probes and log searches.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

#include "TextTable.h"

namespace screentest {

// The first child of `parent` that is a T, or null (also for a null parent).
template <typename T>
T* childOf(cocos2d::Node* parent) {
    if (parent == nullptr) {
        return nullptr;
    }
    for (cocos2d::Node* child : parent->getChildren()) {
        if (auto* found = dynamic_cast<T*>(child)) {
            return found;
        }
    }
    return nullptr;
}

// The staged tree as the game sees it, with an optional folder of overrides searched first.
inline void useStagedResources(const std::string& overrides = "") {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    std::vector<std::string> paths;
    if (!overrides.empty()) {
        paths.push_back(overrides);
    }
    paths.push_back("src");
    paths.push_back("res");
    files->setSearchPaths(paths);
    files->purgeCachedEntries();
}

inline void loadEnglishTexts() {
    TextTable::getInstance().loadTexts("texts", "en", true);
}

inline cocos2d::Color4B colourAt(const cocos2d::Vec2& design) {
    cocos2d::RefPtr<cocos2d::Image> image =
        testing::Driver::get().readPixels(cocos2d::Rect(design.x - 1, 810.0f - design.y - 1, 2, 2));
    return image ? image->getPixel(1, 1) : cocos2d::Color4B(0, 0, 0, 0);
}

inline bool hasLine(const std::vector<std::string>& log, const std::string& line) {
    for (const std::string& l : log) {
        if (l == line) {
            return true;
        }
    }
    return false;
}

inline int countLinesStartingWith(const std::vector<std::string>& log, const std::string& start) {
    int n = 0;
    for (const std::string& l : log) {
        if (l.rfind(start, 0) == 0) {
            ++n;
        }
    }
    return n;
}

// A running scene of one white full-screen layer that claims every touch reaching it.
struct WhiteScene {
    cocos2d::Scene* scene = nullptr;
    cocos2d::LayerColor* layer = nullptr;
    int touches = 0;

    void open() {
        scene = cocos2d::Scene::create();
        layer = cocos2d::LayerColor::create(cocos2d::Color4B(255, 255, 255, 255), 1280, 810);
        scene->addChild(layer);
        auto* listener = cocos2d::EventListenerTouchOneByOne::create();
        listener->onTouchBegan = [this](cocos2d::Touch*, cocos2d::Event*) {
            ++touches;
            return true;
        };
        cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(
            listener, layer);
        cocos2d::Director::getInstance()->replaceScene(scene);
        testing::Driver::get().stepFrames(2);
    }
};

}  // namespace screentest
