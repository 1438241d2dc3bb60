#include <memory>

#include "art/Art.h"
#include "core/Error.h"
#include "core/ImageIO.h"
#include "core/Sheet.h"
#include "jobs/Job.h"

namespace assetgen {

bool isPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > 120) return false;
    for (char c : name) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
                  c == '-' || c == '.';
        if (!ok) return false;
    }
    return name.front() != '.';
}

Image drawArt(const std::string& art, int w, int h, const RecipeNode& args, std::uint64_t seed) {
    ArtFn fn = ArtRegistry::instance().find(art);
    if (!fn) args.fail("unknown art \"" + art + "\"");
    Image img(w, h);
    Rng rng(seed);
    Look look;
    if (auto l = args.optObject("look")) look = Look::read(*l);
    {
        Pen cr(img);
        ArtContext ctx{cr, static_cast<double>(w), static_cast<double>(h), args, rng, look};
        fn(ctx);
        if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
            args.fail("drawing \"" + art + "\" failed: " + cairo_status_to_string(cairo_status(cr)));
        }
    }
    args.finish();
    return img;
}

namespace {

struct Sized {
    std::string name;
    std::string art;
    int w, h;
};

Sized readSized(const RecipeNode& n, const char* nameKey) {
    Sized s{n.text(nameKey), n.text("art"), n.integer("w"), n.integer("h")};
    if (!isPlainFileName(s.name)) n.fail("\"" + s.name + "\" is not a plain file name");
    if (s.w < 1 || s.h < 1 || s.w > 4096 || s.h > 4096) n.fail("size out of range");
    return s;
}

std::string extensionOf(const std::string& name) {
    auto dot = name.rfind('.');
    return dot == std::string::npos ? "" : name.substr(dot);
}

}  // namespace

void addImageJobs(const RecipeNode& recipe, std::vector<Job>& jobs) {
    std::string folder = recipe.text("folder");
    for (auto& sheet : recipe.optObjects("sheets")) {
        std::string name = sheet.text("name");
        std::string image = sheet.text("image", name + "_atlas.png");
        std::string list = sheet.text("list", name + "_atlas.xml");
        int maxSize = sheet.integer("max", 2048);
        std::vector<RecipeNode> frames = sheet.objects("frames");
        sheet.finish();
        if (extensionOf(image) != ".png") sheet.fail("sheet images are PNG files");
        std::string prefix = folder.empty() ? "" : folder + "/";
        jobs.push_back({prefix + image, [=](GenContext& ctx) {
                            std::vector<SheetEntry> entries;
                            for (const RecipeNode& f : frames) {
                                Sized s = readSized(f, "name");
                                if (extensionOf(s.name) != ".png") f.fail("frame names end in \".png\"");
                                entries.push_back({s.name, drawArt(s.art, s.w, s.h, f, hashName(prefix + s.name))});
                            }
                            PackedSheet packed = packSheet(std::move(entries), maxSize, prefix + name);
                            ctx.out.write(prefix + image, encodePng(packed.image));
                            ctx.out.writeText(prefix + list, frameListXml(packed.frames, packed.image.width(),
                                                                          packed.image.height(), image));
                        }});
    }
    for (auto& entry : recipe.optObjects("images")) {
        Sized s = readSized(entry, "file");
        std::string prefix = folder.empty() ? "" : folder + "/";
        std::string ext = extensionOf(s.name);
        if (ext != ".png" && ext != ".jpg") entry.fail("images are .png or .jpg files");
        RecipeNode node = entry;
        jobs.push_back({prefix + s.name, [=](GenContext& ctx) {
                            Image img = drawArt(s.art, s.w, s.h, node, hashName(prefix + s.name));
                            if (ext == ".jpg") ctx.out.write(prefix + s.name, encodeJpeg(img, 90));
                            else ctx.out.write(prefix + s.name, encodePng(img));
                        }});
    }
    recipe.finish();
}

}  // namespace assetgen
