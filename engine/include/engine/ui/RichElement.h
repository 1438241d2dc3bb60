#pragma once

#include <string>

#include "engine/base/GLTypes.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Types.h"
#include "engine/scene/Node.h"

namespace cocos2d {
namespace ui {

// One piece of a rich text: a run of text, a node of the game's, or a forced line break. An element
// may be pushed into a rich text more than once.
class RichElement : public Ref {
public:
    enum class Type { TEXT = 0, IMAGE = 1, CUSTOM = 2, NEWLINE = 3 };

    bool init(int tag, const Color3B& color, GLubyte opacity);
    Type getType() const { return _type; }
    int getTag() const { return _tag; }
    const Color3B& getColor() const { return _color; }
    GLubyte getOpacity() const { return _opacity; }

protected:
    explicit RichElement(Type type) : _type(type) {}

    Type _type;
    int _tag = 0;
    Color3B _color = Color3B::WHITE;
    GLubyte _opacity = 255;
};

class RichElementText : public RichElement {
public:
    static RichElementText* create(int tag, const Color3B& color, GLubyte opacity, const std::string& text,
                                   const std::string& fontFile, float fontSize);
    // A forced line break. On an empty line it makes an empty line as tall as the font's line height at
    // that size.
    static RichElementText* createNewLine(int tag, const std::string& fontFile, float fontSize);

    const std::string& getText() const { return _text; }
    const std::string& getFontFile() const { return _fontFile; }
    float getFontSize() const { return _fontSize; }

protected:
    explicit RichElementText(Type type) : RichElement(type) {}

    std::string _text;
    std::string _fontFile;
    float _fontSize = 0.0f;
};

// The node is laid out as one box of its scaled content size and takes the element's colour and
// opacity. The element retains it.
class RichElementCustomNode : public RichElement {
public:
    static RichElementCustomNode* create(int tag, const Color3B& color, GLubyte opacity, Node* customNode);

    Node* getCustomNode() const { return _customNode.get(); }

protected:
    RichElementCustomNode() : RichElement(Type::CUSTOM) {}

    RefPtr<Node> _customNode;
};

}  // namespace ui
}  // namespace cocos2d
