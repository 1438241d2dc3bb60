#include "ScreenStage.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "DefectTools.h"
#include "Driver.h"
#include "FrameWaits.h"
#include "ItemPoints.h"
#include "RunningScreen.h"
#include "engine/base/Director.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Widget.h"

#include "AppDelegate.h"
#include "CountryProgress.h"
#include "DataPackReader.h"
#include "GameSound.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"
#include "nodes/LevelNode.h"
#include "nodes/RestoreToolSelector.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/GalleryScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"

namespace testing {

using cocos2d::Director;
using cocos2d::Vec2;

namespace {

Driver& driver() {
    return Driver::get();
}

Vec2 centreOf(const cocos2d::Node* node) {
    const cocos2d::Size size = node->getContentSize();
    return node->convertToWorldSpace(Vec2(size.width / 2.0f, size.height / 2.0f));
}

void replaceWith(cocos2d::Node* screen) {
    cocos2d::Scene* scene = cocos2d::Scene::create();
    scene->addChild(screen);
    Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, scene));
}

using testing::toolFor;

void chooseTool(GameScreen* level, int tool) {
    RestoreToolSelector* tools = level->getToolBar();
    if (tools == nullptr || tools->getCurrent() == tool || tools->getButton(tool) == nullptr) {
        return;
    }
    driver().tap(centreOf(tools->getButton(tool)));
    driver().stepFrames(2);
}

}  // namespace

ScreenStage::ScreenStage() = default;

ScreenStage::~ScreenStage() {
    close();
}

bool ScreenStage::launch(const std::string& resourceDir, const std::string& scratch) {
    ::setenv("XDG_DATA_HOME", scratch.c_str(), 1);
    cocos2d::Application::setAppName("Kestrova");
    cocos2d::FileUtils::getInstance()->setResourceRoot(resourceDir + "/");
    cocos2d::FileUtils::getInstance()->setSearchPaths({});
    cocos2d::FileUtils::getInstance()->purgeCachedEntries();
    UserData::getInstance() = UserData{};
    Settings::destroyInstance();
    TextTable::destroyInstance();
    GameSound::destroyInstance();
    _app = std::make_unique<AppDelegate>();
    if (!driver().launch(*_app)) {
        _app.reset();
        return false;
    }
    // A player some pictures into the story, every lesson and the map's first message behind them.
    Settings& settings = Settings::getInstance();
    settings.createUser(u"Tester");
    Profile& player = settings.getCurrentUser();
    DataPackReader::getInstance().load("Scenes", settings.getLanguage(), player);
    player.storyLevel = 5;
    player.fullscreen = false;
    player.shownTutorials = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    player.currentPicture = PictureKey{"USA", "HarborDawn"};
    player.world.countries["USA"].state = static_cast<int32_t>(CountryState::Opened);
    settings.applyProfileSettings();
    return true;
}

void ScreenStage::endStroke() {
    if (_level != nullptr) {
        driver().touchEnded(_strokeCentre);
        driver().stepFrames(1);
    }
    _level = nullptr;
}

void ScreenStage::close() {
    endStroke();
    if (_app) {
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
    }
    _app.reset();
}

MapScreen* ScreenStage::showMap() {
    endStroke();
    MapScreen* map = MapScreen::create();
    if (map == nullptr) {
        return nullptr;
    }
    replaceWith(map);
    map = stepUntilRunning<MapScreen>(3.0f);
    settleFrames(30);
    return map;
}

GalleryScreen* ScreenStage::showGallery() {
    MapScreen* map = runningScreen<MapScreen>();
    if (map == nullptr) {
        map = showMap();
    }
    if (map == nullptr || map->getCountryList() == nullptr || map->getCountryList()->getCurrentItem() == nullptr) {
        return nullptr;
    }
    // The player's own way in: the country tapped on the map.
    cocos2d::Node* country = map->getCountryList()->getCurrentItem();
    driver().tap(country->getParent()->convertToWorldSpace(country->getPosition()));
    driver().stepFrames(1);
    GalleryScreen* gallery = stepUntilRunning<GalleryScreen>(3.0f);
    if (gallery == nullptr ||
        !stepUntil(
            "the gallery to open its input", [gallery] { return !gallery->isInputLocked(); }, 10.0f)) {
        return nullptr;
    }
    settleFrames(60);
    return gallery;
}

GameScreen* ScreenStage::showLevelWithStroke() {
    endStroke();
    GameScreen* level = GameScreen::create();
    if (level == nullptr) {
        return nullptr;
    }
    replaceWith(level);
    level = stepUntilRunning<GameScreen>(3.0f);
    if (level == nullptr || level->getBoard() == nullptr || level->getBoard()->getNodeLevel() == nullptr) {
        return nullptr;
    }
    settleFrames(90);  // the opening: panels slide in, input opens at 1.4 s

    // The largest item (a stroke in small circles does not finish it): a drop reveals it, then its own
    // tool goes down on it.
    HiddenObject* item = nullptr;
    for (const auto& entry : level->getBoard()->getNodeLevel()->getItems()) {
        if (item == nullptr || entry.second->getArea() > item->getArea()) {
            item = entry.second;
        }
    }
    if (item == nullptr) {
        return nullptr;
    }
    chooseTool(level, 1);
    driver().tap(maskPoint(item));
    driver().stepFrames(30);
    chooseTool(level, toolFor(item->getKind()));
    _strokeCentre = maskPoint(item);
    _strokeStep = 0;
    driver().touchBegan(_strokeCentre);
    driver().stepFrames(1);
    _level = level;
    for (int i = 0; i < 10; ++i) {
        moveStroke();
        driver().stepFrames(1);
    }
    return level;
}

void ScreenStage::moveStroke() {
    if (_level == nullptr) {
        return;
    }
    // Small circles about the first point: the stroke goes on rubbing without finishing the item.
    const float angle = static_cast<float>(_strokeStep++) * 0.35f;
    driver().touchMoved(_strokeCentre + Vec2(std::cos(angle), std::sin(angle)) * 4.0f);
}

}  // namespace testing
