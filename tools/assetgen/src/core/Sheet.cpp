#include "core/Sheet.h"

#include <algorithm>
#include <numeric>
#include <set>
#include <sstream>

#include "core/Error.h"

namespace assetgen {

namespace {

constexpr int kPadding = 2;

struct Placement {
    int x, y;
};

// Shelf packing in the given width: entries sorted tallest first; returns the used height or
// -1 when some entry is wider than the sheet.
int shelfPack(const std::vector<SheetEntry>& entries, const std::vector<std::size_t>& order, int width,
              std::vector<Placement>& out) {
    out.assign(entries.size(), {0, 0});
    int x = 0, y = 0, shelfHeight = 0;
    for (std::size_t idx : order) {
        int w = entries[idx].image.width() + 2 * kPadding;
        int h = entries[idx].image.height() + 2 * kPadding;
        if (w > width) return -1;
        if (x + w > width) {
            y += shelfHeight;
            x = 0;
            shelfHeight = 0;
        }
        out[idx] = {x + kPadding, y + kPadding};
        x += w;
        shelfHeight = std::max(shelfHeight, h);
    }
    return y + shelfHeight;
}

int nextPow2(int v) {
    int p = 1;
    while (p < v) p *= 2;
    return p;
}

}  // namespace

PackedSheet packSheet(std::vector<SheetEntry> entries, int maxSize, const std::string& sheetName) {
    if (entries.empty()) throw GenError(sheetName + ": a sheet needs at least one frame");
    std::set<std::string> names;
    for (const auto& e : entries) {
        if (!names.insert(e.name).second) throw GenError(sheetName + ": frame '" + e.name + "' appears twice");
    }
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const Image& ia = entries[a].image;
        const Image& ib = entries[b].image;
        if (ia.height() != ib.height()) return ia.height() > ib.height();
        if (ia.width() != ib.width()) return ia.width() > ib.width();
        return entries[a].name < entries[b].name;
    });

    int bestW = 0, bestH = 0;
    long bestArea = 0;
    std::vector<Placement> best, trial;
    for (int w = 64; w <= maxSize; w *= 2) {
        int used = shelfPack(entries, order, w, trial);
        if (used < 0) continue;
        int h = nextPow2(std::max(used, 16));
        if (h > maxSize) continue;
        long area = static_cast<long>(w) * h;
        // Prefer the smaller area, then the squarer sheet.
        if (best.empty() || area < bestArea || (area == bestArea && std::abs(w - h) < std::abs(bestW - bestH))) {
            best = trial;
            bestW = w;
            bestH = h;
            bestArea = area;
        }
    }
    if (best.empty()) throw GenError(sheetName + ": frames do not fit a " + std::to_string(maxSize) + " px sheet");

    PackedSheet out;
    out.image = Image(bestW, bestH);
    Pen cr(out.image);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Image& img = entries[i].image;
        cairo_set_source_surface(cr, img.surface(), best[i].x, best[i].y);
        cairo_rectangle(cr, best[i].x, best[i].y, img.width(), img.height());
        cairo_fill(cr);
        out.frames.push_back({entries[i].name, best[i].x, best[i].y, img.width(), img.height()});
    }
    return out;
}

std::string frameListXml(const std::vector<SheetFrame>& frames, int sheetWidth, int sheetHeight,
                         const std::string& textureFileName) {
    std::ostringstream s;
    s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<plist version=\"1.0\">\n<dict>\n  <key>frames</key>\n  <dict>\n";
    for (const SheetFrame& f : frames) {
        s << "    <key>" << f.name << "</key>\n    <dict>\n"
          << "      <key>frame</key><string>{{" << f.x << "," << f.y << "},{" << f.w << "," << f.h
          << "}}</string>\n"
          << "      <key>offset</key><string>{0,0}</string>\n"
          << "      <key>rotated</key><false/>\n"
          << "      <key>sourceColorRect</key><string>{{0,0},{" << f.w << "," << f.h << "}}</string>\n"
          << "      <key>sourceSize</key><string>{" << f.w << "," << f.h << "}</string>\n"
          << "    </dict>\n";
    }
    s << "  </dict>\n  <key>metadata</key>\n  <dict>\n"
      << "    <key>format</key><integer>2</integer>\n"
      << "    <key>size</key><string>{" << sheetWidth << "," << sheetHeight << "}</string>\n"
      << "    <key>textureFileName</key><string>" << textureFileName << "</string>\n"
      << "  </dict>\n</dict>\n</plist>\n";
    return s.str();
}

}  // namespace assetgen
