#pragma once

// The world screens on the real engine: the staged resource tree with its texts, the game's node
// classes, a fresh player with the shipped content packs in a temporary XDG data folder, and helpers
// that set a picture's or a country's record the way play would have left it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Driver.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "TextTable.h"
#include "UserData.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"
#include "ui/FactoryClasses.h"

namespace gallerytest {

inline void useResources(const std::string& dataHomeName) {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(std::string(KESTROVA_RESOURCE_DIR) + "/");
    files->setSearchPaths({"src", "res"});
    files->purgeCachedEntries();
    // Each test binary runs its tests as parallel processes: a folder of this process's own.
    const std::filesystem::path home(testing::Driver::scratchPath("xdg-" + dataHomeName));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    TextTable::getInstance().loadTexts("texts", "en", true);
    registerFactoryClasses();
}

// A new player with the shipped packs, its story begun, standing in the country.
inline Profile& freshPlayer(const std::string& country) {
    Settings::destroyInstance();
    UserData::getInstance().profiles.clear();
    Settings::getInstance().createUser(u"Tester");
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile.storyLevel = 3;
    profile.customCursor = false;
    profile.shownTutorials = {11, 12, 13, 14, 15, 16};
    profile.currentPicture.country = country;
    return profile;
}

inline PictureProgress& picture(const std::string& path) {
    return Settings::getInstance().getCurrentUser().world.pictures[path];
}

inline CountryProgress& country(const std::string& path) {
    return Settings::getInstance().getCurrentUser().world.countries[path];
}

// The country's thumbnails, as the gallery loads them before building its frames.
inline void loadThumbnails(const std::string& countryPath) {
    const std::string sheet = "Scenes/" + countryPath + "/icons";
    cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile(sheet + ".xml", sheet + ".jpg");
}

inline cocos2d::Scene* openScene() {
    cocos2d::Scene* scene = cocos2d::Scene::create();
    cocos2d::Director::getInstance()->replaceScene(scene);
    testing::Driver::get().stepFrames(1);
    return scene;
}

}  // namespace gallerytest
