#include "core/Fonts.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <mutex>

#include "core/Error.h"

namespace assetgen {

namespace {

std::mutex gFontMutex;
FT_Library gLibrary = nullptr;
std::array<FT_Face, 4> gFaces{};
std::array<cairo_font_face_t*, 4> gCairoFaces{};

const char* fileOf(FontKind k) {
    switch (k) {
        case FontKind::Sans: return "DejaVuSans.ttf";
        case FontKind::SansBold: return "DejaVuSans-Bold.ttf";
        case FontKind::Serif: return "DejaVuSerif.ttf";
        case FontKind::SerifBold: return "DejaVuSerif-Bold.ttf";
    }
    return "DejaVuSans.ttf";
}

void setupFont(cairo_t* cr, FontKind kind, double size) {
    cairo_set_font_face(cr, gCairoFaces[static_cast<std::size_t>(kind)]);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* opt = cairo_font_options_create();
    cairo_font_options_set_hint_style(opt, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(opt, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(opt, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, opt);
    cairo_font_options_destroy(opt);
}

}  // namespace

void Fonts::init(const std::filesystem::path& folder) {
    std::lock_guard<std::mutex> lock(gFontMutex);
    if (gLibrary) return;
    if (FT_Init_FreeType(&gLibrary) != 0) throw GenError("FreeType could not start");
    for (std::size_t i = 0; i < gFaces.size(); ++i) {
        std::filesystem::path file = folder / fileOf(static_cast<FontKind>(i));
        if (FT_New_Face(gLibrary, file.c_str(), 0, &gFaces[i]) != 0) {
            throw GenError("cannot open font '" + file.string() + "' (Debian package fonts-dejavu-core)");
        }
        gCairoFaces[i] = cairo_ft_font_face_create_for_ft_face(gFaces[i], FT_LOAD_NO_HINTING);
    }
}

void Fonts::shutdown() {
    std::lock_guard<std::mutex> lock(gFontMutex);
    for (std::size_t i = 0; i < gFaces.size(); ++i) {
        if (gCairoFaces[i]) cairo_font_face_destroy(gCairoFaces[i]);
        gCairoFaces[i] = nullptr;
    }
    // The FreeType faces are released with the Cairo faces' last reference at exit; keep the
    // library alive until then.
}

void Fonts::textPath(cairo_t* cr, const std::string& text, FontKind kind, double size, double x, double y,
                     double align) {
    std::lock_guard<std::mutex> lock(gFontMutex);
    if (!gLibrary) throw GenError("fonts used before Fonts::init");
    setupFont(cr, kind, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_move_to(cr, x - ext.x_advance * align, y);
    cairo_text_path(cr, text.c_str());
}

double Fonts::textWidth(const std::string& text, FontKind kind, double size) {
    std::lock_guard<std::mutex> lock(gFontMutex);
    if (!gLibrary) throw GenError("fonts used before Fonts::init");
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(s);
    setupFont(cr, kind, size);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, text.c_str(), &ext);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return ext.x_advance;
}

}  // namespace assetgen
