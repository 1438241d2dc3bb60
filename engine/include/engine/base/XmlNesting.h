#pragma once

#include <cstddef>

namespace cocos2d {

// The XML the engine and the game read is parsed by rapidxml, whose parser recurses once per level
// of element nesting: a hostile file nested a hundred thousand levels deep would exhaust the stack.
// Readers check the text with this first and refuse it when it nests too deeply.

// How deep rapidxml's parse of text (default flags, in place) nests its elements before it ends,
// fails or stops at the first '\0': the text is walked token by token the way that parser takes it,
// quoted attribute values, comments, CDATA, declarations and document types included, without
// recursing. Counting stops as soon as the nesting passes `limit`, which then gives limit + 1.
int xmlElementDepth(const char* text, size_t length, int limit);

}  // namespace cocos2d
