#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <rapidxml.hpp>

// The text of an XML content file parsed in place with rapidxml's default flags. Parsing never
// throws: a malformed text gives false and the reason. Elements nested deeper than kMaxDepth are
// refused before rapidxml sees them, since its parser recurses once per level and a hostile file
// could exhaust the stack. Our content files nest four levels at most.
class XmlDocument {
public:
    static constexpr int kMaxDepth = 256;

    XmlDocument() = default;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses a copy of text. On failure error() holds rapidxml's message (or the nesting limit's)
    // and the document is empty. An empty text parses to an empty document.
    bool parse(const std::string& text);
    const std::string& error() const { return _error; }

    // The first top-level element of exactly that name, or null.
    rapidxml::xml_node<char>* root(const char* name) const;

private:
    std::vector<char> _buffer;
    rapidxml::xml_document<char> _document;
    std::string _error;
};

// The whole resource file as text; "" when it is missing, which the reader itself reports (the file
// utilities' own warning would make a second line for the same thing).
std::string readXmlFileText(const std::string& path);

// The element children of node, in document order (data nodes and the like left out).
std::vector<rapidxml::xml_node<char>*> childElements(const rapidxml::xml_node<char>* node);

// The attribute's text, entities translated; "" when the attribute is missing.
std::string attributeText(const rapidxml::xml_node<char>* node, const char* name);

// The element's value: its first run of character data, "" when it has none.
std::string elementText(const rapidxml::xml_node<char>* node);

// A text from a file as a log line shows it: in double quotes, cut after 40 characters (a hostile
// attribute may be a megabyte long).
std::string quotedForLog(const std::string& text);

// An attribute's number, read as atoi (boundedInteger) or atof (boundedDecimal) reads it, when it lies
// within [lowest, highest], a range that holds 0. A value outside it, or one that is not finite, is
// not used: it reads as a missing attribute does (0), after one line naming `where` (the file and
// the element), the attribute and the value.
int64_t boundedInteger(const rapidxml::xml_node<char>* node, const char* name, int64_t lowest,
                       int64_t highest, const std::string& where);
double boundedDecimal(const rapidxml::xml_node<char>* node, const char* name, double lowest, double highest,
                      const std::string& where);
