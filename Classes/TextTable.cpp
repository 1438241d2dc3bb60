#include "TextTable.h"

#include <memory>

#include "engine/base/Log.h"

#include "StringHelpers.h"
#include "XmlDocument.h"

namespace {

std::unique_ptr<TextTable>& instanceSlot() {
    static std::unique_ptr<TextTable> instance;
    return instance;
}

}  // namespace

TextTable& TextTable::getInstance() {
    std::unique_ptr<TextTable>& instance = instanceSlot();
    if (!instance) {
        instance = std::make_unique<TextTable>();
    }
    return *instance;
}

void TextTable::destroyInstance() {
    instanceSlot().reset();
}

void TextTable::loadTexts(const std::string& folder, const std::string& language, bool clear) {
    cocos2d::log("loadTexts");
    const std::string languagePath = folder + "/texts-" + language + ".xml";
    const std::string fallbackPath = folder + "/texts-en.xml";
    std::string text = readXmlFileText(languagePath);
    std::string readPath = languagePath;
    if (text.empty()) {
        text = readXmlFileText(fallbackPath);
        readPath = fallbackPath;
        if (text.empty()) {
            cocos2d::log("LoadTexts: %s and %s are missing or empty", languagePath.c_str(),
                         fallbackPath.c_str());
        }
    }

    XmlDocument document;
    if (!document.parse(text)) {
        cocos2d::log("LoadTexts: %s: %s", readPath.c_str(), document.error().c_str());
        cocos2d::log("\t loadTexts ok");
        return;
    }
    const rapidxml::xml_node<char>* root = document.root("texts");
    if (root == nullptr && !text.empty()) {
        // Some other file under the texts' name: refused like a malformed one, so it cannot empty
        // the table.
        cocos2d::log("LoadTexts: %s: %s", readPath.c_str(), "no root element \"texts\"");
        cocos2d::log("\t loadTexts ok");
        return;
    }

    if (clear) {
        _sections.clear();
    }
    for (const rapidxml::xml_node<char>* sectionNode : childElements(root)) {
        Section& section = _sections[toLowerCase(std::string(sectionNode->name(), sectionNode->name_size()))];
        for (const rapidxml::xml_node<char>* textNode : childElements(sectionNode)) {
            if (textNode->first_attribute("id") == nullptr) {
                continue;
            }
            section[toLowerCase(attributeText(textNode, "id"))] = elementText(textNode);
        }
    }
    cocos2d::log("\t loadTexts ok");
}

std::string TextTable::getText(const std::string& section, const std::string& id) const {
    return lookup(section + "." + id);
}

std::string TextTable::lookup(const std::string& key) const {
    const std::string lowered = toLowerCase(key);
    const size_t dot = lowered.find('.');
    if (dot == std::string::npos) {
        return lowered;
    }
    const auto section = _sections.find(lowered.substr(0, dot));
    if (section == _sections.end()) {
        return lowered;
    }
    const auto text = section->second.find(lowered.substr(dot + 1));
    return text != section->second.end() ? text->second : lowered;
}
