#pragma once

#include <string>

#include <rapidjson/document.h>

#include "engine/scene/Node.h"

// Base of the game's node classes that a UI description creates by class name. The loader places
// the node, builds the element's children into it, then calls initWithJson with the element, so a
// class can find its described children by name and read keys of its own.
class FactoryNode : public cocos2d::Node {
public:
    // A plain one: the root of a whole description.
    static FactoryNode* create();
    // The registered class of that name (exact, case-sensitive), made by its creator; null and
    // "Can't create %s" when no class has that name, null when its create fails.
    static FactoryNode* createByClassName(const std::string& className, const rapidjson::Value& element);

    // Names the node from the element's "name". Overrides call this first, then read their keys.
    virtual void initWithJson(const rapidjson::Value& element);

protected:
    FactoryNode() = default;
};
