// Rules for sprite sheets and their frame lists.
#include <algorithm>

#include "ResourceChecks.h"
#include "ResourceContract.h"

namespace restest {

namespace {

std::string folderOf(const std::string& rel) {
    auto slash = rel.rfind('/');
    return slash == std::string::npos ? std::string() : rel.substr(0, slash);
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> allLists(const Tree& tree) {
    std::vector<std::string> out;
    for (const auto& f : tree.files()) {
        if (endsWith(f, "_atlas.xml") || endsWith(f, "/icons.xml") || endsWith(f, ".plist")) {
            if (f.rfind("particles/", 0) == 0) continue;  // particle files are not frame lists
            out.push_back(f);
        }
    }
    return out;
}

}  // namespace

void checkFrameList(const Tree& tree, const std::string& list, Problems& p) {
    auto fl = loadFrameList(tree, list, p);
    if (!fl) return;
    if (fl->textureFileName.empty()) {
        p.add(list, "metadata has no textureFileName");
        return;
    }
    std::string image = folderOf(list);
    image = image.empty() ? fl->textureFileName : image + "/" + fl->textureFileName;
    if (!tree.exists(image)) {
        p.add(list, "textureFileName '" + fl->textureFileName + "' names no file beside the list");
        return;
    }
    auto info = imageInfo(tree, image, p);
    if (!info) return;
    if (fl->width != info->width || fl->height != info->height) {
        p.add(list, "metadata size {" + std::to_string(fl->width) + "," + std::to_string(fl->height) + "} differs from " + image);
    }
    if (fl->frames.empty()) p.add(list, "lists no frames");
    for (const auto& [name, f] : fl->frames) {
        if (f.rotated) p.add(list, "frame '" + name + "' is rotated; frames must be stored upright");
        if (f.offX != 0 || f.offY != 0) p.add(list, "frame '" + name + "' has an offset; frames must be untrimmed");
        if (f.srcW != f.w || f.srcH != f.h) p.add(list, "frame '" + name + "' has a sourceSize other than its size");
        if (f.w <= 0 || f.h <= 0 || f.x < 0 || f.y < 0 || f.x + f.w > info->width || f.y + f.h > info->height) {
            p.add(list, "frame '" + name + "' lies outside " + image);
        }
    }
}

void checkSheets(const Tree& tree, Problems& p) {
    std::vector<std::string> lists = allLists(tree);
    for (const auto& l : lists) checkFrameList(tree, l, p);

    // Frames are global: the UI, minigame and fly sheets can all be loaded at once, so their
    // names must be unique across them. A level's two sheets and a country's icons are loaded
    // beside them and must not clash with any of them either.
    std::map<std::string, std::string> global;
    auto addAll = [&](const std::string& list, std::map<std::string, std::string>& into, const std::map<std::string, std::string>* also) {
        Problems quiet;
        auto fl = loadFrameList(tree, list, quiet);
        if (!fl) return;
        for (const auto& [name, f] : fl->frames) {
            (void)f;
            auto it = into.find(name);
            if (it != into.end() && it->second != list) p.add(list, "frame '" + name + "' is also in " + it->second);
            if (also) {
                auto jt = also->find(name);
                if (jt != also->end()) p.add(list, "frame '" + name + "' is also in " + jt->second);
            }
            into.emplace(name, list);
        }
    };
    std::vector<std::string> levelLists, iconLists;
    for (const auto& l : lists) {
        if (l.rfind("Scenes/", 0) == 0) (endsWith(l, "/icons.xml") ? iconLists : levelLists).push_back(l);
        else addAll(l, global, nullptr);
    }
    std::map<std::string, std::string> icons;
    for (const auto& l : iconLists) addAll(l, icons, &global);
    std::map<std::string, std::map<std::string, std::string>> perLevel;
    for (const auto& l : levelLists) {
        std::map<std::string, std::string> merged = global;
        merged.insert(icons.begin(), icons.end());
        addAll(l, perLevel[folderOf(l)], &merged);
    }

    for (const RequiredFrame& r : requiredFrames()) {
        Problems quiet;
        auto fl = tree.exists(r.list) ? loadFrameList(tree, r.list, quiet) : std::nullopt;
        if (!fl) {
            p.add(r.list, "missing; code takes the frame '" + r.frame + "' from it");
            continue;
        }
        auto it = fl->frames.find(r.frame);
        if (it == fl->frames.end()) {
            p.add(r.list, "has no frame '" + r.frame + "', which code takes by name");
        } else if (r.w > 0 && (it->second.w != r.w || it->second.h != r.h)) {
            p.add(r.list, "frame '" + r.frame + "' must be " + std::to_string(r.w) + "x" + std::to_string(r.h));
        }
    }
}

}  // namespace restest
