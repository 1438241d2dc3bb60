#pragma once

#include <string>
#include <vector>

#include "engine/events/EventKeyboard.h"
#include "engine/math/Vec2.h"

#include "ui/ScreenBase.h"

class CountryListItemNode;
class NodeFromJson;
class ScrollViewSnap;

namespace cocos2d {
class Event;
class Node;
class Sprite;
}  // namespace cocos2d

// The map of countries: a painted world map with drifting clouds behind a snapping list of the
// current profile's countries. Locked countries are dark silhouettes; a country unlocked since the
// last visit is marked shown and the list starts on it. Tapping an open country opens its gallery.
// A new player's first visit shows the curator's first message and then the map tutorial.
class MapScreen : public ScreenBase {
public:
    static constexpr int kMapTutorial = 10;
    static constexpr int kRibbonTag = 1;
    static constexpr int kCaptionTag = 2;
    static constexpr int kIconTag = 3;
    static constexpr int kSilhouetteTag = 4;

    static MapScreen* create();
    ~MapScreen() override;

    bool init() override;
    void onEnter() override;
    void onEnterTransitionDidFinish() override;
    void update(float dt) override;
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode keyCode, cocos2d::Event* event) override;

    // Builds one item per country record of the profile into items, sorted by unlock order; marks
    // the countries found unlocked as shown and returns the last of them ("" when none).
    std::string buildCountryList(NodeFromJson& description, std::vector<CountryListItemNode*>& items);
    void onCountryPicked(cocos2d::Node* sender, cocos2d::Node* item);
    void showMapTutorial();

    ScrollViewSnap* getCountryList() const { return _countryList; }
    cocos2d::Node* getBackgrounds() const { return _backgrounds; }
    cocos2d::Sprite* getBackgroundMap() const { return _backgroundMap; }
    cocos2d::Sprite* getClouds() const { return _clouds; }
    const cocos2d::Vec2& getStartScrollPosition() const { return _startScrollPosition; }
    const std::string& getNewCountry() const { return _newCountry; }

protected:
    MapScreen() = default;

private:
    void setLockedLook(CountryListItemNode* item, float d);
    void releaseTextures();
    void addCloseButton();
    void goToGallery();

    cocos2d::Node* _backgrounds = nullptr;
    ScrollViewSnap* _countryList = nullptr;
    cocos2d::Sprite* _backgroundMap = nullptr;
    cocos2d::Sprite* _clouds = nullptr;
    cocos2d::Node* _faderPlace = nullptr;
    float _lastListX = 0.0f;
    cocos2d::Vec2 _startScrollPosition;
    std::string _newCountry;
};
