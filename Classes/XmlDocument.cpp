#include "XmlDocument.h"

#include <cstring>
#include <exception>
#include <new>

#include "engine/base/XmlNesting.h"
#include "engine/platform/FileUtils.h"

bool XmlDocument::parse(const std::string& text) {
    _document.clear();
    _error.clear();
    _buffer.assign(text.begin(), text.end());
    _buffer.push_back('\0');
    if (cocos2d::xmlElementDepth(_buffer.data(), text.size(), kMaxDepth) > kMaxDepth) {
        _error = "elements nested deeper than " + std::to_string(kMaxDepth) + " levels";
        _document.clear();
        return false;
    }
    try {
        _document.parse<0>(_buffer.data());
        return true;
    } catch (const rapidxml::parse_error& error) {
        _error = error.what();
    } catch (const std::bad_alloc&) {
        _error = "out of memory";
    }
    _document.clear();
    return false;
}

rapidxml::xml_node<char>* XmlDocument::root(const char* name) const {
    for (rapidxml::xml_node<char>* node = _document.first_node(); node != nullptr;
         node = node->next_sibling()) {
        if (node->type() == rapidxml::node_element && std::strcmp(node->name(), name) == 0) {
            return node;
        }
    }
    return nullptr;
}

std::string readXmlFileText(const std::string& path) {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    return files->isFileExist(path) ? files->getStringFromFile(path) : std::string();
}

std::vector<rapidxml::xml_node<char>*> childElements(const rapidxml::xml_node<char>* node) {
    std::vector<rapidxml::xml_node<char>*> children;
    if (node == nullptr) {
        return children;
    }
    for (rapidxml::xml_node<char>* child = node->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() == rapidxml::node_element) {
            children.push_back(child);
        }
    }
    return children;
}

std::string attributeText(const rapidxml::xml_node<char>* node, const char* name) {
    const rapidxml::xml_attribute<char>* attribute = node != nullptr ? node->first_attribute(name) : nullptr;
    return attribute != nullptr ? std::string(attribute->value(), attribute->value_size()) : std::string();
}

std::string elementText(const rapidxml::xml_node<char>* node) {
    return node != nullptr ? std::string(node->value(), node->value_size()) : std::string();
}
