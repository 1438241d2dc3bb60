#pragma once

#include <cstdint>
#include <string>

#include "engine/math/Size.h"

#include "ui/FactoryNode.h"

// One country of the map's list, named by the country's path. It learns from the progress whether
// the country is locked and where it stands in the unlock order (the list's sort key).
class CountryListItemNode : public FactoryNode {
public:
    static CountryListItemNode* create();
    ~CountryListItemNode() override;

    void setName(const std::string& name) override;
    // Sizes the node by its icon, fills the caption with the country's name and reads the silhouette
    // size from "w" and "h".
    void initWithJson(const rapidjson::Value& element) override;

    // A locked country keeps its name and a padlock in front of its dark silhouette. Both wait
    // hidden until the node is on screen, so a silhouette drawn from the node leaves them out.
    void onEnter() override;

    static constexpr const char* kLockBadgeName = "lock_badge";
    static constexpr const char* kLockCaptionName = "lock_caption";

    bool isLocked() const { return _locked; }
    int32_t getUnlockOrder() const { return _unlockOrder; }
    const cocos2d::Size& getLockSize() const { return _lockSize; }

protected:
    CountryListItemNode() = default;

private:
    void addLockedLook();

    bool _locked = false;
    int32_t _unlockOrder = -1;
    cocos2d::Size _lockSize;
};
