#include "jobs/IconJobs.h"

#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <system_error>

#include "art/Art.h"
#include "core/Image.h"
#include "core/ImageIO.h"
#include "core/Rng.h"

namespace assetgen {

namespace fs = std::filesystem;

namespace {

// The icon sizes desktops look for in the hicolor theme.
const std::set<int> kThemeSizes = {16, 22, 24, 32, 48, 64, 96, 128, 256, 512};

// The art is laid out on a design x design box and scaled as vectors to each size, so every
// size is drawn sharp rather than resampled from the largest.
Image drawIcon(ArtFn fn, int design, int size, const RecipeNode& args, std::uint64_t seed) {
    Image img(size, size);
    Rng rng(seed);
    Look look;
    {
        Pen cr(img);
        const double scale = static_cast<double>(size) / design;
        cairo_scale(cr, scale, scale);
        ArtContext ctx{cr, static_cast<double>(design), static_cast<double>(design), args, rng, look};
        fn(ctx);
        if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
            args.fail(std::string("drawing the icon failed: ") + cairo_status_to_string(cairo_status(cr)));
        }
    }
    return img;
}

}  // namespace

void addIconJobs(const RecipeNode& recipe, Output* icons, std::vector<Job>& jobs) {
    const std::string name = recipe.text("name");
    const std::string art = recipe.text("art");
    const int design = recipe.integer("design");
    const std::vector<double> sizes = recipe.numbers("sizes");
    recipe.finish();
    if (!isPlainFileName(name) || name.find('.') != std::string::npos) {
        recipe.fail("\"" + name + "\" is not a plain icon name");
    }
    ArtFn fn = ArtRegistry::instance().find(art);
    if (!fn)
        recipe.fail("unknown art \"" + art + "\"");
    if (design < 16 || design > 1024)
        recipe.fail("design size out of range");
    if (sizes.empty())
        recipe.fail("no sizes");
    std::set<int> seen;
    for (double s : sizes) {
        const int size = s >= 1 && s <= 1024 ? static_cast<int>(s) : 0;
        if (size != s || !kThemeSizes.count(size)) {
            char shown[32];
            std::snprintf(shown, sizeof shown, "%g", s);
            recipe.fail(std::string("size ") + shown + " is not an icon theme size");
        }
        if (!seen.insert(size).second)
            recipe.fail("size " + std::to_string(size) + " is listed twice");
    }
    if (!icons)
        return;
    for (int size : seen) {
        const std::string dim = std::to_string(size) + "x" + std::to_string(size);
        const std::string rel = "hicolor/" + dim + "/apps/" + name + ".png";
        RecipeNode node = recipe;
        jobs.push_back({"icons/" + rel, [=](GenContext&) {
                            icons->write(rel, encodePng(drawIcon(fn, design, size, node, hashName(name))));
                        }});
    }
}

std::size_t removeUnwrittenIcons(const Output& icons) {
    const std::set<std::string> written = icons.written();
    std::set<std::string> names;  // "kestrova.png"
    for (const std::string& rel : written) names.insert(fs::path(rel).filename().string());
    std::error_code ec;
    const fs::path theme = icons.root() / "hicolor";
    if (!fs::is_directory(theme, ec))
        return 0;
    // Only our own icons in other sizes go: anything else in the folder is left alone.
    std::set<fs::path> stale;
    for (const auto& sizeDir : fs::directory_iterator(theme, ec)) {
        for (const std::string& file : names) {
            const fs::path p = sizeDir.path() / "apps" / file;
            if (fs::is_regular_file(p, ec) &&
                !written.count(fs::relative(p, icons.root()).generic_string())) {
                stale.insert(p);
            }
        }
    }
    std::size_t removed = 0;
    for (const fs::path& p : stale) {
        if (fs::remove(p, ec))
            ++removed;
    }
    return removed;
}

}  // namespace assetgen
