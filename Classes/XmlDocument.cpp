#include "XmlDocument.h"

#include <cinttypes>
#include <cstring>
#include <exception>
#include <new>

#include "engine/base/Log.h"
#include "engine/base/XmlNesting.h"
#include "engine/platform/FileUtils.h"

#include "StringHelpers.h"

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

std::string quotedForLog(const std::string& text) {
    constexpr size_t kShown = 40;
    return "\"" + (text.size() <= kShown ? text : text.substr(0, kShown) + "...") + "\"";
}

int64_t boundedInteger(const rapidxml::xml_node<char>* node, const char* name, int64_t lowest,
                       int64_t highest, const std::string& where) {
    const std::string text = attributeText(node, name);
    const int64_t value = leadingInteger(text);
    if (value >= lowest && value <= highest) {
        return value;
    }
    cocos2d::log("%s: %s=%s is out of range (%" PRId64 " to %" PRId64 "); not used", where.c_str(), name,
                 quotedForLog(text).c_str(), lowest, highest);
    return 0;
}

double boundedDecimal(const rapidxml::xml_node<char>* node, const char* name, double lowest, double highest,
                      const std::string& where) {
    const std::string text = attributeText(node, name);
    const double value = leadingDecimal(text);
    if (value >= lowest && value <= highest) {
        return value;
    }
    cocos2d::log("%s: %s=%s is out of range (%g to %g); not used", where.c_str(), name,
                 quotedForLog(text).c_str(), lowest, highest);
    return 0.0;
}
