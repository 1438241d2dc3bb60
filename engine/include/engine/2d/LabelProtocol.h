#pragma once

#include <string>

namespace cocos2d {

// Anything that shows a string; actions that write numbers into a label find it through this.
class LabelProtocol {
public:
    virtual ~LabelProtocol() = default;
    virtual void setString(const std::string& text) = 0;
    virtual const std::string& getString() const = 0;
};

}  // namespace cocos2d
