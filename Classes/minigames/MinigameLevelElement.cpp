#include "MinigameLevelElement.h"

#include <cfloat>
#include <cmath>

#include "StringHelpers.h"

MinigameLevelElement::MinigameLevelElement(std::string name, Attributes attributes)
    : _name(std::move(name)), _attributes(std::move(attributes)) {}

const std::string* MinigameLevelElement::find(const std::string& name) const {
    for (const auto& [key, value] : _attributes) {
        if (key == name) {
            return &value;
        }
    }
    return nullptr;
}

bool MinigameLevelElement::hasAttribute(const std::string& name) const {
    return find(name) != nullptr;
}

std::string MinigameLevelElement::attribute(const std::string& name) const {
    const std::string* value = find(name);
    return value != nullptr ? *value : std::string();
}

int32_t MinigameLevelElement::intAttribute(const std::string& name, int32_t fallback) const {
    const std::string* value = find(name);
    return value != nullptr ? readInt(*value) : fallback;
}

float MinigameLevelElement::floatAttribute(const std::string& name, float fallback) const {
    const std::string* text = find(name);
    float value = 0.0f;
    return text != nullptr && readFloat(*text, value) ? value : fallback;
}

bool MinigameLevelElement::flagAttribute(const std::string& name) const {
    const std::string* value = find(name);
    return value != nullptr && *value == "true";
}

int32_t MinigameLevelElement::nameNumber() const {
    return readInt(_name);
}

int32_t MinigameLevelElement::readInt(const std::string& text) {
    return leadingInt32(text);
}

bool MinigameLevelElement::readFloat(const std::string& text, float& value) {
    const double number = leadingDecimal(text);
    if (!std::isfinite(number) || std::fabs(number) > static_cast<double>(FLT_MAX)) {
        return false;
    }
    value = static_cast<float>(number);
    return true;
}
