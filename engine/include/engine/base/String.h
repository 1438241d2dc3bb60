#pragma once

#include <string>

#include "engine/base/Ref.h"

namespace cocos2d {

// A string held by reference, for places that take a Ref (a node's user object).
class __String : public Ref {
public:
    static __String* create(const std::string& text);

    const char* getCString() const { return _text.c_str(); }
    const std::string& getString() const { return _text; }
    int length() const { return static_cast<int>(_text.size()); }

private:
    explicit __String(std::string text) : _text(std::move(text)) {}
    std::string _text;
};

}  // namespace cocos2d
