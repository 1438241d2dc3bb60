#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <rapidjson/document.h>

#include "engine/base/Types.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"

namespace cocos2d {
class EventMouse;
class Label;
class Node;
class ProgressTimer;
class Sprite;
namespace ui {
class Button;
class CheckBox;
}  // namespace ui
}  // namespace cocos2d

// The director's visible origin plus half the visible size: where screens centre themselves.
cocos2d::Vec2 visibleCenter();

// Builds engine nodes from one folder's UI description ("<folder>/ccnode.json"): the whole tree
// under one root, or one named element with its subtree. Frames in the file are top-left and y-down
// inside the parent's frame; a node stands at its frame's centre measured from the centre of the
// parent's frame, y up. Labels take their texts from the text table, in the section of the last
// createNode call ("ui" for the whole tree).
//
// The parsed description is shared through JsonDocumentCache; destroying any loader empties that
// cache (this loader's own share stays valid while it lives).
class NodeFromJson {
public:
    using Document = rapidjson::Document;
    using DocumentPtr = std::shared_ptr<const Document>;

    // Deeper "nodes" nesting than this is not built (one log line): it would only be a broken file.
    static constexpr int kMaxDepth = 64;
    // Nodes one createNode call builds at most: references can multiply a small file enormously.
    static constexpr size_t kMaxNodesPerBuild = 20000;

    explicit NodeFromJson(const std::string& folder);
    virtual ~NodeFromJson();

    NodeFromJson(const NodeFromJson&) = delete;
    NodeFromJson& operator=(const NodeFromJson&) = delete;

    // "" builds every top-level element into a new root FactoryNode at (0, 0); a name builds the
    // first element of that name (depth-first, pre-order, not a reference) as if it stood at the top
    // level. Autoreleased, without parent; null when the description is missing or malformed or no
    // element matches.
    cocos2d::Node* createNode(const std::string& name);

    // The parsed description at path, from the cache or read and parsed now; null, with "Parsing
    // JSON document '%s' returned error: %d", when it is missing or malformed (nothing is cached).
    static DocumentPtr getDocument(const std::string& path);
    // The image files a folder's description uses, for preloading: each sheet's image and every
    // "tex" value under the folder. Empty for a missing or malformed description.
    static std::unordered_set<std::string> collectTextures(const std::string& folder);
    // Adds the frames of "<folder>/<sheet>_atlas.xml" with the image "<folder>/<sheet>_atlas.png".
    void loadSheet(const std::string& sheetName);

    const DocumentPtr& getDocument() const { return _document; }
    const std::string& getFolder() const { return _folder; }
    const std::string& getSection() const { return _section; }

    // The frame of an element inside its parent, with the anchor letters applied against the
    // director's visible origin.
    static cocos2d::Rect readFrame(const rapidjson::Value& element);
    // The same against a given visible origin: "l" adds its x, else "r" subtracts it; "t" adds its y,
    // else "b" subtracts it (the frame is y-down, so "t" keeps the distance to the top edge).
    static cocos2d::Rect readFrame(const rapidjson::Value& element, const cocos2d::Vec2& visibleOrigin);
    // The frame's centre measured from the centre of the parent frame, y up.
    static cocos2d::Vec2 positionIn(const cocos2d::Rect& frame, const cocos2d::Rect& parentFrame);
    // "RRRGGGBBB" of a label object's "c"; white otherwise.
    static cocos2d::Color3B readColor(const rapidjson::Value& label);
    static cocos2d::TextHAlignment readHAlignment(const rapidjson::Value& label);
    static cocos2d::TextVAlignment readVAlignment(const rapidjson::Value& label);
    // The hover tint of a built button: (220, 220, 220) while the pointer is over it, else white.
    // Works only on the event's own target, the button its listener belongs to (and dies with).
    static void onButtonMouseMove(cocos2d::EventMouse* event);

private:
    using Value = rapidjson::Value;
    using ReferenceTable = std::unordered_map<std::string, const Value*>;

    // Per createNode call.
    struct Build {
        ReferenceTable references;
        // Definitions whose children are being built: a reference to one of them is a cycle.
        std::vector<const Value*> expanding;
        int depth = 0;
        size_t nodes = 0;
        bool tooDeepLogged = false;
        bool tooManyLogged = false;
    };

    cocos2d::Node* buildElement(cocos2d::Node* parent, const Value& element,
                                const cocos2d::Rect& parentFrame);
    void buildChildren(cocos2d::Node* parent, const Value& element, const cocos2d::Rect& frame);
    cocos2d::Node* buildNode(cocos2d::Node* parent, const Value& element, const cocos2d::Rect& parentFrame);
    cocos2d::Sprite* buildSprite(cocos2d::Node* parent, const Value& element,
                                 const cocos2d::Rect& parentFrame);
    cocos2d::Node* buildReference(cocos2d::Node* parent, const Value& element,
                                  const cocos2d::Rect& parentFrame);
    cocos2d::Label* buildLabel(cocos2d::Node* parent, const Value& element, const cocos2d::Rect& parentFrame);
    cocos2d::ui::Button* buildButton(cocos2d::Node* parent, const Value& element,
                                     const cocos2d::Rect& parentFrame);
    cocos2d::ui::CheckBox* buildCheckBox(cocos2d::Node* parent, const Value& element,
                                         const cocos2d::Rect& parentFrame);
    // A bar that grows from the left edge over the element's image; its percentage is the owner's.
    cocos2d::ProgressTimer* buildProgress(cocos2d::Node* parent, const Value& element,
                                          const cocos2d::Rect& parentFrame);
    // A plain node inside a button or check box of frame `widgetFrame`: its frame's top-left corner
    // measured from the widget frame's centre, y up; its own children measured against the widget.
    void buildWidgetPart(cocos2d::Node* widget, const Value& part, const cocos2d::Rect& widgetFrame);
    // The image of a texture part: a file of the folder, or a frame after loading its sheet. False
    // when the value names neither.
    bool resolveImage(const std::string& tex, std::string& name, int& type);

    // A sprite of a "tex" value: a file of the folder, or "<sheet>/<frame>" after loading the sheet.
    cocos2d::Sprite* makeSprite(const std::string& tex);
    const Value* findElement(const std::string& name, const Value& element, int depth) const;
    void collectReferenceNames(const Value& element, std::unordered_set<std::string>& names, int depth) const;
    void resolveReferences(const Value& element, const std::unordered_set<std::string>& names, int depth);
    // False, with one log line per build, once the depth or node bounds are reached.
    bool mayDescend();
    bool mayBuildNode();

    DocumentPtr _document;
    std::string _folder;
    std::string _section;
    int32_t _zOrder = 0;
    int32_t _zOrderStep = 0;
    Build* _build = nullptr;
};
