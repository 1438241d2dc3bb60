// Rules for the level pictures under Scenes/.
#include <algorithm>
#include <set>

#include "ResourceChecks.h"
#include "ResourceContract.h"

namespace restest {

namespace {

constexpr int kCell = 10;
constexpr int kCellThreshold = kCell * kCell * 255 / 5;

std::string str(const rapidjson::Value& e, const char* key) {
    auto it = e.FindMember(key);
    return (it != e.MemberEnd() && it->value.IsString()) ? std::string(it->value.GetString(), it->value.GetStringLength())
                                                         : std::string();
}

bool num(const rapidjson::Value& e, const char* key, double& out) {
    auto it = e.FindMember(key);
    if (it == e.MemberEnd() || !it->value.IsNumber()) return false;
    out = it->value.GetDouble();
    return true;
}

// Opaque 10-px cells of a frame, as the board counts them.
int cellArea(const Pixels& px, const Frame& f) {
    int cols = std::max(2, f.w / kCell), rows = std::max(2, f.h / kCell), area = 0;
    for (int cy = 0; cy < rows; ++cy) {
        for (int cx = 0; cx < cols; ++cx) {
            int sum = 0;
            for (int y = cy * kCell; y < (cy + 1) * kCell && y < f.h; ++y) {
                for (int x = cx * kCell; x < (cx + 1) * kCell && x < f.w; ++x) sum += px.at(f.x + x, f.y + y)[3];
            }
            if (sum >= kCellThreshold) ++area;
        }
    }
    return area;
}

struct Box {
    std::string name;
    double x, y, w, h;
};

}  // namespace

void checkLevel(const Tree& tree, const std::string& folder, int expectedItems, const std::vector<std::string>& mustHave,
                Problems& p) {
    const std::string file = folder + "/ccnode.json";
    auto doc = loadJson(tree, file, p);
    if (!doc) return;
    auto nodesIt = doc->FindMember("nodes");
    if (nodesIt == doc->MemberEnd() || !nodesIt->value.IsArray() || nodesIt->value.Empty()) {
        p.add(file, "has no \"nodes\"");
        return;
    }
    const rapidjson::Value& nodes = nodesIt->value;
    const rapidjson::Value& bg = nodes[0];
    double bw = 0, bh = 0;
    if (!bg.IsObject() || str(bg, "name") != "background" || str(bg, "tex") != "background.jpg" || !num(bg, "w", bw) || !num(bg, "h", bh)) {
        p.add(file, "the first element must be \"background\" with tex \"background.jpg\" and its size");
        return;
    }
    if (auto info = imageInfo(tree, folder + "/background.jpg", p)) {
        if (info->format != "jpeg" || !info->jpegBaseline || info->jpegComponents != 3) p.add(folder + "/background.jpg", "must be a baseline RGB JPEG");
        if (info->width != bw || info->height != bh) p.add(file, "background is " + std::to_string(static_cast<int>(bw)) + "x" + std::to_string(static_cast<int>(bh)) + " but background.jpg is " + std::to_string(info->width) + "x" + std::to_string(info->height));
    }
    auto textures = loadFrameList(tree, folder + "/textures_atlas.xml", p);
    auto masks = loadFrameList(tree, folder + "/masks_atlas.xml", p);
    if (!textures || !masks) return;
    if (textures->textureFileName != "textures_atlas.png") p.add(folder + "/textures_atlas.xml", "textureFileName must be \"textures_atlas.png\"");
    if (masks->textureFileName != "masks_atlas.png") p.add(folder + "/masks_atlas.xml", "textureFileName must be \"masks_atlas.png\"");
    auto texPx = decodePng(tree, folder + "/textures_atlas.png", p);
    auto maskPx = decodePng(tree, folder + "/masks_atlas.png", p);
    if (!texPx || !maskPx) return;

    std::vector<Box> items;
    std::set<std::string> names;
    int small = 0, large = 0;
    for (rapidjson::SizeType i = 1; i < nodes.Size(); ++i) {
        const rapidjson::Value& e = nodes[i];
        if (!e.IsObject()) {
            p.add(file, "element " + std::to_string(i) + " is not an object");
            continue;
        }
        std::string name = str(e, "name"), tex = str(e, "tex");
        if (e.HasMember("anchor") || e.HasMember("o")) p.add(file, "item \"" + name + "\": \"anchor\" and \"o\" are not used in level descriptions");
        if (!e.HasMember("restoreitem")) continue;
        Box b{name, 0, 0, 0, 0};
        if (!num(e, "x", b.x) || !num(e, "y", b.y) || !num(e, "w", b.w) || !num(e, "h", b.h)) {
            p.add(file, "item \"" + name + "\" needs numeric x, y, w, h");
            continue;
        }
        bool plain = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); });
        if (!plain) p.add(file, "item name \"" + name + "\" must be lower-case letters and digits, without \"_\"");
        if (!names.insert(name).second) p.add(file, "item \"" + name + "\" appears twice");
        if (b.x < 10 || b.y < 10 || b.x + b.w > bw - 10 || b.y + b.h > bh - 10) p.add(file, "item \"" + name + "\" is not inside the picture, 10 px from its edges");
        for (const Box& o : items) {
            bool apart = b.x + b.w <= o.x || o.x + o.w <= b.x || b.y + b.h <= o.y || o.y + o.h <= b.y;
            if (!apart) p.add(file, "items \"" + name + "\" and \"" + o.name + "\" overlap");
        }
        items.push_back(b);
        if (tex.size() < 5 || tex.compare(tex.size() - 4, 4, ".png") != 0) {
            p.add(file, "item \"" + name + "\": frame name '" + tex + "' must end in \".png\"");
            continue;
        }
        auto ft = textures->frames.find(tex);
        if (ft == textures->frames.end()) {
            p.add(file, "item \"" + name + "\": frame '" + tex + "' is not in textures_atlas.xml");
            continue;
        }
        const Frame& f = ft->second;
        if (f.w != b.w || f.h != b.h) p.add(file, "item \"" + name + "\": frame '" + tex + "' is " + std::to_string(f.w) + "x" + std::to_string(f.h) + ", the element " + std::to_string(static_cast<int>(b.w)) + "x" + std::to_string(static_cast<int>(b.h)));
        if (f.x + f.w > texPx->width || f.y + f.h > texPx->height) continue;
        int area = cellArea(*texPx, f);
        if (area < 1) p.add(file, "item \"" + name + "\" has no opaque 10 px cell and can never be restored");
        (area < 38 ? small : large)++;
        std::string maskName = tex.substr(0, tex.size() - 4) + "_.png";
        auto fm = masks->frames.find(maskName);
        if (fm == masks->frames.end()) {
            p.add(folder + "/masks_atlas.xml", "has no mask frame '" + maskName + "' for item \"" + name + "\"");
            continue;
        }
        const Frame& m = fm->second;
        if (m.w != f.w / 2 || m.h != f.h / 2) {
            p.add(folder + "/masks_atlas.xml", "mask '" + maskName + "' is " + std::to_string(m.w) + "x" + std::to_string(m.h) + ", not half of " + std::to_string(f.w) + "x" + std::to_string(f.h));
        }
        if (m.x + m.w > maskPx->width || m.y + m.h > maskPx->height) continue;
        bool opaque = true, hit = false;
        for (int y = 0; y < m.h; ++y) {
            for (int x = 0; x < m.w; ++x) {
                const std::uint8_t* px = maskPx->at(m.x + x, m.y + y);
                if (px[3] != 255) opaque = false;
                if ((px[0] + px[1] + px[2]) / 3 > 128) hit = true;
            }
        }
        if (!opaque) p.add(folder + "/masks_atlas.png", "mask '" + maskName + "' is not fully opaque");
        if (!hit) p.add(folder + "/masks_atlas.png", "mask '" + maskName + "' has no hittable (grey > 128) pixel");
    }
    if (expectedItems >= 0 && static_cast<int>(items.size()) != expectedItems) {
        p.add(file, "has " + std::to_string(items.size()) + " items, must have " + std::to_string(expectedItems));
    }
    for (const auto& n : mustHave) {
        if (!names.count(n)) p.add(file, "has no item \"" + n + "\"");
    }
    if (items.size() > 3 && (small == 0 || large == 0)) {
        p.add(file, "needs items on both sides of 38 cells (" + std::to_string(small) + " below, " + std::to_string(large) + " above)");
    }
}

void checkLevels(const Tree& tree, Problems& p) {
    Problems quiet;
    PackData pack = readPack(tree, quiet);
    std::set<std::string> withArt(countriesWithArt().begin(), countriesWithArt().end());
    for (const auto& [country, order] : pack.countries) {
        (void)order;
        if (tree.isDir("Scenes/" + country)) withArt.insert(country);
    }
    int largestW = 0, largestH = 0;
    auto largest = [&](const std::string& folder) {
        Problems q;
        auto doc = loadJson(tree, folder + "/ccnode.json", q);
        if (!doc || !doc->HasMember("nodes") || !(*doc)["nodes"].IsArray()) return;
        for (const auto& e : (*doc)["nodes"].GetArray()) {
            double w = 0, h = 0;
            if (e.IsObject() && e.HasMember("restoreitem") && num(e, "w", w) && num(e, "h", h)) {
                largestW = std::max(largestW, static_cast<int>(w));
                largestH = std::max(largestH, static_cast<int>(h));
            }
        }
    };
    for (const std::string& country : withArt) {
        std::string icons = "Scenes/" + country + "/icons.xml";
        auto fl = loadFrameList(tree, icons, p);
        if (fl) {
            if (fl->textureFileName != "icons.jpg" || !tree.exists("Scenes/" + country + "/icons.jpg")) p.add(icons, "its image must be icons.jpg beside it");
        }
        for (const PackPicture& pic : pack.pictures) {
            if (pic.country != country) continue;
            std::string folder = "Scenes/" + country + "/" + pic.path;
            if (!tree.isDir(folder)) {
                p.add("Scenes/pack.xml", "picture \"" + pic.path + "\" has no folder " + folder);
                continue;
            }
            checkLevel(tree, folder, 25, {}, p);
            largest(folder);
            if (fl) {
                auto it = fl->frames.find(pic.path + ".png");
                if (it == fl->frames.end()) p.add(icons, "has no thumbnail frame '" + pic.path + ".png'");
                else if (it->second.w != 288 || it->second.h != 180) p.add(icons, "thumbnail '" + pic.path + ".png' must be 288x180");
            }
        }
    }
    checkLevel(tree, "Scenes/demo/Vesquino", 3, {"kestrova", "headphones"}, p);
    largest("Scenes/demo/Vesquino");
    auto ui = loadFrameList(tree, "ui/Game/UI_atlas.xml", quiet);
    if (ui) {
        for (const char* mask : {"blot_tex.png", "scrape_tex.png"}) {
            auto it = ui->frames.find(mask);
            if (it != ui->frames.end() && (it->second.w < largestW || it->second.h < largestH)) {
                p.add("ui/Game/UI_atlas.xml", std::string(mask) + " is smaller than the largest item (" + std::to_string(largestW) + "x" + std::to_string(largestH) + ")");
            }
        }
    }
}

}  // namespace restest
