#pragma once

#include <string>
#include <unordered_map>

// The localised texts: a table of sections, each a table of ids, both lower case, filled from the XML
// text files "<folder>/texts-<language>.xml" (with "<folder>/texts-en.xml" when that file is missing
// or empty). A text that is not found shows its own lower-cased key.
class TextTable {
public:
    static TextTable& getInstance();
    // Tests start clean: the next getInstance builds an empty table.
    static void destroyInstance();

    // Reads a text file into the table, emptying it first when clear is set. A file that is
    // malformed, or holds no "texts" root, is logged and leaves the table exactly as it was; when
    // neither file exists the table is only emptied (if asked).
    void loadTexts(const std::string& folder, const std::string& language, bool clear);

    // lookup(section + "." + id).
    std::string getText(const std::string& section, const std::string& id) const;
    // A key "section.id" (the id may hold further dots), letter case ignored: the stored text, or
    // the lower-cased key when there is none.
    std::string lookup(const std::string& key) const;

private:
    using Section = std::unordered_map<std::string, std::string>;
    std::unordered_map<std::string, Section> _sections;
};
