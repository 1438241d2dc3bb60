#pragma once

#include <cairo.h>

#include <string>

namespace assetgen {

// The restorer's five tools, drawn as small objects with their working tip at the origin and
// the body running along +x for `length` px. Callers rotate and place them (tool buttons,
// cursors). Kinds: "spray", "eraser", "brush", "knife", "needle".
void drawTool(cairo_t* cr, const std::string& kind, double length);
bool isToolKind(const std::string& kind);

// Flat interface glyphs centred on (cx, cy), about `size` px across: "hint", "puzzle", "gear",
// "palette", "check", "cross", "pause", "plus", "minus", "play", "arrow", "menu", "reset", "skip".
void drawGlyph(cairo_t* cr, const std::string& name, double cx, double cy, double size, double r, double g,
               double b);
bool isGlyph(const std::string& name);

}  // namespace assetgen
