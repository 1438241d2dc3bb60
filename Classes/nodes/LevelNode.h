#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/scene/Node.h"

class EraseableGameObject;
class HiddenObject;

// The built picture of one level: the background, the plain pieces, the hidden items with their
// shadows, and the damage the player's strokes leave. Built from the level folder's "/ccnode.json"
// and its two sheets, which it loads when built and unloads, with the level's images, on cleanup.
//
// The maps and the list hold plain pointers: the nodes are its children, owned by the scene graph.
class NodeLevel : public cocos2d::Node {
public:
    // One element of the description, as read.
    struct Element;

    static NodeLevel* create();
    ~NodeLevel() override;

    // Builds the level from the folder's description and adds itself to `parent`. A description that
    // is missing or malformed, or whose first element is not the background, logs one line and leaves
    // the level empty (no children, zero size); the result is then false.
    virtual bool initWithLevel(cocos2d::Node* parent, const std::string& folder, int32_t zStart,
                               int32_t zStep);

    // Items by element name; they leave it when restored or taken out of play.
    std::unordered_map<std::string, HiddenObject*>& getItems() { return _items; }
    // Erases the entry whose value is `item`; the node stays in the scene graph.
    bool removeItem(HiddenObject* item);
    // Player-made damage, oldest first.
    std::list<EraseableGameObject*>& getDamageList() { return _damage; }
    // Adds the object as a child at the current z (not advanced) and appends it to the list.
    void addDamage(EraseableGameObject* object);
    // Unlinks the first entry equal to `object`; the node stays in the scene graph.
    bool removeDamage(EraseableGameObject* object);
    // The z for the next child, advanced by the step first when asked.
    int32_t nextZOrder(bool advance);

    // Also unloads the level's two sheets and its images, unless another level of the same folder
    // still uses them. Calling it again does nothing more.
    void cleanup() override;

    const std::string& getFolder() const { return _folder; }
    // The level has its background (and so a picture to play on).
    bool isBuilt() const { return _built; }

protected:
    NodeLevel() = default;

    bool buildFromJson(const std::string& json);
    void linkShadows();

private:
    cocos2d::Rect readRect(const Element& element) const;
    cocos2d::Vec2 placeNode(const Element& element, const cocos2d::Rect& levelRect) const;
    cocos2d::Node* createTexture(const Element& element, const cocos2d::Rect& levelRect);
    void createShadow(const Element& element, const cocos2d::Rect& levelRect);
    void createItem(const Element& element, const cocos2d::Rect& levelRect);
    void clearLevel();

    std::unordered_map<std::string, cocos2d::Node*> _shadows;
    std::unordered_map<std::string, HiddenObject*> _items;
    std::list<EraseableGameObject*> _damage;
    int32_t _z = 0;
    int32_t _zStep = 0;
    std::string _folder;
    cocos2d::Vec2 _visibleOrigin;
    cocos2d::Vec2 _visibleCenter;
    bool _built = false;
    // This level counts among the users of its folder's sheets until its clean-up.
    bool _holdsSheets = false;
};
