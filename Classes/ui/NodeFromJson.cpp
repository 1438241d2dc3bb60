#include "NodeFromJson.h"

#include <cmath>
#include <new>
#include <utility>

#include "engine/2d/Label.h"
#include "engine/2d/ProgressTimer.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerMouse.h"
#include "engine/events/EventMouse.h"
#include "engine/math/Size.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Node.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "engine/ui/Button.h"
#include "engine/ui/CheckBox.h"

#include "FactoryNode.h"
#include "JsonDocument.h"
#include "JsonDocumentCache.h"
#include "Settings.h"
#include "StringHelpers.h"
#include "TextTable.h"

namespace {

using Value = rapidjson::Value;

// Font sizes a label may ask for; anything else is a broken description, not a design.
constexpr int kMaxFontSize = 512;
// Text boxes larger than this are not a screen's.
constexpr float kMaxLabelDimension = 8192.0f;

const Value* member(const Value& object, const char* key) {
    if (!object.IsObject()) {
        return nullptr;
    }
    const auto it = object.FindMember(key);
    return it == object.MemberEnd() ? nullptr : &it->value;
}

bool has(const Value& object, const char* key) {
    return member(object, key) != nullptr;
}

// The string member, or "" when it is absent or not a string.
std::string stringOf(const Value& object, const char* key) {
    const Value* value = member(object, key);
    if (value == nullptr || !value->IsString()) {
        return std::string();
    }
    return std::string(value->GetString(), value->GetStringLength());
}

double numberOf(const Value& object, const char* key, double fallback = 0.0) {
    const Value* value = member(object, key);
    return value != nullptr && value->IsNumber() ? value->GetDouble() : fallback;
}

// The element's "nodes" when it is an array.
const Value* childrenOf(const Value& element) {
    const Value* nodes = member(element, "nodes");
    return nodes != nullptr && nodes->IsArray() ? nodes : nullptr;
}

bool isReference(const Value& element) {
    return has(element, "reference");
}

// In the manner of atof: the leading decimal number, 0 when there is none or it is not finite.
float leadingNumber(const std::string& text) {
    const double value = leadingDecimal(text);
    return std::isfinite(value) ? static_cast<float>(value) : 0.0f;
}

// The low 8 bits of a whole number held in a double, for any finite value.
GLubyte lowByte(double whole) {
    double rest = std::fmod(whole, 256.0);
    if (rest < 0) {
        rest += 256.0;
    }
    return static_cast<GLubyte>(static_cast<int>(rest) & 0xFF);
}

}  // namespace

cocos2d::Vec2 visibleCenter() {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Vec2 origin = director->getVisibleOrigin();
    const cocos2d::Size size = director->getVisibleSize();
    return cocos2d::Vec2(origin.x + size.width / 2.0f, origin.y + size.height / 2.0f);
}

NodeFromJson::NodeFromJson(const std::string& folder)
    : _document(getDocument(folder + "/ccnode.json")), _folder(folder) {}

NodeFromJson::~NodeFromJson() {
    JsonDocumentCache::getInstance().clear();
}

NodeFromJson::DocumentPtr NodeFromJson::getDocument(const std::string& path) {
    JsonDocumentCache& cache = JsonDocumentCache::getInstance();
    if (DocumentPtr cached = cache.find(path)) {
        return cached;
    }
    std::string text = cocos2d::FileUtils::getInstance()->getStringFromFile(path);
    DocumentPtr shared = parseJsonDocument(path, text);
    if (!shared) {
        return nullptr;
    }
    cache.store(path, std::move(text), shared);
    return shared;
}

void NodeFromJson::loadSheet(const std::string& sheetName) {
    const std::string base = _folder + "/" + sheetName;
    cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile(base + "_atlas.xml",
                                                                      base + "_atlas.png");
}

// --- frames ---------------------------------------------------------------------------------------

cocos2d::Rect NodeFromJson::readFrame(const Value& element) {
    return readFrame(element, cocos2d::Director::getInstance()->getVisibleOrigin());
}

cocos2d::Rect NodeFromJson::readFrame(const Value& element, const cocos2d::Vec2& origin) {
    float x = static_cast<float>(numberOf(element, "x"));
    float y = static_cast<float>(numberOf(element, "y"));
    const float w = static_cast<float>(numberOf(element, "w"));
    const float h = static_cast<float>(numberOf(element, "h"));
    if (has(element, "anchor")) {
        const std::string anchor = stringOf(element, "anchor");
        if (anchor.find('l') != std::string::npos) {
            x += origin.x;
        } else if (anchor.find('r') != std::string::npos) {
            x -= origin.x;
        }
        if (anchor.find('t') != std::string::npos) {
            y += origin.y;
        } else if (anchor.find('b') != std::string::npos) {
            y -= origin.y;
        }
    }
    return cocos2d::Rect(x, y, w, h);
}

cocos2d::Vec2 NodeFromJson::positionIn(const cocos2d::Rect& frame, const cocos2d::Rect& parentFrame) {
    return cocos2d::Vec2(frame.origin.x + frame.size.width / 2.0f - parentFrame.size.width / 2.0f,
                         parentFrame.size.height / 2.0f - (frame.origin.y + frame.size.height / 2.0f));
}

// --- the walk -------------------------------------------------------------------------------------

cocos2d::Node* NodeFromJson::createNode(const std::string& name) {
    if (!_document) {
        return nullptr;
    }
    const Document& document = *_document;
    if (!document.IsObject()) {
        cocos2d::log("NodeFromJson: [%s/ccnode.json] holds no object at its top", _folder.c_str());
    }
    Build build;
    _build = &build;
    std::unordered_set<std::string> referenced;
    collectReferenceNames(document, referenced, 0);
    if (!referenced.empty()) {
        resolveReferences(document, referenced, 0);
    }
    _section = name;
    const cocos2d::Vec2 center = visibleCenter();
    const cocos2d::Rect rootFrame(0.0f, 0.0f, 2.0f * center.x, 2.0f * center.y);

    cocos2d::Node* result = nullptr;
    if (name.empty()) {
        result = FactoryNode::create();
        if (result != nullptr) {
            buildChildren(result, document, rootFrame);
        }
    } else if (const Value* element = findElement(name, document, 0)) {
        result = buildElement(nullptr, *element, rootFrame);
    }
    _build = nullptr;
    return result;
}

const Value* NodeFromJson::findElement(const std::string& name, const Value& element, int depth) const {
    const Value* nodes = childrenOf(element);
    if (nodes == nullptr || depth >= kMaxDepth) {
        return nullptr;
    }
    for (const Value& child : nodes->GetArray()) {
        if (!isReference(child) && member(child, "name") != nullptr && stringOf(child, "name") == name) {
            return &child;
        }
        if (const Value* found = findElement(name, child, depth + 1)) {
            return found;
        }
    }
    return nullptr;
}

void NodeFromJson::collectReferenceNames(const Value& element, std::unordered_set<std::string>& names,
                                         int depth) const {
    const Value* nodes = childrenOf(element);
    if (nodes == nullptr || depth >= kMaxDepth) {
        return;
    }
    for (const Value& child : nodes->GetArray()) {
        if (isReference(child)) {
            names.insert(stringOf(child, "name"));
        }
        collectReferenceNames(child, names, depth + 1);
    }
}

void NodeFromJson::resolveReferences(const Value& element, const std::unordered_set<std::string>& names,
                                     int depth) {
    const Value* nodes = childrenOf(element);
    if (nodes == nullptr || depth >= kMaxDepth) {
        return;
    }
    for (const Value& child : nodes->GetArray()) {
        if (!isReference(child)) {
            std::string childName = stringOf(child, "name");
            if (names.count(childName) != 0) {
                // A later definition of the same name replaces an earlier one.
                _build->references[std::move(childName)] = &child;
            }
        }
        resolveReferences(child, names, depth + 1);
    }
}

bool NodeFromJson::mayDescend() {
    if (_build->depth < kMaxDepth) {
        return true;
    }
    if (!_build->tooDeepLogged) {
        _build->tooDeepLogged = true;
        cocos2d::log(
            "NodeFromJson: [%s/ccnode.json] nests elements deeper than %d levels; the rest is not built",
            _folder.c_str(), kMaxDepth);
    }
    return false;
}

bool NodeFromJson::mayBuildNode() {
    if (_build->nodes < kMaxNodesPerBuild) {
        ++_build->nodes;
        return true;
    }
    if (!_build->tooManyLogged) {
        _build->tooManyLogged = true;
        cocos2d::log("NodeFromJson: [%s/ccnode.json] expands to more than %zu nodes; the rest is not built",
                     _folder.c_str(), kMaxNodesPerBuild);
    }
    return false;
}

void NodeFromJson::buildChildren(cocos2d::Node* parent, const Value& element, const cocos2d::Rect& frame) {
    const Value* nodes = childrenOf(element);
    if (nodes == nullptr || !mayDescend()) {
        return;
    }
    ++_build->depth;
    for (const Value& child : nodes->GetArray()) {
        if (child.IsObject()) {
            buildElement(parent, child, frame);
        }
    }
    --_build->depth;
}

cocos2d::Node* NodeFromJson::buildElement(cocos2d::Node* parent, const Value& element,
                                          const cocos2d::Rect& parentFrame) {
    if (!element.IsObject() || !mayBuildNode()) {
        return nullptr;
    }
    if (has(element, "sheet")) {
        loadSheet(stringOf(element, "name"));
    }

    // While a definition's children are built, a reference back to it would never end.
    bool isDefinition = false;
    if (!isReference(element)) {
        const auto it = _build->references.find(stringOf(element, "name"));
        isDefinition = it != _build->references.end() && it->second == &element;
    }
    if (isDefinition) {
        _build->expanding.push_back(&element);
    }

    cocos2d::Node* node = nullptr;
    if (has(element, "label")) {
        node = buildLabel(parent, element, parentFrame);
    } else if (has(element, "button")) {
        node = buildButton(parent, element, parentFrame);
    } else if (has(element, "checkbox")) {
        node = buildCheckBox(parent, element, parentFrame);
    } else if (has(element, "selector")) {
        node = nullptr;
    } else if (has(element, "progress")) {
        node = buildProgress(parent, element, parentFrame);
    } else if (has(element, "list")) {
        node = nullptr;
    } else if (has(element, "tex")) {
        node = buildSprite(parent, element, parentFrame);
    } else if (isReference(element)) {
        node = buildReference(parent, element, parentFrame);
    } else {
        node = buildNode(parent, element, parentFrame);
    }

    if (isDefinition) {
        _build->expanding.pop_back();
    }
    if (node == nullptr) {
        return nullptr;
    }
    if (has(element, "r")) {
        std::string rotation = stringOf(element, "r");
        if (!rotation.empty() && rotation[0] == '_') {
            rotation.erase(0, 1);
        }
        node->setRotation(leadingNumber(rotation));
    }
    if (auto* factoryNode = dynamic_cast<FactoryNode*>(node)) {
        factoryNode->initWithJson(element);
    }
    const Value* tag = member(element, "tag");
    if (tag != nullptr && tag->IsInt()) {
        node->setTag(tag->GetInt());
    }
    return node;
}

// --- plain, class, image and reference elements ---------------------------------------------------

cocos2d::Node* NodeFromJson::buildNode(cocos2d::Node* parent, const Value& element,
                                       const cocos2d::Rect& parentFrame) {
    const cocos2d::Rect frame = readFrame(element);
    cocos2d::Node* node = nullptr;
    if (has(element, "class")) {
        node = FactoryNode::createByClassName(stringOf(element, "class"), element);
    } else {
        node = cocos2d::Node::create();
        if (node != nullptr) {
            node->setName(stringOf(element, "name"));
        }
    }
    if (node == nullptr) {
        return nullptr;
    }
    node->setPosition(positionIn(frame, parentFrame));
    if (parent != nullptr) {
        parent->addChild(node);
    }
    buildChildren(node, element, frame);
    return node;
}

cocos2d::Sprite* NodeFromJson::makeSprite(const std::string& tex) {
    if (tex.find('/') == std::string::npos) {
        return cocos2d::Sprite::create(_folder + "/" + tex);
    }
    const std::vector<std::string> pieces = splitString(tex, "/", -1);
    if (pieces.size() < 2) {
        return nullptr;
    }
    loadSheet(pieces[0]);
    return cocos2d::Sprite::createWithSpriteFrameName(pieces[1]);
}

cocos2d::Sprite* NodeFromJson::buildSprite(cocos2d::Node* parent, const Value& element,
                                           const cocos2d::Rect& parentFrame) {
    const cocos2d::Rect frame = readFrame(element);
    cocos2d::Sprite* sprite = makeSprite(stringOf(element, "tex"));
    if (sprite == nullptr) {
        return nullptr;
    }
    sprite->setPosition(positionIn(frame, parentFrame));
    const Value* opacity = member(element, "o");
    if (opacity != nullptr && opacity->IsNumber()) {
        sprite->setOpacity(lowByte(std::trunc(opacity->GetDouble() * 255.0)));
    }
    sprite->setName(stringOf(element, "name"));
    if (parent != nullptr) {
        parent->addChild(sprite, _zOrder);
    }
    _zOrder += _zOrderStep;
    return sprite;
}

cocos2d::Node* NodeFromJson::buildReference(cocos2d::Node* parent, const Value& element,
                                            const cocos2d::Rect& parentFrame) {
    const cocos2d::Rect frame = readFrame(element);
    cocos2d::Node* node = cocos2d::Node::create();
    if (node == nullptr) {
        return nullptr;
    }
    const std::string name = stringOf(element, "name");
    node->setPosition(positionIn(frame, parentFrame));
    node->setName(name);
    if (parent != nullptr) {
        parent->addChild(node);
    }
    const auto it = _build->references.find(name);
    if (it == _build->references.end()) {
        return node;
    }
    const Value* definition = it->second;
    for (const Value* open : _build->expanding) {
        if (open == definition) {
            cocos2d::log(
                "NodeFromJson: [%s/ccnode.json] reference '%s' lies inside its own definition; left empty",
                _folder.c_str(), name.c_str());
            return node;
        }
    }
    _build->expanding.push_back(definition);
    buildChildren(node, *definition, frame);
    _build->expanding.pop_back();
    return node;
}

// --- labels ---------------------------------------------------------------------------------------

cocos2d::Color3B NodeFromJson::readColor(const Value& label) {
    const std::string c = stringOf(label, "c");
    if (!has(label, "c") || c.size() != 9) {
        return cocos2d::Color3B::WHITE;
    }
    auto component = [&c](size_t at) { return static_cast<GLubyte>(leadingInt32(c.substr(at, 3)) & 0xFF); };
    return cocos2d::Color3B(component(0), component(3), component(6));
}

cocos2d::TextHAlignment NodeFromJson::readHAlignment(const Value& label) {
    const std::string ha = stringOf(label, "ha");
    if (ha == "l") {
        return cocos2d::TextHAlignment::LEFT;
    }
    if (ha == "r") {
        return cocos2d::TextHAlignment::RIGHT;
    }
    return cocos2d::TextHAlignment::CENTER;
}

cocos2d::TextVAlignment NodeFromJson::readVAlignment(const Value& label) {
    const std::string va = stringOf(label, "va");
    if (va == "t") {
        return cocos2d::TextVAlignment::TOP;
    }
    if (va == "b") {
        return cocos2d::TextVAlignment::BOTTOM;
    }
    return cocos2d::TextVAlignment::CENTER;
}

cocos2d::Label* NodeFromJson::buildLabel(cocos2d::Node* parent, const Value& element,
                                         const cocos2d::Rect& parentFrame) {
    const Value* label = member(element, "label");
    if (label == nullptr || !has(*label, "t")) {
        return nullptr;
    }
    const std::string name = stringOf(element, "name");
    const std::string text = TextTable::getInstance().getText(_section.empty() ? "ui" : _section, name);
    const cocos2d::Rect frame = readFrame(element);
    const std::string type = toLowerCase(stringOf(*label, "t"));
    Settings& settings = Settings::getInstance();

    cocos2d::Label* made = nullptr;
    if (type == "ttf") {
        auto dimension = [label](const char* key) {
            const double value = numberOf(*label, key);
            return value > 0.0 && value <= kMaxLabelDimension ? static_cast<float>(value) : 0.0f;
        };
        const cocos2d::Size dimensions(dimension("w"), dimension("h"));
        // In single precision, as the sizes were designed: 20 * 0.9f is 18 there, 17.99... in double.
        const float product = static_cast<float>(numberOf(*label, "s")) * settings.getTextScale();
        const double scaled = std::trunc(static_cast<double>(product));
        if (!(scaled >= 1.0 && scaled <= kMaxFontSize)) {
            cocos2d::log("NodeFromJson: [%s/ccnode.json] label '%s' asks for font size %g; not built",
                         _folder.c_str(), name.c_str(), scaled);
            return nullptr;
        }
        made = cocos2d::Label::createWithTTF(text, settings.getFontPath(stringOf(*label, "f")),
                                             static_cast<float>(scaled), dimensions,
                                             cocos2d::TextHAlignment::LEFT, cocos2d::TextVAlignment::TOP);
        if (made != nullptr) {
            made->setColor(readColor(*label));
            if (stringOf(*label, "fx").find('s') != std::string::npos) {
                made->enableShadow(cocos2d::Color4B(0, 0, 0, 190), cocos2d::Size(2.0f, -2.0f), 0);
            }
        }
    } else if (type == "bm") {
        made = cocos2d::Label::createWithBMFont(stringOf(*label, "f"), text, cocos2d::TextHAlignment::LEFT, 0,
                                                cocos2d::Vec2::ZERO);
    }
    if (made == nullptr) {
        return nullptr;
    }
    made->setAlignment(readHAlignment(*label), readVAlignment(*label));
    made->setPosition(positionIn(frame, parentFrame));
    made->setAnchorPoint(cocos2d::Vec2(0.5f, 0.5f));
    made->setName(name);
    if (parent != nullptr) {
        parent->addChild(made);
    }
    return made;
}

// --- buttons and check boxes ---------------------------------------------------------------------

bool NodeFromJson::resolveImage(const std::string& tex, std::string& name, int& type) {
    using ResType = cocos2d::ui::Widget::TextureResType;
    if (tex.find('/') == std::string::npos) {
        name = _folder + "/" + tex;
        type = static_cast<int>(ResType::LOCAL);
        return true;
    }
    const std::vector<std::string> pieces = splitString(tex, "/", -1);
    if (pieces.size() < 2) {
        return false;
    }
    loadSheet(pieces[0]);
    name = pieces[1];
    type = static_cast<int>(ResType::PLIST);
    return true;
}

void NodeFromJson::buildWidgetPart(cocos2d::Node* widget, const Value& part,
                                   const cocos2d::Rect& widgetFrame) {
    if (!mayBuildNode()) {
        return;
    }
    const cocos2d::Rect frame = readFrame(part);
    cocos2d::Node* node = cocos2d::Node::create();
    if (node == nullptr) {
        return;
    }
    node->setPosition(frame.origin.x + widgetFrame.size.width / 2.0f,
                      widgetFrame.size.height / 2.0f - frame.origin.y);
    node->setName(stringOf(part, "name"));
    widget->addChild(node);
    buildChildren(node, part, widgetFrame);
}

void NodeFromJson::onButtonMouseMove(cocos2d::EventMouse* event) {
    cocos2d::Node* button = event != nullptr ? event->getCurrentTarget() : nullptr;
    if (button == nullptr) {
        return;
    }
    const cocos2d::Vec2 local = button->convertToNodeSpace(event->getLocation());
    const cocos2d::Size& size = button->getContentSize();
    const bool inside = cocos2d::Rect(0.0f, 0.0f, size.width, size.height).containsPoint(local);
    button->setColor(inside ? cocos2d::Color3B(220, 220, 220) : cocos2d::Color3B::WHITE);
}

cocos2d::ui::Button* NodeFromJson::buildButton(cocos2d::Node* parent, const Value& element,
                                               const cocos2d::Rect& parentFrame) {
    using ResType = cocos2d::ui::Widget::TextureResType;
    const Value* parts = childrenOf(element);
    if (parts == nullptr) {
        return nullptr;
    }
    cocos2d::ui::Button* button = cocos2d::ui::Button::create();
    if (button == nullptr) {
        return nullptr;
    }
    const cocos2d::Rect frame = readFrame(element);
    button->setPosition(positionIn(frame, parentFrame));
    button->setName(stringOf(element, "name"));

    bool pressedImage = false;
    if (mayDescend()) {
        ++_build->depth;
        for (const Value& part : parts->GetArray()) {
            if (!part.IsObject()) {
                continue;
            }
            if (has(part, "tex")) {
                const std::string state = stringOf(part, "state");
                std::string name;
                int type = 0;
                if ((state != "normal" && state != "selected" && state != "disabled") ||
                    !resolveImage(stringOf(part, "tex"), name, type)) {
                    continue;
                }
                const auto resType = static_cast<ResType>(type);
                if (state == "normal") {
                    button->setTouchEnabled(true);
                    button->loadTextureNormal(name, resType);
                } else if (state == "selected") {
                    button->loadTexturePressed(name, resType);
                    pressedImage = true;
                } else {
                    button->loadTextureDisabled(name, resType);
                }
                _zOrder += _zOrderStep;
            } else if (has(part, "label")) {
                cocos2d::Label* title = buildLabel(nullptr, part, cocos2d::Rect());
                if (title != nullptr) {
                    button->setTitleFontSize(title->getTTFConfig().fontSize);
                    button->setTitleColor(title->getColor());
                    button->setTitleFontName(title->getTTFConfig().fontFilePath);
                    if (cocos2d::Label* renderer = button->getTitleRenderer()) {
                        renderer->setTTFConfig(title->getTTFConfig());
                    }
                    button->setTitleText(title->getString());
                }
            } else {
                buildWidgetPart(button, part, frame);
            }
        }
        --_build->depth;
    }
    if (!pressedImage) {
        button->setZoomScale(-0.1f);
    }

    // No loader state in the handler: loaders live only while a screen is built, the button far
    // longer. The listener belongs to the button and dies with it.
    cocos2d::EventListenerMouse* hover = cocos2d::EventListenerMouse::create();
    hover->onMouseMove = &NodeFromJson::onButtonMouseMove;
    button->getEventDispatcher()->addEventListenerWithSceneGraphPriority(hover, button);

    if (parent != nullptr) {
        parent->addChild(button);
    }
    return button;
}

cocos2d::ui::CheckBox* NodeFromJson::buildCheckBox(cocos2d::Node* parent, const Value& element,
                                                   const cocos2d::Rect& parentFrame) {
    using ResType = cocos2d::ui::Widget::TextureResType;
    const Value* parts = childrenOf(element);
    if (parts == nullptr) {
        return nullptr;
    }
    cocos2d::ui::CheckBox* checkBox = cocos2d::ui::CheckBox::create();
    if (checkBox == nullptr) {
        return nullptr;
    }
    const cocos2d::Rect frame = readFrame(element);
    checkBox->setPosition(positionIn(frame, parentFrame));
    if (mayDescend()) {
        ++_build->depth;
        for (const Value& part : parts->GetArray()) {
            if (!part.IsObject()) {
                continue;
            }
            if (!has(part, "tex")) {
                buildWidgetPart(checkBox, part, frame);
                continue;
            }
            const std::string state = stringOf(part, "state");
            std::string name;
            int type = 0;
            if ((state != "normal" && state != "selected") ||
                !resolveImage(stringOf(part, "tex"), name, type)) {
                continue;
            }
            if (state == "normal") {
                checkBox->loadTextureBackGround(name, static_cast<ResType>(type));
            } else {
                checkBox->loadTextureFrontCross(name, static_cast<ResType>(type));
            }
            _zOrder += _zOrderStep;
        }
        --_build->depth;
    }
    checkBox->setName(stringOf(element, "name"));
    if (parent != nullptr) {
        parent->addChild(checkBox);
    }
    return checkBox;
}

// --- progress bars -------------------------------------------------------------------------------

cocos2d::ProgressTimer* NodeFromJson::buildProgress(cocos2d::Node* parent, const Value& element,
                                                    const cocos2d::Rect& parentFrame) {
    cocos2d::Sprite* sprite = buildSprite(nullptr, element, parentFrame);
    if (sprite == nullptr) {
        return nullptr;
    }
    cocos2d::ProgressTimer* timer = cocos2d::ProgressTimer::create(sprite);
    if (timer == nullptr) {
        return nullptr;
    }
    timer->setType(cocos2d::ProgressTimer::Type::BAR);
    timer->setMidpoint(cocos2d::Vec2(0.0f, 0.0f));
    timer->setBarChangeRate(cocos2d::Vec2(1.0f, 0.0f));
    timer->setPosition(sprite->getPosition());
    timer->setName(stringOf(element, "name"));
    if (parent != nullptr) {
        parent->addChild(timer);
    }
    return timer;
}

// --- textures for preloading ----------------------------------------------------------------------

namespace {

void collectTexturesIn(const Value& element, const std::string& folder, std::unordered_set<std::string>& out,
                       int depth) {
    const Value* nodes = childrenOf(element);
    if (nodes == nullptr || depth >= NodeFromJson::kMaxDepth) {
        return;
    }
    for (const Value& child : nodes->GetArray()) {
        if (has(child, "sheet")) {
            out.insert(folder + "/" + stringOf(child, "name") + "_atlas.png");
        } else {
            collectTexturesIn(child, folder, out, depth + 1);
        }
        const Value* tex = member(child, "tex");
        if (tex != nullptr && tex->IsString()) {
            out.insert(folder + "/" + std::string(tex->GetString(), tex->GetStringLength()));
        }
    }
}

}  // namespace

std::unordered_set<std::string> NodeFromJson::collectTextures(const std::string& folder) {
    std::unordered_set<std::string> textures;
    const DocumentPtr document = getDocument(folder + "/ccnode.json");
    if (document) {
        collectTexturesIn(*document, folder, textures, 0);
    }
    return textures;
}
