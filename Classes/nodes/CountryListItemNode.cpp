#include "nodes/CountryListItemNode.h"

#include <new>

#include "engine/2d/Label.h"

#include "ProgressQueries.h"
#include "TextTable.h"

CountryListItemNode* CountryListItemNode::create() {
    auto* node = new (std::nothrow) CountryListItemNode();
    if (node != nullptr && node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

CountryListItemNode::~CountryListItemNode() = default;

void CountryListItemNode::setName(const std::string& name) {
    cocos2d::Node::setName(name);
    _locked = isCountryLocked(name);
    _unlockOrder = getCountryUnlockOrder(name);
}

void CountryListItemNode::initWithJson(const rapidjson::Value& element) {
    FactoryNode::initWithJson(element);
    if (cocos2d::Node* icon = getChildByName(getName() + "_icon")) {
        setContentSize(cocos2d::Size(icon->getContentSize().width, 600.0f));
    }
    if (auto* caption = dynamic_cast<cocos2d::Label*>(getChildByName("caption"))) {
        caption->setString(TextTable::getInstance().getText("Country", getName()));
    }
    if (!element.IsObject()) {
        return;
    }
    const auto w = element.FindMember("w");
    const auto h = element.FindMember("h");
    if (w != element.MemberEnd() && h != element.MemberEnd() && w->value.IsInt() && h->value.IsInt()) {
        _lockSize = cocos2d::Size(static_cast<float>(w->value.GetInt()), static_cast<float>(h->value.GetInt()));
    }
}
