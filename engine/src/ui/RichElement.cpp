#include "engine/ui/RichElement.h"

#include <new>

namespace cocos2d {
namespace ui {

bool RichElement::init(int tag, const Color3B& color, GLubyte opacity) {
    _tag = tag;
    _color = color;
    _opacity = opacity;
    return true;
}

RichElementText* RichElementText::create(int tag, const Color3B& color, GLubyte opacity,
                                         const std::string& text, const std::string& fontFile,
                                         float fontSize) {
    auto* element = new (std::nothrow) RichElementText(Type::TEXT);
    if (element && element->init(tag, color, opacity)) {
        element->_text = text;
        element->_fontFile = fontFile;
        element->_fontSize = fontSize;
        element->autorelease();
        return element;
    }
    delete element;
    return nullptr;
}

RichElementText* RichElementText::createNewLine(int tag, const std::string& fontFile, float fontSize) {
    auto* element = new (std::nothrow) RichElementText(Type::NEWLINE);
    if (element && element->init(tag, Color3B::WHITE, 255)) {
        element->_fontFile = fontFile;
        element->_fontSize = fontSize;
        element->autorelease();
        return element;
    }
    delete element;
    return nullptr;
}

RichElementCustomNode* RichElementCustomNode::create(int tag, const Color3B& color, GLubyte opacity,
                                                     Node* customNode) {
    auto* element = new (std::nothrow) RichElementCustomNode();
    if (element && element->init(tag, color, opacity)) {
        element->_customNode = customNode;
        element->autorelease();
        return element;
    }
    delete element;
    return nullptr;
}

}  // namespace ui
}  // namespace cocos2d
