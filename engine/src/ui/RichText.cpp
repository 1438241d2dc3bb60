#include "engine/ui/RichText.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <unordered_set>

#include "engine/2d/Label.h"
#include "engine/base/Log.h"

namespace cocos2d {
namespace ui {
namespace {

constexpr float kFitTolerance = 0.01f;

struct Item {
    Node* node;
    float width;
    float height;
};

struct Line {
    std::vector<Item> items;
    float width = 0.0f;
    float height = 0.0f;
};

// The byte length of the UTF-8 character starting at `text[i]`.
size_t charLength(const std::string& text, size_t i) {
    size_t n = 1;
    while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) {
        ++n;
    }
    return n;
}

}  // namespace

RichText* RichText::create() {
    auto* text = new (std::nothrow) RichText();
    if (text && text->init()) {
        text->autorelease();
        return text;
    }
    delete text;
    return nullptr;
}

bool RichText::init() {
    return Widget::init();
}

void RichText::pushBackElement(RichElement* element) {
    if (element) {
        _elements.pushBack(element);
        _formatDirty = true;
    }
}

void RichText::setContentSize(const Size& size) {
    Widget::setContentSize(size);
    _formatDirty = true;
}

void RichText::ignoreContentAdaptWithSize(bool ignore) {
    Widget::ignoreContentAdaptWithSize(ignore);
    _formatDirty = true;
}

void RichText::visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) {
    if (_formatDirty) {
        formatText();
    }
    Widget::visit(renderer, parentTransform, parentFlags);
}

Label* RichText::measurer(const std::string& fontFile, float fontSize) {
    const auto key = std::make_pair(fontFile, fontSize);
    auto it = _measurers.find(key);
    if (it != _measurers.end()) {
        return it->second.get();
    }
    if (_failedFonts.count(key)) {
        return nullptr;
    }
    Label* label = Label::createWithTTF("", fontFile, fontSize);  // logs a font it cannot load
    if (!label) {
        _failedFonts.insert(key);
        return nullptr;
    }
    _measurers.emplace(key, label);
    return label;
}

void RichText::formatText() {
    _formatDirty = false;
    // The game's nodes keep their actions while they are moved between lines.
    removeAllProtectedChildrenWithCleanup(false);
    _lineHeights.clear();

    const bool wraps = !_ignoreSize && _customSize.width > 0.0f;
    const float maxWidth = wraps ? _customSize.width : std::numeric_limits<float>::infinity();
    std::vector<Line> lines(1);
    const auto room = [&] { return maxWidth - lines.back().width; };
    const auto add = [&](Node* node, float width, float height) {
        Line& line = lines.back();
        line.items.push_back(Item{node, width, height});
        line.width += width;
        line.height = std::max(line.height, height);
    };
    // Ends the current line; an empty one becomes a blank line of the given height.
    const auto breakLine = [&](float blankHeight) {
        if (lines.back().items.empty()) {
            lines.back().height = std::max(lines.back().height, blankHeight);
        }
        lines.emplace_back();
    };
    const auto lineHeightOf = [&](const std::string& fontFile, float fontSize) {
        Label* label = measurer(fontFile, fontSize);
        return label ? label->getLineHeight() : fontSize;
    };

    std::unordered_set<Node*> placed;
    for (RichElement* element : _elements) {
        switch (element->getType()) {
            case RichElement::Type::NEWLINE: {
                auto* text = static_cast<RichElementText*>(element);
                breakLine(lineHeightOf(text->getFontFile(), text->getFontSize()));
                break;
            }
            case RichElement::Type::CUSTOM: {
                Node* node = static_cast<RichElementCustomNode*>(element)->getCustomNode();
                if (!node || placed.count(node)) {
                    break;
                }
                if (node->getParent() && node->getParent() != this) {
                    logAt(LogLevel::Warning, "RichText: the node of element %d already has a parent",
                          element->getTag());
                    break;
                }
                placed.insert(node);
                node->setColor(element->getColor());
                node->setOpacity(element->getOpacity());
                const Size& size = node->getContentSize();
                const float width = size.width * std::fabs(node->getScaleX());
                const float height = size.height * std::fabs(node->getScaleY());
                if (!lines.back().items.empty() && width > room() + kFitTolerance) {
                    lines.emplace_back();
                }
                add(node, width, height);
                break;
            }
            case RichElement::Type::TEXT: {
                auto* text = static_cast<RichElementText*>(element);
                Label* measure = measurer(text->getFontFile(), text->getFontSize());
                if (!measure) {
                    break;
                }
                const auto widthOf = [measure](const std::string& s) {
                    measure->setString(s);
                    return measure->getContentSize().width;
                };
                const auto emit = [&](const std::string& piece) {
                    Label* label = Label::createWithTTF(piece, text->getFontFile(), text->getFontSize());
                    if (!label) {
                        return;
                    }
                    label->setAnchorPoint(Vec2::ZERO);
                    label->setColor(text->getColor());
                    label->setOpacity(text->getOpacity());
                    add(label, label->getContentSize().width, label->getContentSize().height);
                };
                const std::string& all = text->getText();
                size_t paragraphStart = 0;
                while (true) {
                    const size_t paragraphEnd = all.find('\n', paragraphStart);
                    std::string rest = all.substr(paragraphStart, paragraphEnd == std::string::npos
                                                                      ? std::string::npos
                                                                      : paragraphEnd - paragraphStart);
                    while (!rest.empty()) {
                        if (widthOf(rest) <= room() + kFitTolerance) {
                            emit(rest);
                            break;
                        }
                        // The longest run of whole words that fits what is left of the line.
                        size_t cut = 0;
                        for (size_t i = 1; i < rest.size(); ++i) {
                            if (rest[i] == ' ' && rest[i - 1] != ' ') {
                                if (widthOf(rest.substr(0, i)) > room() + kFitTolerance) {
                                    break;
                                }
                                cut = i;
                            }
                        }
                        if (cut == 0 && !lines.back().items.empty()) {
                            lines.emplace_back();  // nothing fits here: try a fresh line
                            continue;
                        }
                        if (cut == 0) {
                            // A word too long for a whole line breaks inside, after at least one character.
                            cut = charLength(rest, 0);
                            for (size_t i = cut; i < rest.size(); i += charLength(rest, i)) {
                                if (widthOf(rest.substr(0, i + charLength(rest, i))) >
                                    room() + kFitTolerance) {
                                    break;
                                }
                                cut = i + charLength(rest, i);
                            }
                        }
                        emit(rest.substr(0, cut));
                        rest.erase(0, cut);
                        const size_t next = rest.find_first_not_of(' ');
                        rest.erase(0, next == std::string::npos ? rest.size() : next);
                        if (!rest.empty()) {
                            lines.emplace_back();
                        }
                    }
                    if (paragraphEnd == std::string::npos) {
                        break;
                    }
                    breakLine(measure->getLineHeight());
                    paragraphStart = paragraphEnd + 1;
                }
                break;
            }
            case RichElement::Type::IMAGE:
                break;
        }
    }
    // A final line that nothing started adds nothing.
    if (lines.back().items.empty() && lines.back().height == 0.0f) {
        lines.pop_back();
    }

    float total = 0.0f;
    float widest = 0.0f;
    for (const Line& line : lines) {
        total += line.height;
        widest = std::max(widest, line.width);
    }
    if (_ignoreSize) {
        Node::setContentSize(Size(widest, total));
    }
    float bottom = _ignoreSize ? total : _contentSize.height;
    for (const Line& line : lines) {
        bottom -= line.height;
        _lineHeights.push_back(line.height);
        float x = 0.0f;
        for (const Item& item : line.items) {
            // The item's box starts at (x, bottom), whatever its anchor.
            Vec2 at(x, bottom);
            if (!item.node->isIgnoreAnchorPointForPosition()) {
                const Vec2& anchor = item.node->getAnchorPoint();
                at += Vec2(anchor.x * item.width, anchor.y * item.height);
            }
            item.node->setPosition(at);
            addProtectedChild(item.node);
            x += item.width;
        }
    }
}

}  // namespace ui
}  // namespace cocos2d
