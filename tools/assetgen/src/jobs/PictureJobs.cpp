// A level picture: the painting (background.jpg), its restorable items drawn as objects of the
// same scene (textures_atlas), their half-size hit masks (masks_atlas), the level description
// (ccnode.json) and the thumbnail the country's icon sheet collects. Items and masks come from
// the same drawing, so each item's frame, mask and place always agree.
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "art/Art.h"
#include "core/Error.h"
#include "core/ImageIO.h"
#include "core/Sheet.h"
#include "jobs/Job.h"
#include "pictures/Paint.h"

namespace assetgen {

namespace {

struct ItemSpec {
    std::string name;
    std::string art;
    int x, y, w, h;
    RecipeNode node;
};

constexpr int kCell = 10;
constexpr int kCellThreshold = kCell * kCell * 255 / 5;  // 20 % of a cell's alpha
constexpr int kSmallArea = 38;

// Opaque 10-px cells, by the same rule the board uses to build its grid.
int cellArea(const Image& img) {
    img.flush();
    int cols = std::max(2, img.width() / kCell), rows = std::max(2, img.height() / kCell);
    int area = 0;
    for (int cy = 0; cy < rows; ++cy) {
        for (int cx = 0; cx < cols; ++cx) {
            int sum = 0;
            for (int y = cy * kCell; y < (cy + 1) * kCell && y < img.height(); ++y) {
                const std::uint32_t* row = img.row(y);
                for (int x = cx * kCell; x < (cx + 1) * kCell && x < img.width(); ++x) sum += static_cast<int>(row[x] >> 24);
            }
            if (sum >= kCellThreshold) ++area;
        }
    }
    return area;
}

// Half-size, fully opaque: white where the item can be hit, black elsewhere.
Image hitMask(const Image& item) {
    item.flush();
    int mw = item.width() / 2, mh = item.height() / 2;
    Image mask(mw, mh);
    for (int y = 0; y < mh; ++y) {
        std::uint32_t* out = mask.row(y);
        const std::uint32_t* r0 = item.row(2 * y);
        const std::uint32_t* r1 = item.row(2 * y + 1);
        for (int x = 0; x < mw; ++x) {
            unsigned a = (r0[2 * x] >> 24) + (r0[2 * x + 1] >> 24) + (r1[2 * x] >> 24) + (r1[2 * x + 1] >> 24);
            out[x] = a >= 2 * 255 ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    mask.markDirty();
    return mask;
}

bool isItemName(const std::string& n) {
    if (n.empty() || n.size() > 40) return false;
    for (char c : n) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    }
    return true;
}

std::string levelJson(int w, int h, const std::vector<ItemSpec>& items, const std::string& prefix) {
    std::ostringstream s;
    s << "{\n  \"nodes\": [\n";
    s << "    {\"name\": \"background\", \"tex\": \"background.jpg\", \"x\": 0, \"y\": 0, \"w\": " << w
      << ", \"h\": " << h << "}";
    for (const ItemSpec& it : items) {
        s << ",\n    {\"name\": \"" << it.name << "\", \"tex\": \"" << prefix << "_" << it.name
          << ".png\", \"restoreitem\": 1, \"x\": " << it.x << ", \"y\": " << it.y << ", \"w\": " << it.w
          << ", \"h\": " << it.h << "}";
    }
    s << "\n  ]\n}\n";
    return s.str();
}

void composite(Image& onto, const Image& img, int x, int y) {
    Pen cr(onto);
    cairo_set_source_surface(cr, img.surface(), x, y);
    cairo_paint(cr);
}

}  // namespace

void addPictureJobs(const RecipeNode& recipe, std::vector<Job>& jobs) {
    std::string path = recipe.text("path");
    std::string prefix = recipe.text("prefix");
    std::vector<double> size = recipe.numbers("size");
    if (size.size() != 2) recipe.fail("\"size\" must be [width, height]");
    int W = static_cast<int>(size[0]), H = static_cast<int>(size[1]);
    RecipeNode scene = recipe.object("scene");
    Look look = recipe.optObject("look") ? Look::read(recipe.object("look")) : Look{};
    BrushStyle brush = BrushStyle::read(recipe.object("brush"));
    BrushStyle itemBrush = recipe.optObject("itemBrush") ? BrushStyle::read(recipe.object("itemBrush")) : brush;
    std::vector<RecipeNode> itemNodes = recipe.objects("items");
    recipe.finish();
    if (path.find("..") != std::string::npos || path.empty()) recipe.fail("bad picture path");
    if (!isItemName(prefix)) recipe.fail("\"prefix\" must be lower-case letters and digits");

    std::vector<ItemSpec> items;
    std::set<std::string> names;
    for (const RecipeNode& n : itemNodes) {
        ItemSpec it{n.text("name"), n.text("art"), n.integer("x"), n.integer("y"), n.integer("w"), n.integer("h"), n};
        if (!isItemName(it.name)) n.fail("item name \"" + it.name + "\" must be lower-case letters and digits, no \"_\"");
        if (!names.insert(it.name).second) n.fail("item \"" + it.name + "\" appears twice");
        if (it.w < 40 || it.h < 40 || it.w > 180 || it.h > 180) n.fail("item \"" + it.name + "\" must be 40..180 px on each side");
        if (it.x < 10 || it.y < 10 || it.x + it.w > W - 10 || it.y + it.h > H - 10) {
            n.fail("item \"" + it.name + "\" must lie inside the picture, 10 px from its edges");
        }
        for (const ItemSpec& o : items) {
            bool apart = it.x + it.w <= o.x || o.x + o.w <= it.x || it.y + it.h <= o.y || o.y + o.h <= it.y;
            if (!apart) n.fail("item \"" + it.name + "\" overlaps \"" + o.name + "\"");
        }
        items.push_back(it);
    }
    if (items.empty()) recipe.fail("a picture needs items");

    jobs.push_back({"Scenes/" + path, [=](GenContext& ctx) {
        const std::string folder = "Scenes/" + path;
        Rng rng(hashName(folder));
        std::uint64_t canvasSeed = hashName(folder + "#canvas");

        // The painting: the scene drawn clean, then painted over with strokes, then the canvas.
        Image drawing(W, H);
        Image detail(W, H);
        {
            ArtFn fn = ArtRegistry::instance().find(scene.text("art"));
            if (!fn) scene.fail("unknown scene art \"" + scene.text("art") + "\"");
            Pen cr(drawing);
            Pen dcr(detail);
            Rng sceneRng = rng.fork("scene");
            ArtContext actx{cr, static_cast<double>(W), static_cast<double>(H), scene, sceneRng, look, dcr};
            fn(actx);
        }
        scene.finish();
        Image painting = drawing.copy();
        Rng strokeRng = rng.fork("strokes");
        paintStrokes(drawing, painting, brush, strokeRng, false);
        composite(painting, detail, 0, 0);
        finishCanvas(painting, brush, 0, 0, W, H, canvasSeed);

        std::vector<SheetEntry> textures, masks;
        std::vector<Image> finished;
        int small = 0, large = 0;
        std::ostringstream report;
        for (const ItemSpec& it : items) {
            Rng itemRng = rng.fork(it.name);
            Image itemDrawing(it.w, it.h);
            {
                ArtFn fn = ArtRegistry::instance().find(it.art);
                if (!fn) it.node.fail("unknown art \"" + it.art + "\"");
                Pen cr(itemDrawing);
                ArtContext actx{cr, static_cast<double>(it.w), static_cast<double>(it.h), it.node, itemRng, look};
                fn(actx);
            }
            it.node.finish();
            // A touch of softness so objects sit in the painting rather than on it.
            blur(itemDrawing, 1);
            Image item = itemDrawing.copy();
            paintStrokes(itemDrawing, item, itemBrush, itemRng, true);
            finishCanvas(item, brush, it.x, it.y, W, H, canvasSeed);
            int area = cellArea(item);
            if (area < 1) it.node.fail("item \"" + it.name + "\" has no opaque 10 px cell and could never be restored");
            if (area > 300) it.node.fail("item \"" + it.name + "\" covers " + std::to_string(area) + " cells, more than 300");
            (area < kSmallArea ? small : large)++;
            report << " " << it.name << "=" << area;
            std::string frame = prefix + "_" + it.name;
            masks.push_back({frame + "_.png", hitMask(item)});
            textures.push_back({frame + ".png", item.copy()});
            finished.push_back(std::move(item));
        }
        if (items.size() > 3 && (small == 0 || large == 0)) {
            throw GenError("recipes for " + folder + ": items need areas on both sides of 38 cells; got" + report.str());
        }

        ctx.out.write(folder + "/background.jpg", encodeJpeg(painting, 90));
        PackedSheet tex = packSheet(std::move(textures), 1024, folder + "/textures_atlas");
        ctx.out.write(folder + "/textures_atlas.png", encodePng(tex.image));
        ctx.out.writeText(folder + "/textures_atlas.xml",
                          frameListXml(tex.frames, tex.image.width(), tex.image.height(), "textures_atlas.png"));
        PackedSheet msk = packSheet(std::move(masks), 512, folder + "/masks_atlas");
        // Mask sheets are opaque everywhere, padding included.
        {
            Image opaque(msk.image.width(), msk.image.height());
            opaque.fill({0, 0, 0}, 1.0);
            composite(opaque, msk.image, 0, 0);
            msk.image = std::move(opaque);
        }
        ctx.out.write(folder + "/masks_atlas.png", encodePng(msk.image));
        ctx.out.writeText(folder + "/masks_atlas.xml",
                          frameListXml(msk.frames, msk.image.width(), msk.image.height(), "masks_atlas.png"));
        ctx.out.writeText(folder + "/ccnode.json", levelJson(W, H, items, prefix));

        auto thumb = std::make_shared<Image>(painting.scaled(static_cast<int>(std::lround(W * 0.3)),
                                                             static_cast<int>(std::lround(H * 0.3))));
        {
            std::lock_guard<std::mutex> lock(ctx.thumbMutex);
            ctx.thumbnails[path] = thumb;
        }
        if (!ctx.previewDir.empty()) {
            Image preview = painting.copy();
            for (std::size_t i = 0; i < items.size(); ++i) composite(preview, finished[i], items[i].x, items[i].y);
            std::filesystem::path p = ctx.previewDir / (path + ".png");
            std::filesystem::create_directories(p.parent_path());
            auto bytes = encodePng(preview);
            FILE* f = std::fopen(p.c_str(), "wb");
            if (f) {
                std::fwrite(bytes.data(), 1, bytes.size(), f);
                std::fclose(f);
            }
            std::printf("assetgen: %s: %d small, %d large:%s\n", folder.c_str(), small, large, report.str().c_str());
        }
    }});
}

void addCountryJobs(const RecipeNode& recipe, std::vector<Job>& secondPhase) {
    std::string country = recipe.text("country");
    std::vector<std::string> pictures = recipe.texts("pictures");
    recipe.finish();
    if (pictures.empty()) recipe.fail("\"pictures\" must list the country's pictures");
    secondPhase.push_back({"Scenes/" + country + "/icons", [=](GenContext& ctx) {
        std::vector<SheetEntry> entries;
        for (const std::string& p : pictures) {
            std::shared_ptr<Image> thumb;
            {
                std::lock_guard<std::mutex> lock(ctx.thumbMutex);
                auto it = ctx.thumbnails.find(country + "/" + p);
                if (it != ctx.thumbnails.end()) thumb = it->second;
            }
            if (!thumb) recipe.fail("picture \"" + country + "/" + p + "\" has no recipe under recipes/pictures");
            entries.push_back({p + ".png", thumb->copy()});
        }
        PackedSheet sheet = packSheet(std::move(entries), 1024, "Scenes/" + country + "/icons");
        Image opaque(sheet.image.width(), sheet.image.height());
        opaque.fill({0, 0, 0}, 1.0);
        composite(opaque, sheet.image, 0, 0);
        ctx.out.write("Scenes/" + country + "/icons.jpg", encodeJpeg(opaque, 90));
        ctx.out.writeText("Scenes/" + country + "/icons.xml",
                          frameListXml(sheet.frames, sheet.image.width(), sheet.image.height(), "icons.jpg"));
    }});
}

}  // namespace assetgen
