#pragma once

#include <string>

#include "minigames/MinigameLevelElement.h"

// Reads one minigame level file the way every game's level loader does: the whole file as one text
// through the engine's file utility, parsed by rapidxml with its default flags, the top element looked
// up by its exact name. A file that cannot serve (missing, empty, malformed, or without that element)
// is reported in one line, "Load %s list: %s" with the path and the reason, and the game then plays
// its built-in defaults.
class MinigameLevelFile {
public:
    // False, after the one log line, when the file cannot serve; root() is then an empty element.
    bool load(const std::string& path, const std::string& rootName);
    // The same over a text already in memory; path only names it in the log line.
    bool loadText(const std::string& path, const std::string& text, const std::string& rootName);

    // The top element with its attributes and its children (elements and runs of text, in document
    // order; comments and whitespace between elements are not children).
    const MinigameLevelElement& root() const { return _root; }
    bool isLoaded() const { return _loaded; }

private:
    bool fail(const std::string& path, const std::string& reason);

    MinigameLevelElement _root;
    bool _loaded = false;
};
