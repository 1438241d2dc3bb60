#pragma once

#include <memory>
#include <string>

#include <rapidjson/document.h>

// Objects and arrays nested deeper than this are refused: our descriptions nest twelve levels at most,
// and every walk over a parsed document (the node builders, the preload list) recurses per level.
inline constexpr int kMaxJsonDepth = 64;

// The one way the game parses the JSON it reads (UI and level descriptions): iteratively, so that no
// input makes the parser itself recurse, and refusing a document nested deeper than kMaxJsonDepth, so
// that nothing built from it can be driven deeper either. Default flags otherwise; strings are copied
// into the document. A text that fails logs "Parsing JSON document '%s' returned error: %d" with the
// path and RapidJSON's error code, and gives null; nesting past the bound ends the parse the way a
// refusing handler does (kParseErrorTermination, 16).
std::shared_ptr<rapidjson::Document> parseJsonDocument(const std::string& path, const std::string& text);
