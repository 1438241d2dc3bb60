#include "nodes/PictureDetails.h"

#include <new>

#include "GameSound.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "TextTable.h"
#include "WideString.h"
#include "engine/2d/Label.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/RemoveSelf.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/StringUtils.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Button.h"
#include "engine/ui/RichElement.h"
#include "engine/ui/RichText.h"
#include "ui/GameScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"
#include "ui/TopLayer.h"

using cocos2d::Label;
using cocos2d::Node;
using cocos2d::ui::RichElementCustomNode;
using cocos2d::ui::RichElementText;
using cocos2d::ui::RichText;

const cocos2d::Color3B PictureDetails::kHighlight(146, 47, 68);
const cocos2d::Color3B PictureDetails::kStoryTitle(249, 243, 222);

namespace {

constexpr int kThumbnailGroupTag = 1;
constexpr int kCardGroupTag = 2;
constexpr int kStoryGroupTag = 3;
constexpr const char* kProductName = "Kestrova";

std::string text(const std::string& section, const std::string& id) {
    return TextTable::getInstance().getText(section, id);
}

Label* makeLabel(const std::string& content, const Label* style, float size, const cocos2d::Color3B& colour) {
    Label* label = Label::createWithTTF(content, style->getTTFConfig().fontFilePath, size,
                                        cocos2d::Size(style->getDimensions().width, 0.0f),
                                        cocos2d::TextHAlignment::LEFT, cocos2d::TextVAlignment::TOP);
    if (label != nullptr) {
        label->setColor(colour);
    }
    return label;
}

// A rich text in the template's place and box, the template itself replaced by it.
RichText* replaceTemplate(Label* style) {
    RichText* rich = RichText::create();
    rich->setPosition(style->getPosition());
    rich->ignoreContentAdaptWithSize(false);
    rich->setContentSize(style->getDimensions());
    Node* group = style->getParent();
    style->removeFromParentAndCleanup(true);
    group->addChild(rich);
    return rich;
}

}  // namespace

PictureDetails* PictureDetails::create() {
    auto* details = new (std::nothrow) PictureDetails();
    if (details != nullptr && details->init()) {
        details->autorelease();
        return details;
    }
    delete details;
    return nullptr;
}

PictureDetails::~PictureDetails() {
    cocos2d::log("=== %s ===\n", "PictureDetails::~PictureDetails");
}

std::string PictureDetails::wallpaperFileName(const std::string& picture) {
    return cocos2d::StringUtils::format("%s_%s.jpg", kProductName, picture.c_str());
}

void PictureDetails::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    if (Node* closeGroup = getChildByName("closeGroup")) {
        if (auto* close = dynamic_cast<cocos2d::ui::Button*>(closeGroup->getChildByName("CloseButton"))) {
            close->addClickEventListener([this](cocos2d::Ref*) { onClose(); });
        }
    }
    if (auto* wallpaper = dynamic_cast<cocos2d::ui::Button*>(getChildByName("setWallpaper"))) {
        wallpaper->addClickEventListener([this](cocos2d::Ref* sender) { onSetWallpaper(sender); });
        wallpaper->setTitleText(text("ui", "set_wallpaper"));
        wallpaper->setEnabled(false);
        wallpaper->setVisible(false);
    }
    if (Node* header = getChildByName("listHeader")) {
        header->removeFromParentAndCleanup(true);
    }
}

void PictureDetails::showPicture(const std::string& name) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    const PackPicture* pack = findPackPicture(profile.currentPicture);
    // A picture outside the packs still gets its title; the card lines need the pack's entry.
    const std::string author = pack != nullptr ? text("Authors", pack->authorId) : std::string();
    const std::string year = pack != nullptr ? pack->year : std::string();
    const int coins = pack != nullptr ? pack->coins : 0;

    if (Node* group = getChildByTag(kThumbnailGroupTag)) {
        if (cocos2d::Sprite* thumbnail = cocos2d::Sprite::createWithSpriteFrameName(name + ".png")) {
            thumbnail->setScale(0.85f);
            if (Node* place = group->getChildByName("picture")) {
                place->addChild(thumbnail);
            }
        }
    }
    _picture = name;

    if (Node* group = getChildByTag(kCardGroupTag)) {
        if (auto* header = dynamic_cast<Label*>(group->getChildByName("header"))) {
            header->setString(text("Picture", name));
            header->enableShadow(cocos2d::Color4B::BLACK, cocos2d::Size(2.0f, -2.0f), 0);
        }
        if (auto* style = dynamic_cast<Label*>(group->getChildByName("description"))) {
            const std::string font = style->getTTFConfig().fontFilePath;
            const float size = style->getTTFConfig().fontSize;
            const float big = size * 1.35f;
            const cocos2d::Color3B colour = style->getColor();
            Label* authorLabel = makeLabel(author, style, big, kHighlight);
            RichText* rich = replaceTemplate(style);
            RichElementText* lineBreak = RichElementText::createNewLine(0, font, static_cast<float>(static_cast<int>(size) / 2));
            auto caption = [&](const std::string& id) {
                rich->pushBackElement(RichElementText::create(0, colour, 255, text("ui", id), font, size));
            };
            caption("pictureStatAuthor");
            rich->pushBackElement(lineBreak);
            if (authorLabel != nullptr) {
                rich->pushBackElement(RichElementCustomNode::create(0, colour, 255, authorLabel));
            }
            rich->pushBackElement(lineBreak);
            rich->pushBackElement(lineBreak);
            caption("pictureStatYear");
            rich->pushBackElement(lineBreak);
            rich->pushBackElement(RichElementText::create(0, kHighlight, 255, year, font, big));
            rich->pushBackElement(lineBreak);
            rich->pushBackElement(lineBreak);
            caption("pictureStatEstimatePrice");
            rich->pushBackElement(lineBreak);
            rich->pushBackElement(
                RichElementText::create(0, kHighlight, 255, cocos2d::StringUtils::format(" $%d", coins), font, big));
        }
        if (Node* story = getChildByTag(kStoryGroupTag)) {
            story->setVisible(false);
        }
    }

    if (Node* wallpaper = getChildByName("setWallpaper")) {
        if (profile.world.pictures[_picture].state < 1) {
            wallpaper->removeFromParentAndCleanup(true);
        }
    }
}

void PictureDetails::showFinishedPicture() {
    if (Node* group = getChildByTag(kThumbnailGroupTag)) {
        group->setPositionY(group->getPositionY() + 50.0f);
    }
    if (Node* group = getChildByTag(kCardGroupTag)) {
        group->removeFromParentAndCleanup(true);
    }
    Node* story = getChildByTag(kStoryGroupTag);
    auto* style = story != nullptr ? dynamic_cast<Label*>(story->getChildByName("description")) : nullptr;
    if (story != nullptr) {
        story->setVisible(true);
    }
    if (style != nullptr) {
        const PackPicture* pack = findPackPicture(Settings::getInstance().getCurrentUser().currentPicture);
        const std::string author = pack != nullptr ? text("Authors", pack->authorId) : std::string();
        const std::string year = pack != nullptr ? pack->year : std::string();
        const float size = style->getTTFConfig().fontSize;
        const std::string font = style->getTTFConfig().fontFilePath;
        const cocos2d::Color3B colour = style->getColor();

        Label* title = makeLabel(text("Picture", _picture), style, size * 1.4f, kStoryTitle);
        if (title != nullptr) {
            title->enableShadow(cocos2d::Color4B(0, 0, 0, 190), cocos2d::Size(2.0f, -2.0f), 0);
        }
        Label* authorLine = makeLabel(author + ", " + year, style, size, kHighlight);
        Label* funFacts = makeLabel(text("FunFacts", _picture), style, size, colour);
        RichText* rich = replaceTemplate(style);
        RichElementText* lineBreak = RichElementText::createNewLine(0, font, size);
        bool first = true;
        for (Label* part : {title, authorLine, funFacts}) {
            if (!first) {
                rich->pushBackElement(lineBreak);
                rich->pushBackElement(lineBreak);
            }
            first = false;
            if (part != nullptr) {
                rich->pushBackElement(RichElementCustomNode::create(0, colour, 255, part));
            }
        }
    }
    if (auto* wallpaper = dynamic_cast<cocos2d::ui::Button*>(getChildByName("setWallpaper"))) {
        wallpaper->setEnabled(true);
        wallpaper->setVisible(true);
        wallpaper->setTouchEnabled(true);
    }
}

void PictureDetails::onClose() {
    if (auto* container = dynamic_cast<PopupScreenBase*>(getParent())) {
        container->close();
    }
}

void PictureDetails::onSetWallpaper(cocos2d::Ref*) {
    GameSound::getInstance().playEffect("confirm", false);
    if (auto* top = dynamic_cast<TopLayer*>(Settings::getInstance().getTopLayer())) {
        top->showConfirmation("set_wallpaper_confirm", [this] { setAsWallpaper(); });
    }
}

bool PictureDetails::setAsWallpaper() {
    NodeFromJson loader("ui/Game");
    Node* background = loader.createNode("background");
    Node* root = Node::create();
    if (background != nullptr) {
        root->addChild(background);
    }
    const std::string country = Settings::getInstance().getCurrentUser().currentPicture.country;
    const std::string path = "Scenes/" + country + "/" + _picture + "/background.jpg";
    cocos2d::log("picture path = %s", path.c_str());
    cocos2d::Sprite* picture = cocos2d::Sprite::create(path);
    if (picture == nullptr) {
        return false;
    }
    (background != nullptr ? background : root)->addChild(picture);
    if (Node* logo = loader.createNode("KestrovaLogo")) {
        logo->setAnchorPoint(cocos2d::Vec2(1.0f, 1.0f));
        logo->setPosition(cocos2d::Vec2(picture->getContentSize().width, picture->getContentSize().height));
        picture->addChild(logo);
    }
    // Framed as in the level.
    addPictureBorder(loader, picture);

    const cocos2d::Size visible = cocos2d::Director::getInstance()->getVisibleSize();
    cocos2d::RenderTexture* texture =
        cocos2d::RenderTexture::create(static_cast<int>(visible.width), static_cast<int>(visible.height));
    if (texture == nullptr) {
        cocos2d::log("wallpaper: no render texture");
        return false;
    }
    root->setPosition(visible.width * 0.5f, visible.height * 0.5f);
    texture->begin();
    root->visit();
    texture->end();

    const std::string fileName = wallpaperFileName(_picture);
    const std::string folder = cocos2d::FileUtils::getInstance()->getWritablePath();
    cocos2d::log("wallpaper write path = %s%s", folder.c_str(), fileName.c_str());
    const bool written = texture->saveToFile(fileName, cocos2d::Image::Format::JPG, true, nullptr);
    cocos2d::Director::getInstance()->getRenderer()->render();
    // Copying a file that was never written would set a stale or missing wallpaper.
    if (!written) {
        cocos2d::log("wallpaper: '%s' not written", fileName.c_str());
        return false;
    }
    const std::u16string copy = Settings::getInstance().copyToPictures(widen(fileName), widen(folder));
    if (copy.empty()) {
        cocos2d::log("wallpaper: '%s' could not be copied", fileName.c_str());
        return false;
    }
    if (!Settings::getInstance().setDesktopWallpaper(copy)) {
        showWallpaperNotice(narrow(copy));
    }
    return true;
}

void PictureDetails::showWallpaperNotice(const std::string& savedAt) {
    if (Node* old = getChildByName("wallpaperNotice")) {
        old->removeFromParentAndCleanup(true);
    }
    std::string line = text("ui", "wallpaper_not_set");
    const std::string::size_type slot = line.find("{path}");
    if (slot != std::string::npos) {
        line.replace(slot, 6, savedAt);
    }
    cocos2d::log("wallpaper: %s", line.c_str());
    constexpr float kWidth = 400.0f;
    Label* notice = Label::createWithTTF(line, Settings::getInstance().getFontPath("ArialBold"), 18.0f,
                                         cocos2d::Size(kWidth, 0.0f), cocos2d::TextHAlignment::CENTER,
                                         cocos2d::TextVAlignment::TOP);
    if (notice == nullptr) {
        return;
    }
    notice->setName("wallpaperNotice");
    notice->setColor(cocos2d::Color3B(92, 24, 18));
    notice->setAnchorPoint(cocos2d::Vec2(0.5f, 1.0f));
    // On the parchment under the thumbnail, where the card leaves room.
    cocos2d::Vec2 place(getContentSize().width * 0.5f, 40.0f);
    if (Node* group = getChildByTag(kThumbnailGroupTag)) {
        if (Node* picture = group->getChildByName("picture")) {
            place = convertToNodeSpace(picture->convertToWorldSpace(cocos2d::Vec2::ZERO)) - cocos2d::Vec2(0.0f, 110.0f);
        }
    }
    notice->setPosition(place);
    addChild(notice, 10);
    notice->runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(6.0f), cocos2d::FadeOut::create(0.5f),
                                                cocos2d::RemoveSelf::create(), nullptr));
}
