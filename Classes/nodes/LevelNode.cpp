#include "nodes/LevelNode.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include <rapidjson/document.h>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"

#include "JsonDocument.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/HiddenObject.h"

using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::Vec2;

// One element of "nodes", checked for the types the level reads.
struct NodeLevel::Element {
    std::string name;
    std::string tex;
    std::string anchor;
    bool hasAnchor = false;
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
    bool hasOpacity = false;
    double opacity = 0.0;
    bool item = false;
    bool shadow = false;
};

namespace {

constexpr const char* kDescription = "/ccnode.json";
constexpr const char* kTexturesList = "/textures_atlas.xml";
constexpr const char* kMasksList = "/masks_atlas.xml";
constexpr const char* kBackgroundImage = "/background.jpg";
constexpr const char* kTexturesImage = "/textures_atlas.png";
constexpr const char* kMasksImage = "/masks_atlas.png";
constexpr const char* kBackgroundName = "background";

// Level nodes holding each folder's sheets: a level built while another of the same picture still
// lives (a screen replaced by the same level) must not lose its frames when the older one goes.
std::unordered_map<std::string, int>& sheetUsers() {
    static std::unordered_map<std::string, int> users;
    return users;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The low 8 bits of the integer part, as the level's opacities are stored. Doubles that large are
// whole multiples of 256, so their low byte is 0 (and the conversion would be out of range).
GLubyte lowByte(double value) {
    constexpr double kLargest = 9.0e18;
    if (!(std::fabs(value) < kLargest)) {
        return 0;
    }
    return static_cast<GLubyte>(static_cast<int64_t>(value) & 0xFF);
}

// Coordinates beyond this lie far off any screen; a float could not even hold some of them.
constexpr double kLargestCoordinate = 1.0e6;

// Reads an element; false (with the reason) when a member the level needs is missing or of the wrong
// type.
bool readElement(const rapidjson::Value& value, NodeLevel::Element& element, std::string& problem) {
    if (!value.IsObject()) {
        problem = "not an object";
        return false;
    }
    auto readString = [&](const char* key, std::string& out, bool required) {
        auto member = value.FindMember(key);
        if (member == value.MemberEnd()) {
            if (required) {
                problem = std::string("no \"") + key + "\"";
            }
            return !required;
        }
        if (!member->value.IsString()) {
            problem = std::string("\"") + key + "\" is not a string";
            return false;
        }
        out.assign(member->value.GetString(), member->value.GetStringLength());
        return true;
    };
    auto readNumber = [&](const char* key, float& out) {
        auto member = value.FindMember(key);
        if (member == value.MemberEnd() || !member->value.IsNumber()) {
            problem = std::string("\"") + key + "\" is not a number";
            return false;
        }
        if (!(std::fabs(member->value.GetDouble()) <= kLargestCoordinate)) {
            problem = std::string("\"") + key + "\" is out of range";
            return false;
        }
        out = static_cast<float>(member->value.GetDouble());
        return true;
    };
    if (!readString("name", element.name, true) || !readString("tex", element.tex, true) ||
        !readNumber("x", element.x) || !readNumber("y", element.y) || !readNumber("w", element.w) ||
        !readNumber("h", element.h)) {
        return false;
    }
    element.hasAnchor = value.HasMember("anchor");
    if (element.hasAnchor && !readString("anchor", element.anchor, true)) {
        return false;
    }
    auto opacity = value.FindMember("o");
    if (opacity != value.MemberEnd()) {
        if (!opacity->value.IsNumber()) {
            problem = "\"o\" is not a number";
            return false;
        }
        element.hasOpacity = true;
        element.opacity = opacity->value.GetDouble();
    }
    element.item = value.HasMember("restoreitem");
    element.shadow = value.HasMember("shadow");
    return true;
}

}  // namespace

NodeLevel* NodeLevel::create() {
    auto* level = new (std::nothrow) NodeLevel();
    if (level != nullptr && level->init()) {
        level->autorelease();
        return level;
    }
    delete level;
    return nullptr;
}

NodeLevel::~NodeLevel() {
    cocos2d::log("~NodeLevel %s", _folder.c_str());
}

bool NodeLevel::initWithLevel(Node* parent, const std::string& folder, int32_t zStart, int32_t zStep) {
    _z = zStart;
    _zStep = zStep;
    _folder = folder;
    cocos2d::Director* director = cocos2d::Director::getInstance();
    _visibleOrigin = director->getVisibleOrigin();
    const cocos2d::Size visible = director->getVisibleSize();
    _visibleCenter = _visibleOrigin + Vec2(visible.width, visible.height) * 0.5f;

    const std::string path = folder + kDescription;
    const std::string json = cocos2d::FileUtils::getInstance()->getStringFromFile(path);
    const bool built = !json.empty() && buildFromJson(json);
    if (json.empty()) {
        cocos2d::log("Level '%s': no level description", path.c_str());
    }

    if (parent != nullptr) {
        parent->addChild(this);
    }
    Node* background = built ? getChildByName(kBackgroundName) : nullptr;
    if (built && background == nullptr) {
        cocos2d::log("Level '%s': no element named \"background\"", path.c_str());
    }
    if (background == nullptr) {
        clearLevel();
    } else {
        const cocos2d::Size size = background->getContentSize();
        setContentSize(size);
        for (Node* child : getChildren()) {
            child->setPositionY(child->getPositionY() + size.height * 0.5f);
        }
        _built = true;
    }
    setAnchorPoint(Vec2(0.5f, 0.5f));
    setName("ispy");
    linkShadows();
    return _built;
}

void NodeLevel::clearLevel() {
    removeAllChildrenWithCleanup(true);
    _items.clear();
    _shadows.clear();
    _damage.clear();
    setContentSize(cocos2d::Size::ZERO);
    _built = false;
}

bool NodeLevel::buildFromJson(const std::string& json) {
    const std::string path = _folder + kDescription;
    const std::shared_ptr<rapidjson::Document> parsed = parseJsonDocument(path, json);
    if (!parsed) {
        return false;
    }
    const rapidjson::Document& document = *parsed;
    if (!document.IsObject() || !document.HasMember("nodes") || !document["nodes"].IsArray()) {
        cocos2d::log("Level '%s': no \"nodes\" list", path.c_str());
        return false;
    }
    const rapidjson::Value& nodes = document["nodes"];
    Element first;
    std::string problem;
    if (nodes.Empty() || !readElement(nodes[0], first, problem) ||
        first.name.rfind(kBackgroundName, 0) != 0) {
        cocos2d::log("Level '%s': the first element is not the background", path.c_str());
        return false;
    }

    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    frames->addSpriteFramesWithFile(_folder + kTexturesList);
    frames->addSpriteFramesWithFile(_folder + kMasksList);
    if (!_holdsSheets) {
        _holdsSheets = true;
        ++sheetUsers()[_folder];
    }

    // The background's rectangle is the level's.
    const Rect levelRect = readRect(first);
    for (rapidjson::SizeType i = 0; i < nodes.Size(); ++i) {
        Element element;
        if (!readElement(nodes[i], element, problem)) {
            cocos2d::log("Level '%s': element %u skipped: %s", path.c_str(), static_cast<unsigned>(i),
                         problem.c_str());
            continue;
        }
        if (element.item) {
            createItem(element, levelRect);
        } else if (element.shadow) {
            createShadow(element, levelRect);
        } else if (Node* node = createTexture(element, levelRect)) {
            _z += _zStep;
            addChild(node, _z);
        }
    }
    return true;
}

Rect NodeLevel::readRect(const Element& element) const {
    Rect rect(element.x, element.y, element.w, element.h);
    if (element.hasAnchor) {
        if (element.anchor.find('l') != std::string::npos) {
            rect.origin.x += _visibleOrigin.x;
        } else if (element.anchor.find('r') != std::string::npos) {
            rect.origin.x -= _visibleOrigin.x;
        }
        if (element.anchor.find('t') != std::string::npos) {
            rect.origin.y -= _visibleOrigin.y;
        } else if (element.anchor.find('b') != std::string::npos) {
            rect.origin.y += _visibleOrigin.y;
        }
    }
    return rect;
}

Vec2 NodeLevel::placeNode(const Element& element, const Rect& levelRect) const {
    const Rect rect = readRect(element);
    return Vec2(rect.getMidX(), levelRect.size.height * 0.5f - rect.getMidY());
}

Node* NodeLevel::createTexture(const Element& element, const Rect& levelRect) {
    cocos2d::Sprite* sprite = endsWith(element.tex, ".jpg")
                                  ? cocos2d::Sprite::create(_folder + "/" + element.tex)
                                  : cocos2d::Sprite::createWithSpriteFrameName(element.tex);
    if (sprite == nullptr) {
        cocos2d::log("Fail to create texture: %s/%s", _folder.c_str(), element.tex.c_str());
        return nullptr;
    }
    sprite->setPosition(placeNode(element, levelRect));
    if (element.hasOpacity) {
        sprite->setOpacity(lowByte(element.opacity));
    }
    sprite->setName(element.name);
    return sprite;
}

void NodeLevel::createShadow(const Element& element, const Rect& levelRect) {
    Node* shadow = createTexture(element, levelRect);
    if (shadow == nullptr) {
        return;
    }
    _z += _zStep;
    addChild(shadow, _z);
    const std::string key = element.name.substr(0, element.name.find('_'));
    _shadows[key] = shadow;
}

void NodeLevel::createItem(const Element& element, const Rect& levelRect) {
    HiddenObject* item = HiddenObject::createWithSpriteFrameName(element.tex);
    if (item == nullptr) {
        cocos2d::log("Fail to create HO Item: %s/%s", _folder.c_str(), element.tex.c_str());
        return;
    }
    item->setName(element.name);
    item->setPosition(placeNode(element, levelRect));
    if (element.hasOpacity) {
        item->setOpacity(lowByte(element.opacity * 255.0));
    }
    _z += _zStep;
    addChild(item, _z);
    _items[element.name] = item;
    item->setFrameName(element.tex);
}

void NodeLevel::linkShadows() {
    for (auto& [name, item] : _items) {
        auto shadow = _shadows.find(item->getName());
        if (shadow != _shadows.end()) {
            item->setShadow(shadow->second);
        }
    }
    _shadows.clear();
}

bool NodeLevel::removeItem(HiddenObject* item) {
    for (auto entry = _items.begin(); entry != _items.end(); ++entry) {
        if (entry->second == item) {
            _items.erase(entry);
            return true;
        }
    }
    return false;
}

void NodeLevel::addDamage(EraseableGameObject* object) {
    addChild(object, _z);
    _damage.push_back(object);
}

bool NodeLevel::removeDamage(EraseableGameObject* object) {
    auto found = std::find(_damage.begin(), _damage.end(), object);
    if (found == _damage.end()) {
        return false;
    }
    _damage.erase(found);
    return true;
}

int32_t NodeLevel::nextZOrder(bool advance) {
    if (advance) {
        _z += _zStep;
    }
    return _z;
}

void NodeLevel::cleanup() {
    Node::cleanup();
    if (!_holdsSheets) {
        return;
    }
    _holdsSheets = false;
    if (--sheetUsers()[_folder] > 0) {
        return;
    }
    sheetUsers().erase(_folder);
    cocos2d::SpriteFrameCache* frames = cocos2d::SpriteFrameCache::getInstance();
    frames->removeSpriteFramesFromFile(_folder + kTexturesList);
    frames->removeSpriteFramesFromFile(_folder + kMasksList);
    cocos2d::TextureCache* textures = cocos2d::Director::getInstance()->getTextureCache();
    textures->removeTextureForKey(_folder + kBackgroundImage);
    textures->removeTextureForKey(_folder + kTexturesImage);
    textures->removeTextureForKey(_folder + kMasksImage);
}
