#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/base/Vector.h"
#include "engine/ui/RichElement.h"
#include "engine/ui/Widget.h"

namespace cocos2d {

class Label;

namespace ui {

// Text runs, nodes and line breaks laid out in lines. Items go left to right; text wraps at word breaks
// at the content width (with adaptation off), and an item that does not fit in what is left of a line
// starts a new one. A line is as tall as its tallest item, and items sit on its bottom. Lines stack
// down from the top of the content size. With adaptation on (the default) nothing wraps and the
// content size follows the laid-out lines. Layout is redone before the next draw after any change.
class RichText : public Widget {
public:
    static RichText* create();
    bool init() override;

    // Retains the element. The same element may be pushed again (a line break used many times); a node
    // pushed twice keeps its first place.
    void pushBackElement(RichElement* element);

    // Lays the elements out now (it also happens before the next draw).
    void formatText();

    void setContentSize(const Size& size) override;
    void ignoreContentAdaptWithSize(bool ignore) override;
    using Node::visit;
    void visit(Renderer* renderer, const Mat4& parentTransform, uint32_t parentFlags) override;

    // (ours) The number of laid-out lines (after formatText).
    int getLineCount() const { return static_cast<int>(_lineHeights.size()); }
    // (ours) The height of each laid-out line, from the top.
    const std::vector<float>& getLineHeights() const { return _lineHeights; }

protected:
    RichText() = default;

private:
    // A measuring label of the font at the size, or null (logged once per rich text) when it cannot load.
    Label* measurer(const std::string& fontFile, float fontSize);

    Vector<RichElement*> _elements;
    bool _formatDirty = true;
    std::vector<float> _lineHeights;
    std::map<std::pair<std::string, float>, RefPtr<Label>> _measurers;
    std::set<std::pair<std::string, float>> _failedFonts;
};

}  // namespace ui
}  // namespace cocos2d
