#pragma once

// A restoration board on the real engine for the board's integration tests: the staged resource tree,
// a fresh profile in a temporary XDG data folder, the "ui/Game" sheets the HUD would have loaded, and
// a screen-sized picture area centred on the view as the level screen lays it out.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Driver.h"
#include "ItemPoints.h"
#include "PictureKey.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"
#include "nodes/LevelNode.h"

namespace boardtest {

inline void useResources() {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    files->setSearchPaths({"src", "res"});
}

// A folder of this process's own (ctest runs the tests of a binary as parallel processes).
inline std::filesystem::path privateFolder(const std::string& name) {
    return std::filesystem::path(testing::Driver::scratchPath(name));
}

// A fresh XDG data folder, so no test reads or writes a real save.
inline void useTemporaryDataHome(const std::string& name) {
    const std::filesystem::path home = privateFolder("xdg-" + name);
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
}

// The pictures' prices as the content pack gives them, put into the profile by hand.
inline void addPackPicture(Profile& profile, const std::string& country, const std::string& picture,
                           int coins) {
    if (profile.packs.empty()) {
        profile.packs.emplace_back();
    }
    PackInfo& pack = profile.packs.front();
    PackCountry* found = nullptr;
    for (PackCountry& c : pack.countries) {
        if (c.path == country) {
            found = &c;
        }
    }
    if (found == nullptr) {
        pack.countries.emplace_back();
        found = &pack.countries.back();
        found->path = country;
    }
    PackPicture entry;
    entry.path = picture;
    entry.coins = coins;
    found->pictures.push_back(entry);
}

struct Event {
    std::string what;
    std::string name;
    cocos2d::Vec2 position;
    int value = 0;
};

class Stage {
public:
    Stage() {
        scene = cocos2d::Scene::create();
        cocos2d::Director* director = cocos2d::Director::getInstance();
        screen = cocos2d::Node::create();
        const cocos2d::Size visible = director->getVisibleSize();
        screen->setPosition(director->getVisibleOrigin() +
                            cocos2d::Vec2(visible.width, visible.height) * 0.5f);
        scene->addChild(screen);
        director->replaceScene(scene);
        cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("ui/Game/UI_atlas.xml");
        cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("ui/Game/Parts_atlas.xml");
        driver().stepFrames(1);
    }

    ~Stage() { close(); }

    static testing::Driver& driver() { return testing::Driver::get(); }

    // Builds a board over a new picture area; the board keeps its level until close().
    // The area is screen-sized, or without a size as the UI loader makes containers.
    GameBoard* open(const std::string& picturePath, bool sizedArea = true) {
        close();
        board = GameBoard::create();
        area = cocos2d::Node::create();
        if (sizedArea) {
            area->setContentSize(cocos2d::Size(1280, 810));
            area->setAnchorPoint(cocos2d::Vec2(0.5f, 0.5f));
        }
        board->setup(area, picturePath);
        screen->addChild(board);
        bindCallbacks();
        driver().stepFrames(1);
        return board;
    }

    void close() {
        if (board != nullptr) {
            board->removeFromParent();
            board = nullptr;
            driver().stepFrames(1);
        }
    }

    void bindCallbacks() {
        board->setOnItemHit([this](HiddenObject* item, cocos2d::Vec2 p) {
            events.push_back({"hit", item->getName(), p});
        });
        board->setOnItemErased([this](HiddenObject* item, cocos2d::Vec2 p) {
            events.push_back({"erased", item->getName(), p});
        });
        board->setOnDamageFixed([this](EraseableGameObject* damage, cocos2d::Vec2 p) {
            events.push_back({"fixed", damage->getFrameName(), p, static_cast<int>(damage->getKind())});
        });
        board->setOnMiss([this](cocos2d::Vec2 p, ToolState tool) {
            events.push_back({"miss", "", p, static_cast<int>(tool)});
        });
        board->setOnHintShown([this](cocos2d::Vec2 p) { events.push_back({"hint", "", p}); });
        board->setOnToolChange([this](int tool, bool flag) {
            events.push_back({"tool", flag ? "true" : "false", {}, tool});
            if (followToolChange) {
                board->selectTool(tool);
            }
        });
        board->setOnIdle([this] { events.push_back({"idle", "", {}}); });
    }

    std::vector<std::string> eventNames() const {
        std::vector<std::string> names;
        for (const Event& e : events) {
            names.push_back(e.what);
        }
        return names;
    }

    NodeLevel* level() const { return board->getNodeLevel(); }

    HiddenObject* item(const std::string& name) const {
        auto& items = level()->getItems();
        auto found = items.find(name);
        return found == items.end() ? nullptr : found->second;
    }

    // The world point of a level-node point.
    cocos2d::Vec2 world(const cocos2d::Vec2& levelPoint) const {
        return level()->convertToWorldSpace(levelPoint);
    }

    cocos2d::Vec2 centreOf(const cocos2d::Node* node) const {
        const cocos2d::Rect box = node->getBoundingBox();
        return world(cocos2d::Vec2(box.getMidX(), box.getMidY()));
    }

    // A world point on an opaque part of an item's hit mask, nearest its centre.
    cocos2d::Vec2 maskPoint(HiddenObject* item) const {
        EXPECT_NE(item->getHitMask(), nullptr) << item->getName();
        return testing::maskPoint(item);
    }

    // A touch from `from` to `to` in `steps` moves, then lifted there.
    void stroke(const cocos2d::Vec2& from, const cocos2d::Vec2& to, int steps = 8) {
        driver().touchBegan(from);
        driver().stepFrames(1);
        for (int i = 1; i <= steps; ++i) {
            driver().touchMoved(from + (to - from) * (static_cast<float>(i) / steps));
            driver().stepFrames(1);
        }
        driver().touchEnded(to);
        driver().stepFrames(1);
    }

    // Rubs the whole bounding box of a node in one touch, row by row.
    void rub(const cocos2d::Node* node, float spacing = 8.0f) {
        const cocos2d::Rect box = node->getBoundingBox();
        const cocos2d::Vec2 start = world(cocos2d::Vec2(box.getMinX() + 2, box.getMinY() + 2));
        driver().touchBegan(start);
        driver().stepFrames(1);
        bool right = true;
        for (float y = box.getMinY() + 2; y < box.getMaxY(); y += spacing) {
            const float x0 = right ? box.getMinX() + 2 : box.getMaxX() - 2;
            const float x1 = right ? box.getMaxX() - 2 : box.getMinX() + 2;
            for (int i = 0; i <= 6; ++i) {
                driver().touchMoved(world(cocos2d::Vec2(x0 + (x1 - x0) * i / 6.0f, y)));
                driver().stepFrames(1);
            }
            right = !right;
        }
        driver().touchEnded(world(cocos2d::Vec2(box.getMidX(), box.getMaxY() - 2)));
        driver().stepFrames(1);
    }

    void wait(float seconds) { driver().stepFrames(static_cast<int>(seconds * 60.0f) + 1); }

    cocos2d::Scene* scene = nullptr;
    cocos2d::Node* screen = nullptr;
    cocos2d::Node* area = nullptr;
    GameBoard* board = nullptr;
    std::vector<Event> events;
    bool followToolChange = false;
};

// The profile the board reads: story level and current picture, nothing else from earlier tests.
inline Profile& freshProfile(int storyLevel, const std::string& country, const std::string& picture) {
    Settings::destroyInstance();
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile = Profile();
    profile.storyLevel = storyLevel;
    profile.currentPicture = PictureKey{country, picture};
    return profile;
}

}  // namespace boardtest
