#include "nodes/MuseumStatistic.h"

#include <new>

#include "ProgressQueries.h"
#include "Settings.h"
#include "TextTable.h"
#include "engine/2d/Label.h"
#include "engine/base/Log.h"
#include "engine/base/StringUtils.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/ui/Button.h"
#include "ui/PopupScreenBase.h"

namespace {

constexpr int kCoinIconTag = 7;
constexpr float kIconShare = 0.62f;
const cocos2d::Color3B kShortOfMoney(255, 0, 0);
const cocos2d::Color3B kPaidBalance(2, 105, 78);

std::string uiText(const std::string& id) {
    return TextTable::getInstance().getText("ui", id);
}

void setLabel(cocos2d::Node* owner, const std::string& name, const std::string& text) {
    if (auto* label = dynamic_cast<cocos2d::Label*>(owner->getChildByName(name))) {
        label->setString(text);
    }
}

}  // namespace

MuseumStatistic* MuseumStatistic::create() {
    auto* panel = new (std::nothrow) MuseumStatistic();
    if (panel != nullptr && panel->init()) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

MuseumStatistic::~MuseumStatistic() {
    cocos2d::log("=== %s ===\n", "MuseumStatistic::~MuseumStatistic");
}

void MuseumStatistic::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    if (auto* close = dynamic_cast<cocos2d::ui::Button*>(getChildByName("CloseButton"))) {
        close->addClickEventListener([this](cocos2d::Ref*) { onClose(); });
    }
    setLabel(this, "museum_stat_caption", uiText("museum_stat_caption"));
    setCascadeOpacityEnabled(true);
    setPosition(cocos2d::Vec2::ZERO);
    fillStatistics();
}

std::string MuseumStatistic::formatTime(float seconds) {
    const int minutes = static_cast<int>(seconds / 60.0f);
    const int rest = static_cast<int>(seconds) % 60;
    return cocos2d::StringUtils::format("%d:%s%d", minutes, rest < 10 ? "0" : "", rest);
}

void MuseumStatistic::fillStatistics() {
    const Profile profile = Settings::getInstance().getCurrentUser();
    const int32_t money = profile.money;
    const std::string& countryPath = profile.currentPicture.country;
    const PackCountry* packCountry = findPackCountry(countryPath);

    float time = 0.0f;
    int32_t restored = 0;
    int32_t mistakes = 0;
    int32_t drops = 0;
    int32_t paintings = 0;
    int32_t total = 0;
    if (packCountry != nullptr) {
        total = static_cast<int32_t>(packCountry->pictures.size());
        for (const PackPicture& picture : packCountry->pictures) {
            auto found = profile.world.pictures.find(picture.path);
            if (found == profile.world.pictures.end()) {
                continue;
            }
            const PictureProgress& record = found->second;
            time += record.time;
            restored += record.restoredCount;
            mistakes += record.mistakes;
            drops += record.dropsUsed;
            if (record.earnedTotal > 0) {
                ++paintings;
            }
        }
    }

    _price = Settings::getInstance().getCurrentUser().world.countries[countryPath].collectionPrice;
    const bool completed = isCountryCompleted(countryPath);

    const std::string timeText = formatTime(time);
    setLabel(this, "stat_1", uiText("stat_restoration_time") + ": " + timeText);
    setLabel(this, "stat_2", cocos2d::StringUtils::format("%s %d", uiText("stat_artifacts_found").c_str(), restored));
    setLabel(this, "stat_3", cocos2d::StringUtils::format("%s: %d", uiText("stat_wrong_moves").c_str(), mistakes));
    setLabel(this, "stat_4", cocos2d::StringUtils::format("%s: %d", uiText("stat_drops_used").c_str(), drops));
    setLabel(this, "stat_5", cocos2d::StringUtils::format("%s: %d / %d", uiText("stat_restored_pictures").c_str(),
                                                          paintings, total));
    setLabel(this, "stat_6",
             cocos2d::StringUtils::format(
                 "%s $ %d", uiText(completed ? "stat_museum_balance" : "stat_museum_need").c_str(), _price));

    if (auto* balance = dynamic_cast<cocos2d::Label*>(getChildByName("stat_7"))) {
        if (completed) {
            balance->removeFromParentAndCleanup(true);
            if (cocos2d::Node* icons = getChildByName("icons")) {
                icons->removeChildByTag(kCoinIconTag, true);
            }
        } else {
            balance->setString(
                cocos2d::StringUtils::format("%s $ %d", uiText("stat_player_balance").c_str(), money));
            if (money < _price) {
                balance->setColor(kShortOfMoney);
            }
        }
    }

    if (auto* pay = dynamic_cast<cocos2d::ui::Button*>(getChildByName("pay"))) {
        if (money >= _price && !completed) {
            pay->addClickEventListener([this](cocos2d::Ref* sender) { onPay(sender); });
            pay->setTitleText(uiText("btn_pay"));
        } else {
            pay->removeFromParentAndCleanup(true);
        }
    }

    cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("ui/Map/Icons_atlas.xml",
                                                                      "ui/Map/Icons_atlas.png");
    cocos2d::Sprite* icon = cocos2d::Sprite::createWithSpriteFrameName(countryPath + "_icon.png");
    cocos2d::Node* place = getChildByName("country_icon");
    if (icon != nullptr && place != nullptr) {
        place->addChild(icon);
        if (cocos2d::Node* back = getChildByName("back")) {
            const float most = kIconShare * back->getContentSize().height;
            const float height = icon->getContentSize().height;
            if (height > most) {
                icon->setScale(most / height);
            }
        }
    }
}

void MuseumStatistic::onPay(cocos2d::Ref*) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    const int32_t money = profile.money;
    // Checked again: the money may have changed since the button was offered.
    if (money - _price >= 0) {
        profile.money = money - _price;
        if (auto* balance = dynamic_cast<cocos2d::Label*>(getChildByName("stat_7"))) {
            balance->setString(cocos2d::StringUtils::format("%s $ %d", uiText("stat_player_balance").c_str(),
                                                            profile.money));
            balance->setColor(kPaidBalance);
        }
        _result = completeCollection() ? kPaidAndUnlocked : kPaidNothingUnlocked;
    }
    if (_callback) {
        _callback(_result);
    }
    closeContainer();
}

void MuseumStatistic::onClose() {
    if (_callback) {
        _callback(_result);
    }
    closeContainer();
}

void MuseumStatistic::closeContainer() {
    if (auto* container = dynamic_cast<PopupScreenBase*>(getParent())) {
        container->close();
    }
}

bool MuseumStatistic::completeCollection() {
    Profile& profile = Settings::getInstance().getCurrentUser();
    const std::string countryPath = profile.currentPicture.country;
    const PackCountry* packCountry = findPackCountry(countryPath);
    bool unlocked = false;
    // A country without pictures has no last picture to continue from: nothing unlocks.
    if (packCountry != nullptr && !packCountry->pictures.empty()) {
        unlocked = unlockNextPicture(packCountry->pictures.back().path);
    }
    if (!unlocked) {
        profile.progressIndex += 1;
    }
    setCountryState(countryPath, static_cast<int32_t>(CountryState::Completed));
    return unlocked;
}
