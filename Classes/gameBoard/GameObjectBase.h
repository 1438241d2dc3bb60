#pragma once

#include <new>
#include <string>

#include "engine/scene/Sprite.h"
#include "gameBoard/DefectKind.h"

// Every object on the board: a sprite made from a sheet frame, with a defect kind and an active flag
// (inactive objects are being removed and take no more strokes).
class GameObjectBase : public cocos2d::Sprite {
public:
    // Null when the frame is not in the sprite-frame cache (no log line: the caller names the file).
    static GameObjectBase* createWithSpriteFrameName(const std::string& frameName);

    virtual bool isActive() const { return _active; }
    virtual void setActive(bool active) { _active = active; }

    DefectKind getKind() const { return _kind; }
    void setKind(DefectKind kind) { _kind = kind; }
    const std::string& getFrameName() const { return _frameName; }

protected:
    GameObjectBase() = default;

    // Initialises a new object from the cached frame, keeps the frame name and autoreleases it; on
    // failure deletes it and gives null.
    template <class T>
    static T* adopt(T* object, const std::string& frameName) {
        if (object != nullptr && object->initWithFrameName(frameName)) {
            object->autorelease();
            return object;
        }
        delete object;
        return nullptr;
    }
    bool initWithFrameName(const std::string& frameName);

    std::string _frameName;
    bool _active = true;
    DefectKind _kind = DefectKind::None;
};
