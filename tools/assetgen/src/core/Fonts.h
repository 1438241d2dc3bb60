#pragma once

#include <cairo.h>

#include <filesystem>
#include <string>

namespace assetgen {

enum class FontKind { Sans, SansBold, Serif, SerifBold };

// The generator's lettering: DejaVu faces loaded from the font folder given on the command
// line (never looked up through the desktop's font configuration, so output does not depend
// on which fonts a machine has). Call init once before any job runs.
class Fonts {
public:
    static void init(const std::filesystem::path& folder);
    static void shutdown();

    // Adds the outline of the text to the current path, its baseline starting at (x, y).
    // align: 0 left, 0.5 centre, 1 right of x. Hinting is off, so shapes are the same everywhere.
    static void textPath(cairo_t* cr, const std::string& text, FontKind kind, double size, double x, double y,
                         double align = 0.0);
    // Width of the text's advance at that size.
    static double textWidth(const std::string& text, FontKind kind, double size);
};

}  // namespace assetgen
