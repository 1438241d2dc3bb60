#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One node of a minigame level file as the games read it: an element with its name and attributes,
// or a run of text, which has no name. The top element also lists its children in document order.
// Numbers read as the C library's atoi and atof read them (the longest leading number, 0 when there is
// none), but never overflow: a hostile file gets a defined value that each game then bounds.
class MinigameLevelElement {
public:
    using Attributes = std::vector<std::pair<std::string, std::string>>;

    MinigameLevelElement() = default;
    MinigameLevelElement(std::string name, Attributes attributes);

    // "" for a run of text.
    const std::string& name() const { return _name; }
    const std::vector<MinigameLevelElement>& children() const { return _children; }
    void addChild(MinigameLevelElement child) { _children.push_back(std::move(child)); }

    // Names are matched exactly, case included; the first attribute of that name counts.
    bool hasAttribute(const std::string& name) const;
    // The attribute's text; "" when it is missing.
    std::string attribute(const std::string& name) const;
    // The leading decimal integer, saturated at the int32 range; fallback when the attribute is missing.
    int32_t intAttribute(const std::string& name, int32_t fallback) const;
    // The leading number; fallback when the attribute is missing or its number is not a finite float.
    float floatAttribute(const std::string& name, float fallback) const;
    // True only for the exact text "true".
    bool flagAttribute(const std::string& name) const;
    // The element's name read as an integer (elements written as bare numbers, like <3/>).
    int32_t nameNumber() const;

    // The readings the attribute getters use, for any text.
    static int32_t readInt(const std::string& text);
    static bool readFloat(const std::string& text, float& value);

private:
    const std::string* find(const std::string& name) const;

    std::string _name;
    Attributes _attributes;
    std::vector<MinigameLevelElement> _children;
};
