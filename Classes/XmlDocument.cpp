#include "XmlDocument.h"

#include <cstring>
#include <exception>
#include <new>

#include "engine/platform/FileUtils.h"

namespace {

// The position just past the first occurrence of terminator at or after from, or length when there
// is none (rapidxml then reports the missing end itself).
size_t skipPast(const char* text, size_t length, size_t from, const char* terminator) {
    const size_t terminatorLength = std::strlen(terminator);
    for (size_t i = from; i + terminatorLength <= length; ++i) {
        if (std::memcmp(text + i, terminator, terminatorLength) == 0) {
            return i + terminatorLength;
        }
    }
    return length;
}

bool startsWith(const char* text, size_t length, size_t at, const char* prefix) {
    const size_t prefixLength = std::strlen(prefix);
    return at + prefixLength <= length && std::memcmp(text + at, prefix, prefixLength) == 0;
}

}  // namespace

int maxElementDepth(const char* text, size_t length) {
    int depth = 0;
    int deepest = 0;
    size_t i = 0;
    while (i < length && text[i] != '\0') {
        if (text[i] != '<') {
            ++i;
            continue;
        }
        if (startsWith(text, length, i, "<!--")) {
            i = skipPast(text, length, i + 4, "-->");
        } else if (startsWith(text, length, i, "<![CDATA[")) {
            i = skipPast(text, length, i + 9, "]]>");
        } else if (startsWith(text, length, i, "<?")) {
            i = skipPast(text, length, i + 2, "?>");
        } else if (startsWith(text, length, i, "<!")) {
            // A declaration: whatever it holds past its first '>' is scanned as if it were content,
            // which can only count too deep, never too shallow.
            i = skipPast(text, length, i + 2, ">");
        } else if (startsWith(text, length, i, "</")) {
            if (depth > 0) {
                --depth;
            }
            i = skipPast(text, length, i + 2, ">");
        } else {
            // A start tag: up to its '>', quoted attribute values skipped whole.
            size_t j = i + 1;
            char quote = '\0';
            bool selfClosing = false;
            while (j < length && text[j] != '\0') {
                const char c = text[j];
                if (quote != '\0') {
                    if (c == quote) {
                        quote = '\0';
                    }
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    selfClosing = text[j - 1] == '/';
                    break;
                }
                ++j;
            }
            if (!selfClosing) {
                ++depth;
                if (depth > deepest) {
                    deepest = depth;
                }
            }
            i = j + 1;
        }
    }
    return deepest;
}

bool XmlDocument::parse(const std::string& text) {
    _document.clear();
    _error.clear();
    _buffer.assign(text.begin(), text.end());
    _buffer.push_back('\0');
    if (maxElementDepth(_buffer.data(), text.size()) > kMaxDepth) {
        _error = "elements nested too deeply";
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
