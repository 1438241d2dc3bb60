#include "FactoryNodeRegistry.h"

#include <memory>

namespace {

std::unique_ptr<FactoryNodeRegistry>& instanceSlot() {
    static std::unique_ptr<FactoryNodeRegistry> instance;
    return instance;
}

}  // namespace

FactoryNodeRegistry& FactoryNodeRegistry::getInstance() {
    std::unique_ptr<FactoryNodeRegistry>& instance = instanceSlot();
    if (!instance) {
        instance = std::make_unique<FactoryNodeRegistry>();
    }
    return *instance;
}

void FactoryNodeRegistry::destroyInstance() {
    instanceSlot().reset();
}

void FactoryNodeRegistry::registerClass(const std::string& className, FactoryNodeCreator creator) {
    _creators[className] = creator;
}

FactoryNodeCreator FactoryNodeRegistry::find(const std::string& className) const {
    const auto it = _creators.find(className);
    return it == _creators.end() ? nullptr : it->second;
}
