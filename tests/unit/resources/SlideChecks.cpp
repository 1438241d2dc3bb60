// Rules for the story slides: each slide folder holds a full-screen picture and, optionally,
// a "Bubbles" node of labels whose names are text ids of section "intro".
#include <set>

#include "ResourceChecks.h"
#include "ResourceContract.h"

namespace restest {

namespace {

std::string nameOf(const rapidjson::Value& e) {
    auto it = e.FindMember("name");
    return (it != e.MemberEnd() && it->value.IsString()) ? std::string(it->value.GetString()) : std::string();
}

}  // namespace

void checkSlides(const Tree& tree, const TextTable& texts, Problems& p) {
    std::set<std::string> bubbleNames;
    for (const std::string& folder : slideFolders()) {
        std::string file = folder + "/ccnode.json";
        if (!tree.exists(file)) {
            p.add(file, "is missing: the slideshow builds every slide folder it lists");
            continue;
        }
        auto doc = loadJson(tree, file, p);
        if (!doc || !doc->HasMember("nodes") || !(*doc)["nodes"].IsArray()) continue;
        bool slide = false;
        for (const auto& e : (*doc)["nodes"].GetArray()) {
            if (!e.IsObject()) continue;
            std::string name = nameOf(e);
            if (name == "slide") {
                slide = true;
                auto tex = e.FindMember("tex");
                std::string t = (tex != e.MemberEnd() && tex->value.IsString()) ? tex->value.GetString() : "";
                if (t.empty() || t.find('/') != std::string::npos) {
                    p.add(file, "\"slide\" must show a plain image file of its folder, not a sheet frame");
                } else if (auto info = imageInfo(tree, folder + "/" + t, p)) {
                    if (info->width != kDesignWidth || info->height != kDesignHeight) {
                        p.add(file, "slide image '" + t + "' is " + std::to_string(info->width) + "x" + std::to_string(info->height) + ", not the full screen");
                    }
                }
            }
            if (name != "Bubbles") continue;
            auto kids = e.FindMember("nodes");
            if (kids == e.MemberEnd() || !kids->value.IsArray()) continue;
            for (const auto& b : kids->value.GetArray()) {
                if (!b.IsObject()) continue;
                std::string bn = nameOf(b);
                if (!b.HasMember("label")) p.add(file, "\"Bubbles\" child \"" + bn + "\" is not a label");
                if (!texts.has("intro", bn)) p.add(file, "bubble \"" + bn + "\" has no text intro/" + bn);
                if (!bubbleNames.insert(bn).second) p.add(file, "bubble \"" + bn + "\" is also used on another slide; its name is its text id");
            }
        }
        if (!slide) p.add(file, "has no top-level \"slide\" picture");
    }
}

}  // namespace restest
