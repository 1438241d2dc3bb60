#pragma once

#include <string>
#include <unordered_map>

#include <rapidjson/document.h>

class FactoryNode;

// Makes one registered class from its description element: a new autoreleased node, or null.
using FactoryNodeCreator = FactoryNode* (*)(const rapidjson::Value& element);

// The class names a UI description may ask for, each with its creator. Filled once at launch
// (registerFactoryClasses) before the first screen is built, then only read.
class FactoryNodeRegistry {
public:
    static FactoryNodeRegistry& getInstance();
    // Tests start clean: the next getInstance builds an empty registry.
    static void destroyInstance();

    // Replaces an entry of the same name.
    void registerClass(const std::string& className, FactoryNodeCreator creator);
    // Null for a name not registered; names compare exactly.
    FactoryNodeCreator find(const std::string& className) const;
    size_t size() const { return _creators.size(); }

private:
    std::unordered_map<std::string, FactoryNodeCreator> _creators;
};
