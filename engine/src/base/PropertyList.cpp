#include "base/PropertyList.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

#include <rapidxml.hpp>

#include "engine/base/XmlNesting.h"

namespace cocos2d {
namespace plist {
namespace {

using Node = rapidxml::xml_node<char>;

std::string nameOf(const Node* node) {
    return std::string(node->name(), node->name_size());
}

std::string textOf(const Node* node) {
    return std::string(node->value(), node->value_size());
}

const Node* nextElement(const Node* node) {
    while (node && node->type() != rapidxml::node_element) {
        node = node->next_sibling();
    }
    return node;
}

bool convert(const Node* node, Value& out, std::string& error) {
    const std::string name = nameOf(node);
    if (name == "string" || name == "date" || name == "data") {
        out.type = name == "string" ? Value::Type::String : Value::Type::Other;
        out.text = textOf(node);
        return true;
    }
    if (name == "real" || name == "integer") {
        out.type = name == "real" ? Value::Type::Real : Value::Type::Integer;
        out.text = textOf(node);
        return true;
    }
    if (name == "true" || name == "false") {
        out.type = Value::Type::Bool;
        out.boolean = name == "true";
        return true;
    }
    if (name == "array") {
        out.type = Value::Type::Array;
        for (const Node* child = nextElement(node->first_node()); child;
             child = nextElement(child->next_sibling())) {
            out.items.emplace_back();
            if (!convert(child, out.items.back(), error)) {
                return false;
            }
        }
        return true;
    }
    if (name == "dict") {
        out.type = Value::Type::Dict;
        for (const Node* key = nextElement(node->first_node()); key; key = nextElement(key->next_sibling())) {
            if (nameOf(key) != "key") {
                error = "<" + nameOf(key) + "> where a <key> belongs";
                return false;
            }
            const Node* value = nextElement(key->next_sibling());
            if (!value) {
                error = "key '" + textOf(key) + "' has no value";
                return false;
            }
            out.keys.push_back(textOf(key));
            out.values.emplace_back();
            if (!convert(value, out.values.back(), error)) {
                return false;
            }
            key = value;
        }
        return true;
    }
    error = "unexpected element <" + name + ">";
    return false;
}

}  // namespace

const Value* Value::find(const std::string& key) const {
    for (size_t i = 0; i < keys.size() && i < values.size(); ++i) {
        if (keys[i] == key) {
            return &values[i];
        }
    }
    return nullptr;
}

bool parse(const std::string& xml, Value& root, std::string& error) {
    root = Value();
    if (xml.empty()) {
        error = "empty file";
        return false;
    }
    // Neither rapidxml's recursive descent nor the conversion above may see a hostile nesting.
    if (xmlElementDepth(xml.data(), xml.size(), kMaxDepth) > kMaxDepth) {
        error = "elements nested deeper than " + std::to_string(kMaxDepth) + " levels";
        return false;
    }
    try {
        std::vector<char> buffer(xml.begin(), xml.end());
        buffer.push_back('\0');
        rapidxml::xml_document<char> document;
        document.parse<rapidxml::parse_default>(buffer.data());
        const Node* top = nextElement(document.first_node());
        if (!top || nameOf(top) != "plist") {
            error = "no <plist> element";
            return false;
        }
        const Node* value = nextElement(top->first_node());
        if (!value) {
            error = "empty <plist>";
            return false;
        }
        return convert(value, root, error);
    } catch (const rapidxml::parse_error& e) {
        error = std::string(e.what());
    } catch (const std::bad_alloc&) {
        error = "out of memory";
    } catch (const std::exception& e) {
        error = e.what();
    }
    root = Value();
    return false;
}

bool toNumber(const std::string& text, double& out) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && isSpace(text[first])) {
        ++first;
    }
    while (last > first && isSpace(text[last - 1])) {
        --last;
    }
    if (first == last) {
        return false;
    }
    // from_chars, unlike strtod, ignores the locale: a decimal point is always '.'.
    const char* begin = text.data() + first;
    const char* end = text.data() + last;
    double value = 0.0;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return false;
    }
    out = value;
    return true;
}

bool toNumbers(const std::string& text, size_t count, double* out) {
    std::string cleaned;
    cleaned.reserve(text.size());
    for (char c : text) {
        if (c != '{' && c != '}' && c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            cleaned += c;
        }
    }
    size_t index = 0;
    size_t start = 0;
    while (true) {
        const size_t comma = cleaned.find(',', start);
        const std::string part =
            cleaned.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (index >= count || !toNumber(part, out[index])) {
            return false;
        }
        ++index;
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return index == count;
}

}  // namespace plist
}  // namespace cocos2d
