#include "minigames/MinigameLevelFile.h"

#include <cstring>
#include <utility>

#include "engine/base/Log.h"

#include "XmlDocument.h"

namespace {

MinigameLevelElement::Attributes attributesOf(const rapidxml::xml_node<char>* node) {
    MinigameLevelElement::Attributes attributes;
    for (const rapidxml::xml_attribute<char>* attribute = node->first_attribute(); attribute != nullptr;
         attribute = attribute->next_attribute()) {
        attributes.emplace_back(std::string(attribute->name(), attribute->name_size()),
                                std::string(attribute->value(), attribute->value_size()));
    }
    return attributes;
}

}  // namespace

bool MinigameLevelFile::load(const std::string& path, const std::string& rootName) {
    return loadText(path, readXmlFileText(path), rootName);
}

bool MinigameLevelFile::loadText(const std::string& path, const std::string& text,
                                 const std::string& rootName) {
    _root = MinigameLevelElement();
    _loaded = false;
    if (text.empty()) {
        return fail(path, "the file is missing or empty");
    }
    XmlDocument document;
    if (!document.parse(text)) {
        return fail(path, document.error());
    }
    const rapidxml::xml_node<char>* root = document.root(rootName.c_str());
    if (root == nullptr) {
        return fail(path, "no element \"" + rootName + "\"");
    }
    MinigameLevelElement element(std::string(root->name(), root->name_size()), attributesOf(root));
    for (const rapidxml::xml_node<char>* child = root->first_node(); child != nullptr;
         child = child->next_sibling()) {
        switch (child->type()) {
            case rapidxml::node_element:
                element.addChild(MinigameLevelElement(std::string(child->name(), child->name_size()),
                                                      attributesOf(child)));
                break;
            case rapidxml::node_data:
            case rapidxml::node_cdata:
                element.addChild(MinigameLevelElement());
                break;
            default:
                break;
        }
    }
    _root = std::move(element);
    _loaded = true;
    return true;
}

bool MinigameLevelFile::fail(const std::string& path, const std::string& reason) {
    cocos2d::log("Load %s list: %s", path.c_str(), reason.c_str());
    return false;
}
