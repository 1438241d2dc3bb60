#pragma once

// The set-up of the tests that play a level screen as the game shows it: English texts, the
// always-on-top layer over every scene as the launch installs it, the staged resources and a data
// folder of each suite's own. TearDown leaves an empty scene and forgets the player and the sound.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "BoardTestStage.h"
#include "Driver.h"
#include "GameSound.h"
#include "PictureKey.h"
#include "Profile.h"
#include "ScreenTestSupport.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Scene.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"
#include "ui/FactoryClasses.h"
#include "nodes/LevelNode.h"
#include "ui/GameScreen.h"
#include "ui/TopLayer.h"

namespace screentest {

class LevelScreenFixture : public ::testing::Test {
protected:
    // For each suite's SetUpTestSuite.
    static void setUpSuite(const std::string& dataHome) {
        boardtest::useResources();
        boardtest::useTemporaryDataHome(dataHome);
        registerFactoryClasses();
    }

    void SetUp() override {
        std::srand(11);
        loadEnglishTexts();
        top = TopLayer::create();
        ASSERT_NE(top, nullptr);
        cocos2d::Director::getInstance()->setNotificationNode(top);
        top->onEnter();
    }

    void TearDown() override {
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        testing::Driver::get().stepFrames(2);
        screen = nullptr;
        held = nullptr;
        if (top != nullptr) {
            top->onExit();
        }
        cocos2d::Director::getInstance()->setNotificationNode(nullptr);
        // A test may have searched an override folder first.
        boardtest::useResources();
        Settings::destroyInstance();
        GameSound::destroyInstance();
    }

    // A player with the content packs read, at a story level, on a picture, with the system cursor.
    static Profile& playerOn(int storyLevel, const std::string& country, const std::string& picture) {
        Profile& profile = boardtest::freshProfile(storyLevel, country, picture);
        Settings::getInstance().initNewProfile(profile);
        profile.storyLevel = storyLevel;
        profile.currentPicture = PictureKey{country, picture};
        profile.customCursor = false;
        return profile;
    }

    // A new level screen of the current picture, on a scene of its own that replaces the running one
    // with the next frame; null when it cannot be made.
    GameScreen* showLevel() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        screen = GameScreen::create();
        held = screen;
        if (screen == nullptr) {
            return nullptr;
        }
        scene->addChild(screen);
        cocos2d::Director::getInstance()->replaceScene(scene);
        return screen;
    }

    NodeLevel* level() const { return screen->getBoard()->getNodeLevel(); }

    // A point of the picture away from every item and every damage: a drop there is a miss.
    cocos2d::Vec2 bareCanvas() const {
        const cocos2d::Size size = level()->getContentSize();
        for (float y = 60; y < size.height - 60; y += 20) {
            for (float x = 60; x < size.width - 60; x += 20) {
                const cocos2d::Rect probe(x - 50, y - 50, 100, 100);
                bool free = true;
                for (auto& [name, it] : level()->getItems()) {
                    free = free && !it->getBoundingBox().intersectsRect(probe);
                }
                for (EraseableGameObject* damage : level()->getDamageList()) {
                    free = free && !damage->getBoundingBox().intersectsRect(probe);
                }
                if (free) {
                    return level()->convertToWorldSpace(cocos2d::Vec2(x, y));
                }
            }
        }
        ADD_FAILURE() << "no bare canvas";
        return cocos2d::Vec2(640, 405);
    }

    TopLayer* top = nullptr;
    GameScreen* screen = nullptr;
    // Keeps the level readable after it has been left.
    cocos2d::RefPtr<GameScreen> held;
};

}  // namespace screentest
