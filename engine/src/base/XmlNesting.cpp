#include "engine/base/XmlNesting.h"

#include <cstring>

namespace cocos2d {
namespace {

// The text as rapidxml sees it: its first '\0', or its end, ends everything.
class Cursor {
public:
    Cursor(const char* text, size_t length) : _text(text), _length(length) {}

    char at(size_t offset = 0) const {
        const size_t i = _position + offset;
        return i < _length ? _text[i] : '\0';
    }
    void advance(size_t count = 1) { _position += count; }

    bool startsWith(const char* prefix) const {
        for (size_t i = 0; prefix[i] != '\0'; ++i) {
            if (at(i) != prefix[i]) {
                return false;
            }
        }
        return true;
    }

    // Moves past the next occurrence of terminator; false when the text ends first.
    bool skipPast(const char* terminator) {
        const size_t terminatorLength = std::strlen(terminator);
        while (!startsWith(terminator)) {
            if (at() == '\0') {
                return false;
            }
            advance();
        }
        advance(terminatorLength);
        return true;
    }

    template <typename Predicate>
    void skipWhile(Predicate predicate) {
        while (at() != '\0' && predicate(at())) {
            advance();
        }
    }

private:
    const char* _text;
    size_t _length;
    size_t _position = 0;
};

// rapidxml's character classes.
bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

bool isNameChar(char c) {
    return c != '\0' && !isSpace(c) && c != '/' && c != '>' && c != '?';
}

bool isAttributeNameChar(char c) {
    return isNameChar(c) && c != '<' && c != '=' && c != '!';
}

// A node after its '<' that holds no elements: a declaration, processing instruction, comment,
// CDATA, document type or other "<!" node. False when the text ends inside it.
bool skipSpecialNode(Cursor& cursor) {
    if (cursor.at() == '?') {
        cursor.advance();
        return cursor.skipPast("?>");
    }
    // cursor.at() is '!'.
    if (cursor.startsWith("!--")) {
        cursor.advance(3);
        return cursor.skipPast("-->");
    }
    if (cursor.startsWith("![CDATA[")) {
        cursor.advance(8);
        return cursor.skipPast("]]>");
    }
    if (cursor.startsWith("!DOCTYPE") && isSpace(cursor.at(8))) {
        cursor.advance(9);
        while (cursor.at() != '>') {
            if (cursor.at() == '\0') {
                return false;
            }
            if (cursor.at() != '[') {
                cursor.advance();
                continue;
            }
            // Brackets nest; nothing else inside them counts, '>' and quotes included.
            cursor.advance();
            for (int brackets = 1; brackets > 0; cursor.advance()) {
                if (cursor.at() == '[') {
                    ++brackets;
                } else if (cursor.at() == ']') {
                    --brackets;
                } else if (cursor.at() == '\0') {
                    return false;
                }
            }
        }
        cursor.advance();
        return true;
    }
    cursor.advance();
    return cursor.skipPast(">");
}

enum class TagEnd { Open, Empty, Broken };

// An element's start tag after its '<': the name, then attributes with quoted values.
TagEnd skipStartTag(Cursor& cursor) {
    if (!isNameChar(cursor.at())) {
        return TagEnd::Broken;
    }
    cursor.skipWhile(isNameChar);
    cursor.skipWhile(isSpace);
    while (isAttributeNameChar(cursor.at())) {
        cursor.skipWhile(isAttributeNameChar);
        cursor.skipWhile(isSpace);
        if (cursor.at() != '=') {
            return TagEnd::Broken;
        }
        cursor.advance();
        cursor.skipWhile(isSpace);
        const char quote = cursor.at();
        if (quote != '"' && quote != '\'') {
            return TagEnd::Broken;
        }
        cursor.advance();
        cursor.skipWhile([quote](char c) { return c != quote; });
        if (cursor.at() != quote) {
            return TagEnd::Broken;
        }
        cursor.advance();
        cursor.skipWhile(isSpace);
    }
    if (cursor.at() == '>') {
        cursor.advance();
        return TagEnd::Open;
    }
    if (cursor.at() == '/' && cursor.at(1) == '>') {
        cursor.advance(2);
        return TagEnd::Empty;
    }
    return TagEnd::Broken;
}

}  // namespace

int xmlElementDepth(const char* text, size_t length, int limit) {
    Cursor cursor(text, length);
    if (cursor.startsWith("\xEF\xBB\xBF")) {
        cursor.advance(3);
    }
    int depth = 0;
    int deepest = 0;
    // Each turn takes one node: at the top level or inside the contents of `depth` open elements.
    // Wherever the parser would fail, the walk stops too: nothing past that point is ever parsed.
    while (true) {
        if (depth == 0) {
            cursor.skipWhile(isSpace);
            if (cursor.at() != '<') {
                return deepest;  // the end of the document, or text outside any element
            }
        } else {
            cursor.skipWhile([](char c) { return c != '<'; });  // character data
            if (cursor.at() == '\0') {
                return deepest;
            }
            if (cursor.at(1) == '/') {
                // An end tag closes the innermost element whatever name it gives.
                cursor.advance(2);
                cursor.skipWhile(isNameChar);
                cursor.skipWhile(isSpace);
                if (cursor.at() != '>') {
                    return deepest;
                }
                cursor.advance();
                --depth;
                continue;
            }
        }
        cursor.advance();  // '<'
        if (cursor.at() == '?' || cursor.at() == '!') {
            if (!skipSpecialNode(cursor)) {
                return deepest;
            }
            continue;
        }
        switch (skipStartTag(cursor)) {
            case TagEnd::Open:
                ++depth;
                if (depth > deepest) {
                    deepest = depth;
                }
                if (deepest > limit) {
                    return limit + 1;
                }
                break;
            case TagEnd::Empty:
                break;
            case TagEnd::Broken:
                return deepest;
        }
    }
}

}  // namespace cocos2d
