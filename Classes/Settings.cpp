#include "Settings.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLView.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/scene/TransitionFade.h"
#include "engine/services/DesktopServices.h"

#include "Constants.h"
#include "CountryProgress.h"
#include "DataPackReader.h"
#include "EvidenceBook.h"
#include "GameSound.h"
#include "MinigameKind.h"
#include "PictureProgress.h"
#include "Shuffle.h"
#include "UserData.h"
#include "UserDataIO.h"
#include "WideString.h"
#include "ui/IntroScene.h"
#include "ui/TopLayer.h"

namespace {

std::unique_ptr<Settings>& instanceSlot() {
    static std::unique_ptr<Settings> instance;
    return instance;
}

// Entries of each kind in a new profile's minigame order, kinds 0 to 4.
constexpr std::array<int32_t, kMinigameKindCount> kMinigameOrderEntries = {8, 8, 8, 0, 50};

// The program's icon in the resource tree.
constexpr const char* kWindowIconFile = "icon.png";
// Where an exported wallpaper goes when the pictures folder takes no copy, relative to the current
// directory.
constexpr const char* kWallpaperFallbackFolder = "Wallpaper/";

// The desktop window, when the director has one (tools and unit tests run with none or a headless
// view).
cocos2d::GLViewImpl* desktopView() {
    return dynamic_cast<cocos2d::GLViewImpl*>(cocos2d::Director::getInstance()->getOpenGLView());
}

}  // namespace

Settings& Settings::getInstance() {
    std::unique_ptr<Settings>& instance = instanceSlot();
    if (!instance) {
        instance = std::make_unique<Settings>();
    }
    return *instance;
}

void Settings::destroyInstance() {
    instanceSlot().reset();
}

Settings::~Settings() = default;

void Settings::applyDesignResolution(cocos2d::GLView* view) {
    view->setDesignResolutionSize(kDesignSize.width, kDesignSize.height, cocos2d::ResolutionPolicy::SHOW_ALL);
}

Profile& Settings::getCurrentUser() {
    UserData& store = UserData::getInstance();
    return store.profiles[store.currentUserName];
}

void Settings::createUser(const std::u16string& name) {
    Profile profile;
    profile.name = name;
    initNewProfile(profile);
    UserData& store = UserData::getInstance();
    store.profiles[name] = std::move(profile);
    store.currentUserName = name;
}

void Settings::initNewProfile(Profile& profile) {
    profile.currentPicture.country.clear();
    profile.reservedTitle = u"Kestrova";
    profile.cursorName = "cursor_0";
    profile.storyLevel = -1;
    profile.money = 0;
    profile.reservedValueA = 0;
    profile.progressIndex = -1;
    profile.customCursor = true;
    profile.musicVolume = 0.4f;
    profile.soundVolume = 1.0f;
    profile.fullscreen = true;
    profile.minigameLevels.insert(profile.minigameLevels.end(), kMinigameKindCount, 0);
    initMinigameOrder(profile.minigameOrder);
    DataPackReader::getInstance().load("Scenes", getLanguage(), profile);
}

void Settings::createUserAndStart(const std::u16string& name) {
    createUser(name);
    applyCurrentUser();
    DataPackReader::getInstance().load("Scenes", getLanguage(), getCurrentUser());
    // Without a view there is no screen to show the slideshow on (the service also runs headless).
    if (cocos2d::Director::getInstance()->getOpenGLView() == nullptr) {
        return;
    }
    if (IntroScene* intro = IntroScene::create()) {
        intro->startIntro();
        cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, intro));
    }
}

void Settings::initMinigameOrder(std::vector<MinigameLevel>& order) {
    for (int32_t kind = 0; kind < kMinigameKindCount; ++kind) {
        for (int32_t i = 0; i < kMinigameOrderEntries[static_cast<size_t>(kind)]; ++i) {
            order.push_back(MinigameLevel{kind, 0});
        }
    }
    shuffleWithRand(order.begin(), order.end());
    std::array<int32_t, kMinigameKindCount> nextLevel{};
    for (MinigameLevel& entry : order) {
        if (entry.kind >= 0 && entry.kind < kMinigameKindCount) {
            entry.level = nextLevel[static_cast<size_t>(entry.kind)]++;
        }
    }
}

bool Settings::deleteUser(const std::u16string& name) {
    if (name.empty()) {
        return false;
    }
    return UserData::getInstance().profiles.erase(name) != 0;
}

void Settings::ensureDefaultUser() {
    if (UserData::getInstance().profiles.empty()) {
        createUser(u"");
    }
}

bool Settings::userExists(const std::u16string& name) const {
    return UserData::getInstance().profiles.count(name) != 0;
}

void Settings::getUserNames(std::vector<std::u16string>& out, bool sorted) const {
    const size_t first = out.size();
    for (const auto& [key, profile] : UserData::getInstance().profiles) {
        if (!profile.name.empty()) {
            out.push_back(profile.name);
        }
    }
    if (sorted) {
        std::sort(out.begin() + static_cast<std::ptrdiff_t>(first), out.end());
    }
}

bool Settings::selectUser(const std::u16string& name, bool apply) {
    UserData& store = UserData::getInstance();
    if (store.profiles.count(name) == 0 || name == store.currentUserName) {
        return false;
    }
    store.currentUserName = name;
    // A player who was not current at launch gets the pack versions that came since, as the current
    // player did at launch, before the save writes them.
    DataPackReader::getInstance().load("Scenes", getLanguage(), getCurrentUser());
    if (apply) {
        applyCurrentUser();
    }
    UserDataIO::saveUserData();
    return true;
}

void Settings::applyProfileSettings() {
    const Profile& profile = getCurrentUser();
    setMusicVolume(profile.musicVolume);
    setSoundVolume(profile.soundVolume);
    setCustomCursorEnabled(profile.customCursor);
    _fullscreen = getCurrentUser().fullscreen;
}

void Settings::applyCurrentUser() {
    const Profile& profile = getCurrentUser();
    setMusicVolume(profile.musicVolume);
    setSoundVolume(profile.soundVolume);
    setFullscreen(profile.fullscreen);
    setCustomCursorEnabled(getCurrentUser().customCursor);
}

void Settings::setMusicVolume(float volume) {
    getCurrentUser().musicVolume = volume;
    GameSound::getInstance().setMusicVolume(volume);
}

void Settings::setSoundVolume(float volume) {
    getCurrentUser().soundVolume = volume;
    GameSound::getInstance().setSoundVolume(volume);
}

cocos2d::Node* Settings::getTopLayer() const {
    return cocos2d::Director::getInstance()->getNotificationNode();
}

TopLayer* Settings::topLayer() const {
    return dynamic_cast<TopLayer*>(getTopLayer());
}

void Settings::setCustomCursorEnabled(bool on) {
    if (TopLayer* layer = topLayer()) {
        layer->setCustomCursorEnabled(on);
    }
}

void Settings::setCursor(const std::string& name) {
    if (TopLayer* layer = topLayer()) {
        layer->setCursor(name);
    }
}

void Settings::applyUserCursor() {
    setCursor(getCurrentUser().cursorName);
}

void Settings::confirmExit() {
    GameSound::getInstance().playEffect("exit_confirmation", false);
    TopLayer* layer = topLayer();
    if (layer == nullptr) {
        return;
    }
    layer->showConfirmation("exit_game_confirm", [] {
        UserDataIO::saveUserData();
        // The director never calls the notification node's onExit: the layer is left by hand.
        if (auto* top = dynamic_cast<TopLayer*>(Settings::getInstance().getTopLayer())) {
            top->onExit();
        }
        cocos2d::Director::getInstance()->end();
    });
}

bool Settings::setFullscreen(bool on) {
    bool changed = false;
    cocos2d::GLViewImpl* view = desktopView();
    if (on != _fullscreen && view != nullptr) {
        if (on) {
            view->enterFullscreen();
            applyDesignResolution(view);
            changed = true;
        } else if (view->getFullscreenHeight() >= static_cast<int>(kDesignSize.height) ||
                   view->getFullscreenWidth() >= static_cast<int>(kDesignSize.width)) {
            const cocos2d::Size design = view->getDesignResolutionSize();
            view->setFrameSize(design.width, design.height);
            view->exitFullscreen(static_cast<int>(kDesignSize.width), static_cast<int>(kDesignSize.height));
            applyWindowIcon();
            applyDesignResolution(view);
            changed = true;
        }
    }
    _fullscreen = on;
    getCurrentUser().fullscreen = on;
    return changed;
}

void Settings::toggleFullscreen() {
    setFullscreen(!getCurrentUser().fullscreen);
}

void Settings::applyWindowIcon() {
    if (cocos2d::GLViewImpl* view = desktopView()) {
        view->setIcon(kWindowIconFile);
    }
}

std::u16string Settings::copyToPictures(const std::u16string& fileName, const std::u16string& folder) {
    const std::string source = narrow(folder + fileName);
    const std::string pictures = cocos2d::DesktopServices::getPicturesFolder();
    if (!pictures.empty()) {
        const std::string copy =
            cocos2d::DesktopServices::copyFile(source, pictures + "/" + narrow(fileName));
        if (!copy.empty()) {
            return widen(copy);
        }
    }
    return widen(cocos2d::DesktopServices::copyFile(source, kWallpaperFallbackFolder + narrow(fileName)));
}

bool Settings::setDesktopWallpaper(const std::u16string& path) {
    return cocos2d::DesktopServices::setDesktopWallpaper(narrow(path));
}

void Settings::save() {
    UserDataIO::saveUserData();
}

std::string Settings::getWritablePath() const {
    return cocos2d::FileUtils::getInstance()->getWritablePath();
}

const char* Settings::getLanguage() {
    if (_language.empty()) {
        cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
        std::string chosen;
        const bool hasFile = files->isFileExist("lang");
        if (hasFile) {
            chosen = files->getStringFromFile("lang");
        }
        if (chosen.size() != 2) {
            // Without a running application (tools, tests) the system language is unknown.
            cocos2d::Application* application = cocos2d::Application::getInstance();
            const std::string fileText = chosen;
            chosen = application != nullptr ? application->getCurrentLanguageCode() : "en";
            // The file is optional; one that is there but gives no code is a mistake worth a line.
            if (hasFile) {
                const std::string problem = fileText.empty() ? std::string("is empty or unreadable")
                                                             : "holds " + std::to_string(fileText.size()) +
                                                                   " characters, not a two-letter code";
                cocos2d::log("Settings: the language file \"lang\" %s; the system language \"%s\" is used",
                             problem.c_str(), chosen.c_str());
            }
        }
        _language = chosen;
    }
    return _language.c_str();
}

float Settings::getTextScale() {
    if (_textScale < 0.0f) {
        _textScale = std::string(getLanguage()) == "en" ? 1.0f : 0.9f;
    }
    return _textScale;
}

bool Settings::isTutorialShown(int32_t id) {
    const std::vector<int32_t>& shown = getCurrentUser().shownTutorials;
    return std::find(shown.begin(), shown.end(), id) != shown.end();
}

bool Settings::isMapChatShown(int32_t) {
    const std::vector<int32_t>& shown = getCurrentUser().shownChats;
    return std::find(shown.begin(), shown.end(), 1) != shown.end();
}

bool Settings::addEvidence(const std::string& name) {
    Profile& profile = getCurrentUser();
    if (name.empty() || profile.evidence.entries.count(name) != 0) {
        return false;
    }
    profile.evidence.entries[name] = EvidenceEntry{name, static_cast<int32_t>(EvidenceState::New)};
    profile.newestEvidence = name;
    return true;
}

void Settings::debugUnlockAll() {
    Profile& profile = getCurrentUser();
    for (auto& [path, country] : profile.world.countries) {
        country.state = static_cast<int32_t>(CountryState::Opened);
    }
    for (auto& [path, picture] : profile.world.pictures) {
        picture.state = static_cast<int32_t>(PictureState::Unlocked);
    }
    profile.currentPicture.country = "USA";
    profile.storyLevel = std::max(profile.storyLevel, 5);
}

std::string Settings::getFontPath(const std::string& name) const {
    const auto alias = _fontAliases.find(name);
    return "fonts/" + (alias != _fontAliases.end() ? alias->second : name) + ".ttf";
}

std::string Settings::getScenePath(const std::string& name) const {
    return "Scenes/" + name;
}

std::string Settings::formatScenePath(std::string name) const {
    return "Scenes/" + name;
}
