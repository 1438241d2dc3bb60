#include "FactoryNode.h"

#include <new>

#include "engine/base/Log.h"

#include "FactoryNodeRegistry.h"

FactoryNode* FactoryNode::create() {
    auto* node = new (std::nothrow) FactoryNode();
    if (node == nullptr) {
        return nullptr;
    }
    if (!node->init()) {
        delete node;
        return nullptr;
    }
    node->autorelease();
    return node;
}

FactoryNode* FactoryNode::createByClassName(const std::string& className, const rapidjson::Value& element) {
    FactoryNodeCreator creator = FactoryNodeRegistry::getInstance().find(className);
    if (creator == nullptr) {
        cocos2d::log("Can't create %s", className.c_str());
        return nullptr;
    }
    return creator(element);
}

void FactoryNode::initWithJson(const rapidjson::Value& element) {
    if (!element.IsObject()) {
        return;
    }
    const auto name = element.FindMember("name");
    if (name != element.MemberEnd() && name->value.IsString()) {
        setName(std::string(name->value.GetString(), name->value.GetStringLength()));
    }
}
