// Rules for the JSON UI descriptions.
#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <set>

#include "ResourceChecks.h"
#include "ResourceContract.h"

namespace restest {

namespace {

using Value = rapidjson::Value;

const std::set<std::string> kClasses = {"CountryListItemNode", "PictureFrame", "PictureDetails", "LevelStatistic",
                                        "RestoreToolSelector", "OptionsScreen", "FlaskLiquid", "MuseumStatistic",
                                        "NewUserPopup", "ChooseUserScreen"};

std::string str(const Value& e, const char* key) {
    auto it = e.FindMember(key);
    return (it != e.MemberEnd() && it->value.IsString()) ? std::string(it->value.GetString(), it->value.GetStringLength())
                                                         : std::string();
}

// The builder the loader picks, by its precedence.
std::string kindOf(const Value& e) {
    if (e.HasMember("label")) return "L";
    if (e.HasMember("button")) return "B";
    if (e.HasMember("checkbox")) return "C";
    if (e.HasMember("selector")) return "SEL";
    if (e.HasMember("progress")) return "G";
    if (e.HasMember("list")) return "PH";
    if (e.HasMember("tex")) return "T";
    if (e.HasMember("reference")) return "R";
    if (e.HasMember("class")) return "K:" + str(e, "class");
    return "P";
}

bool isTexturePart(const Value& e) { return e.HasMember("tex") && e.HasMember("state"); }
bool isTitlePart(const Value& e) { return e.HasMember("label") && !e.HasMember("tex"); }

const Value* nodesOf(const Value& e) {
    auto it = e.FindMember("nodes");
    return (it != e.MemberEnd() && it->value.IsArray()) ? &it->value : nullptr;
}

// Pre-order walk. `widgetPart` is set for the direct members of a button's or check box's
// "nodes"; `underSheet` once an ancestor (or the element) carries "sheet".
using Visit = std::function<void(const Value& e, const std::string& path, bool widgetPart, bool underSheet)>;
void walk(const Value& nodes, const std::string& path, bool widgetParts, bool underSheet, const Visit& visit) {
    if (!nodes.IsArray()) return;
    for (rapidjson::SizeType i = 0; i < nodes.Size(); ++i) {
        const Value& e = nodes[i];
        if (!e.IsObject()) continue;
        std::string name = str(e, "name");
        std::string here = path + "/" + (name.empty() ? "#" + std::to_string(i) : name);
        bool sheet = underSheet || e.HasMember("sheet");
        visit(e, here, widgetParts, sheet);
        if (const Value* kids = nodesOf(e)) {
            std::string k = kindOf(e);
            walk(*kids, here, k == "B" || k == "C", sheet, visit);
        }
    }
}

const Value* findFirst(const Value& nodes, const std::string& name) {
    if (!nodes.IsArray()) return nullptr;
    for (const auto& e : nodes.GetArray()) {
        if (!e.IsObject()) continue;
        if (str(e, "name") == name && !e.HasMember("reference")) return &e;
        if (const Value* kids = nodesOf(e)) {
            if (const Value* f = findFirst(*kids, name)) return f;
        }
    }
    return nullptr;
}

struct Frame4 {
    double x, y, w, h;
};
bool frameOf(const Value& e, Frame4& f) {
    for (const char* k : {"x", "y", "w", "h"}) {
        auto it = e.FindMember(k);
        if (it == e.MemberEnd() || !it->value.IsNumber()) return false;
    }
    f = {e["x"].GetDouble(), e["y"].GetDouble(), e["w"].GetDouble(), e["h"].GetDouble()};
    return true;
}

// Resolves "tex" values of one folder to image sizes, caching frame lists.
class ImageResolver {
public:
    ImageResolver(const Tree& tree, std::string folder, Problems& p) : _tree(tree), _folder(std::move(folder)), _p(p) {}

    bool size(const std::string& tex, const std::string& where, int& w, int& h) {
        std::string file = _folder + "/ccnode.json";
        auto slash = tex.find('/');
        if (slash == std::string::npos) {
            std::string rel = _folder + "/" + tex;
            if (!_tree.exists(rel)) {
                _p.add(file, where + ": image '" + tex + "' is not a file of " + _folder);
                return false;
            }
            Problems quiet;
            auto info = imageInfo(_tree, rel, quiet);
            if (!info) {
                _p.add(file, where + ": image '" + tex + "' is not a PNG or JPEG");
                return false;
            }
            w = info->width;
            h = info->height;
            return true;
        }
        std::string sheet = tex.substr(0, slash), frame = tex.substr(slash + 1);
        auto rest = frame.find('/');
        if (rest != std::string::npos) frame = frame.substr(0, rest);
        const FrameList* list = this->list(sheet);
        if (!list) {
            _p.add(file, where + ": sheet '" + sheet + "' of '" + tex + "' has no " + sheet + "_atlas.xml and " + sheet +
                             "_atlas.png in " + _folder);
            return false;
        }
        auto it = list->frames.find(frame);
        if (it == list->frames.end()) {
            _p.add(file, where + ": frame '" + frame + "' is not in " + _folder + "/" + sheet + "_atlas.xml");
            return false;
        }
        w = it->second.w;
        h = it->second.h;
        return true;
    }

private:
    const FrameList* list(const std::string& sheet) {
        auto it = _lists.find(sheet);
        if (it != _lists.end()) return it->second ? &*it->second : nullptr;
        std::string xml = _folder + "/" + sheet + "_atlas.xml", png = _folder + "/" + sheet + "_atlas.png";
        std::optional<FrameList> l;
        if (_tree.exists(xml) && _tree.exists(png)) {
            Problems quiet;
            l = loadFrameList(_tree, xml, quiet);
        }
        auto& slot = _lists[sheet];
        slot = l;
        return slot ? &*slot : nullptr;
    }

    const Tree& _tree;
    std::string _folder;
    Problems& _p;
    std::map<std::string, std::optional<FrameList>> _lists;
};

void checkLabelObject(const Value& label, const std::string& file, const std::string& where, Problems& p) {
    if (!label.IsObject()) {
        p.add(file, where + ": \"label\" is not an object");
        return;
    }
    std::string t = str(label, "t");
    if (t != "ttf") p.add(file, where + ": label type \"t\" must be \"ttf\", not \"" + t + "\"");
    std::string f = str(label, "f");
    if (f != "Arial" && f != "ArialBold") p.add(file, where + ": label font \"f\" must be Arial or ArialBold");
    auto s = label.FindMember("s");
    if (s == label.MemberEnd() || !s->value.IsInt() || s->value.GetInt() <= 0) p.add(file, where + ": label size \"s\" must be a positive integer");
    if (label.HasMember("c")) {
        std::string c = str(label, "c");
        bool ok = c.size() == 9 && std::all_of(c.begin(), c.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
        if (ok) {
            for (int i = 0; i < 3; ++i) ok = ok && std::stoi(c.substr(static_cast<std::size_t>(i) * 3, 3)) <= 255;
        }
        if (!ok) p.add(file, where + ": label colour \"c\" must be nine digits RRRGGGBBB, each part 0..255");
    }
    for (const char* k : {"w", "h"}) {
        if (label.HasMember(k) && !label[k].IsNumber()) p.add(file, where + ": label \"" + std::string(k) + "\" must be a number");
    }
    std::string ha = str(label, "ha"), va = str(label, "va");
    if (label.HasMember("ha") && ha != "l" && ha != "r" && ha != "c") p.add(file, where + ": \"ha\" must be l, r or c");
    if (label.HasMember("va") && va != "t" && va != "b" && va != "c") p.add(file, where + ": \"va\" must be t, b or c");
}

}  // namespace

void checkUiDescription(const Tree& tree, const std::string& folder, Problems& p) {
    const std::string file = folder + "/ccnode.json";
    auto doc = loadJson(tree, file, p);
    if (!doc) return;
    auto nodes = doc->FindMember("nodes");
    if (nodes == doc->MemberEnd() || !nodes->value.IsArray()) {
        p.add(file, "has no \"nodes\" array");
        return;
    }
    ImageResolver images(tree, folder, p);
    walk(nodes->value, "", false, false, [&](const Value& e, const std::string& path, bool widgetPart, bool) {
        auto nm = e.FindMember("name");
        if (nm == e.MemberEnd() || !nm->value.IsString()) p.add(file, path + ": element without a string \"name\"");
        std::string kind = kindOf(e);
        bool builtFrame = !(widgetPart && (isTexturePart(e) || isTitlePart(e)));
        Frame4 fr{};
        if (builtFrame && !frameOf(e, fr)) p.add(file, path + ": needs numeric \"x\", \"y\", \"w\" and \"h\"");
        if (e.HasMember("tag") && !e["tag"].IsInt()) p.add(file, path + ": \"tag\" must be an integer literal");
        if (e.HasMember("r") && !e["r"].IsString()) p.add(file, path + ": \"r\" must be a string");
        if (e.HasMember("o") && (!e["o"].IsNumber() || e["o"].GetDouble() < 0 || e["o"].GetDouble() > 1)) {
            p.add(file, path + ": \"o\" must be a number in 0..1");
        }
        if (e.HasMember("nodes") && !e["nodes"].IsArray()) p.add(file, path + ": \"nodes\" must be an array");
        if (e.HasMember("class") && !kClasses.count(str(e, "class"))) {
            p.add(file, path + ": class \"" + str(e, "class") + "\" is not one of the registered classes");
        }
        if (e.HasMember("anchor")) p.add(file, path + ": \"anchor\" is not used in our descriptions");
        if (e.HasMember("reference")) p.add(file, path + ": \"reference\" is not used in our descriptions");
        if (e.HasMember("label")) checkLabelObject(e["label"], file, path, p);
        if (kind == "B" || kind == "C") {
            const Value* parts = nodesOf(e);
            const Value* normal = nullptr;
            if (parts) {
                for (const auto& part : parts->GetArray()) {
                    if (!part.IsObject() || !isTexturePart(part)) continue;
                    std::string state = str(part, "state");
                    bool known = kind == "B" ? (state == "normal" || state == "selected" || state == "disabled")
                                             : (state == "normal" || state == "selected");
                    if (!known) p.add(file, path + ": part state \"" + state + "\" is not one the loader reads");
                    if (state == "normal" && !normal) normal = &part;
                    int w = 0, h = 0;
                    images.size(str(part, "tex"), path + "/" + str(part, "name"), w, h);
                }
            }
            if (!normal) {
                p.add(file, path + ": a " + std::string(kind == "B" ? "button" : "check box") + " needs \"nodes\" with a \"normal\" image part");
            } else if (kind == "B" && builtFrame) {
                int w = 0, h = 0;
                if (images.size(str(*normal, "tex"), path, w, h) && (fr.w != w || fr.h != h)) {
                    p.add(file, path + ": button is " + std::to_string(static_cast<int>(fr.w)) + "x" + std::to_string(static_cast<int>(fr.h)) +
                                    " but its normal image is " + std::to_string(w) + "x" + std::to_string(h));
                }
            }
        }
        if ((kind == "T" || kind == "G") && !widgetPart) {
            int w = 0, h = 0;
            std::string tex = str(e, "tex");
            if (tex.empty()) p.add(file, path + ": \"tex\" must be a non-empty string");
            else if (images.size(tex, path, w, h) && builtFrame && (fr.w != w || fr.h != h)) {
                p.add(file, path + ": frame is " + std::to_string(static_cast<int>(fr.w)) + "x" + std::to_string(static_cast<int>(fr.h)) +
                                " but image '" + tex + "' is " + std::to_string(w) + "x" + std::to_string(h));
            }
        } else if (widgetPart && e.HasMember("tex") && !isTexturePart(e)) {
            p.add(file, path + ": an image inside a button must sit inside a plain part");
        }
    });
}

void checkUiDescriptions(const Tree& tree, Problems& p) {
    for (const std::string& f : tree.files()) {
        bool ui = f.rfind("ui/", 0) == 0 || f.rfind("Minigames/", 0) == 0 || f.rfind("intro/", 0) == 0;
        if (ui && f.size() > 12 && f.compare(f.size() - 12, 12, "/ccnode.json") == 0) checkUiDescription(tree, f.substr(0, f.size() - 12), p);
    }
}

void checkLookups(const Tree& tree, Problems& p) {
    std::map<std::string, std::unique_ptr<rapidjson::Document>> docs;
    for (const Lookup& l : lookups()) {
        std::string file = l.folder + "/ccnode.json";
        if (!docs.count(l.folder)) docs[l.folder] = loadJson(tree, file, p);
        const rapidjson::Document* doc = docs[l.folder].get();
        if (!doc || !doc->HasMember("nodes")) continue;
        const Value& nodes = (*doc)["nodes"];
        const Value* found = nullptr;
        if (l.parent.empty()) {
            found = findFirst(nodes, l.name);
            if (!found) {
                p.add(file, "createNode(\"" + l.name + "\") finds no element");
                continue;
            }
        } else {
            const Value* parent = findFirst(nodes, l.parent);
            if (!parent) {
                p.add(file, "no element \"" + l.parent + "\" to hold \"" + l.name + "\"");
                continue;
            }
            if (const Value* kids = nodesOf(*parent)) {
                for (const auto& k : kids->GetArray()) {
                    if (!k.IsObject() || str(k, "name") != l.name) continue;
                    if (l.tag >= 0 && !(k.HasMember("tag") && k["tag"].IsInt() && k["tag"].GetInt() == l.tag)) continue;
                    found = &k;
                    break;
                }
            }
            if (!found) {
                p.add(file, "\"" + l.name + "\"" + (l.tag >= 0 ? " with tag " + std::to_string(l.tag) : std::string()) +
                                " is not a direct child of \"" + l.parent + "\"");
                continue;
            }
        }
        std::string kind = kindOf(*found);
        if (kind != l.kind) p.add(file, "\"" + l.name + "\" is built as " + kind + " but code needs " + l.kind);
        if (l.parent.empty() && l.tag >= 0 && !(found->HasMember("tag") && (*found)["tag"].GetInt() == l.tag)) {
            p.add(file, "\"" + l.name + "\" needs tag " + std::to_string(l.tag));
        }
    }
    // The tool bar: buttons tagged 1..5, nothing else below tag 10; each button's part
    // "objects" holds the hidden glow (tag 1), the badge and the count label.
    if (docs.count("ui/Game") && docs["ui/Game"]) {
        const Value* bar = findFirst((*docs["ui/Game"])["nodes"], "RestoreTools");
        std::set<int> tags;
        if (bar && nodesOf(*bar)) {
            for (const auto& k : nodesOf(*bar)->GetArray()) {
                if (!k.IsObject() || !k.HasMember("tag") || !k["tag"].IsInt()) continue;
                int t = k["tag"].GetInt();
                if (t < 10) {
                    if (t < 1 || t > 5 || kindOf(k) != "B") p.add("ui/Game/ccnode.json", "RestoreTools child \"" + str(k, "name") + "\" has tag " + std::to_string(t) + " but is not a tool button 1..5");
                    tags.insert(t);
                    const Value* objects = nodesOf(k) ? findFirst(*nodesOf(k), "objects") : nullptr;
                    bool glow = false, badge = false, number = false;
                    if (objects && nodesOf(*objects)) {
                        for (const auto& o : nodesOf(*objects)->GetArray()) {
                            if (!o.IsObject()) continue;
                            if (o.HasMember("tag") && o["tag"].IsInt() && o["tag"].GetInt() == 1) glow = true;
                            if (str(o, "name") == "numberBack") badge = true;
                            if (str(o, "name") == "number" && kindOf(o) == "L") number = true;
                        }
                    }
                    if (!glow || !badge || !number) p.add("ui/Game/ccnode.json", "tool button \"" + str(k, "name") + "\" needs a part \"objects\" with a tag-1 image, \"numberBack\" and the label \"number\"");
                }
            }
        }
        for (int t = 1; t <= 5; ++t) {
            if (!tags.count(t)) p.add("ui/Game/ccnode.json", "RestoreTools has no tool button tagged " + std::to_string(t));
        }
    }
}

void checkPreload(const Tree& tree, Problems& p) {
    for (const std::string& folder : preloadFolders()) {
        std::string file = folder + "/ccnode.json";
        if (!tree.exists(file)) continue;
        auto doc = loadJson(tree, file, p);
        if (!doc || !doc->HasMember("nodes")) continue;
        // What the loading screen asks the texture cache for: sheet images of elements with
        // "sheet" (their subtrees are not walked) and every "tex" as written.
        std::function<void(const Value&)> collect = [&](const Value& nodes) {
            if (!nodes.IsArray()) return;
            for (const auto& e : nodes.GetArray()) {
                if (!e.IsObject()) continue;
                if (e.HasMember("sheet")) {
                    std::string img = folder + "/" + str(e, "name") + "_atlas.png";
                    if (!tree.exists(img)) p.add(file, "preloads sheet image '" + img + "', which does not exist");
                } else if (const Value* kids = nodesOf(e)) {
                    collect(*kids);
                }
                if (e.HasMember("tex")) {
                    std::string path = folder + "/" + str(e, "tex");
                    if (!tree.exists(path)) p.add(file, "preloads '" + path + "', which names no file (put frame images under an element with \"sheet\")");
                }
            }
        };
        collect((*doc)["nodes"]);
    }
}

void checkUiGeometry(const Tree& tree, Problems& p) {
    auto frameCheck = [&](const std::string& folder, const std::string& name, auto&& test, const std::string& rule) {
        std::string file = folder + "/ccnode.json";
        if (!tree.exists(file)) return;
        Problems quiet;
        auto doc = loadJson(tree, file, quiet);
        if (!doc || !doc->HasMember("nodes")) return;
        const Value* e = findFirst((*doc)["nodes"], name);
        Frame4 f{};
        if (!e || !frameOf(*e, f)) return;
        if (!test(*e, f)) p.add(file, "\"" + name + "\": " + rule);
    };
    // The picture area is a zero-size container with the full-screen frame.
    frameCheck("ui/Game", "background", [](const Value& e, const Frame4& f) {
        return kindOf(e) == "P" && f.x == 0 && f.y == 0 && f.w == kDesignWidth && f.h == kDesignHeight;
    }, "must be a plain container with the frame (0, 0, 1280, 810)");
    // Tool buttons stand at x = 0 of the tool bar (the jump animation returns them there).
    frameCheck("ui/Game", "RestoreTools", [](const Value& e, const Frame4& bar) {
        const Value* kids = nodesOf(e);
        if (!kids) return false;
        for (const auto& k : kids->GetArray()) {
            Frame4 f{};
            if (k.IsObject() && kindOf(k) == "B" && frameOf(k, f) && std::abs(f.x + f.w / 2 - bar.w / 2) > 0.01) return false;
        }
        return true;
    }, "tool buttons must be centred at x = 0 of the tool bar");
    // The confirmation node is placed at (W/2 - 160, H/2 + 120); its panel must sit at
    // (+160, -120) from it to appear centred.
    frameCheck("ui/Confirmation", "ConfirmationWindow", [](const Value& e, const Frame4& cw) {
        const Value* kids = nodesOf(e);
        if (!kids) return false;
        for (const auto& k : kids->GetArray()) {
            Frame4 f{};
            if (k.IsObject() && str(k, "name") == "panel" && frameOf(k, f)) {
                return std::abs(f.x + f.w / 2 - cw.w) < 0.01 && std::abs(f.y + f.h / 2 - cw.h) < 0.01 && cw.w == 320 && cw.h == 240;
            }
        }
        return false;
    }, "must be 320 x 240 with its panel centred on the frame's bottom-right corner");
}

namespace {

// The ancestors of the first element named `name` (pre-order), the element last.
bool locate(const Value& nodes, const std::string& name, std::vector<const Value*>& chain) {
    if (!nodes.IsArray()) return false;
    for (const auto& e : nodes.GetArray()) {
        if (!e.IsObject()) continue;
        chain.push_back(&e);
        if (str(e, "name") == name) return true;
        if (const Value* kids = nodesOf(e)) {
            if (locate(*kids, name, chain)) return true;
        }
        chain.pop_back();
    }
    return false;
}

struct Point {
    double x, y;
};

// Where an element ends up on a 1280 x 810 screen (origin bottom-left, y up) when its tree is
// added at the screen's centre, by the position rule applied down its ancestors.
std::optional<Point> worldOf(const Value& nodes, const std::string& name) {
    std::vector<const Value*> chain;
    if (!locate(nodes, name, chain)) return std::nullopt;
    Point at{kDesignWidth / 2.0, kDesignHeight / 2.0};
    Frame4 parent{0, 0, static_cast<double>(kDesignWidth), static_cast<double>(kDesignHeight)};
    for (const Value* e : chain) {
        Frame4 f{};
        if (!frameOf(*e, f)) return std::nullopt;
        at.x += f.x + f.w / 2 - parent.w / 2;
        at.y += parent.h / 2 - (f.y + f.h / 2);
        parent = f;
    }
    return at;
}

std::vector<std::string> childNames(const Value& e) {
    std::vector<std::string> names;
    if (const Value* kids = nodesOf(e)) {
        for (const auto& k : kids->GetArray()) {
            if (k.IsObject()) names.push_back(str(k, "name"));
        }
    }
    return names;
}

int tagOf(const Value& e) { return e.HasMember("tag") && e["tag"].IsInt() ? e["tag"].GetInt() : -1; }

int countNamed(const Value& nodes, const std::string& name) {
    int n = 0;
    walk(nodes, "", false, false, [&](const Value& e, const std::string&, bool, bool) { n += str(e, "name") == name; });
    return n;
}

}  // namespace

// Rules of the world screens and minigames that follow from how code uses their elements.
void checkScreenLayouts(const Tree& tree, Problems& p) {
    std::map<std::string, std::unique_ptr<rapidjson::Document>> docs;
    auto nodes = [&](const std::string& folder) -> const Value* {
        if (!docs.count(folder)) {
            Problems quiet;
            docs[folder] = tree.exists(folder + "/ccnode.json") ? loadJson(tree, folder + "/ccnode.json", quiet) : nullptr;
        }
        const auto& d = docs[folder];
        return (d && d->HasMember("nodes") && (*d)["nodes"].IsArray()) ? &(*d)["nodes"] : nullptr;
    };
    auto near = [](double a, double b) { return std::abs(a - b) < 0.01; };
    auto worldIs = [&](const std::string& folder, const std::string& name, Point want, const std::string& why) {
        const Value* n = nodes(folder);
        if (!n) return;
        auto at = worldOf(*n, name);
        if (!at || !near(at->x, want.x) || !near(at->y, want.y)) {
            p.add(folder + "/ccnode.json", "\"" + name + "\" must lie at (" + std::to_string(want.x) + ", " + std::to_string(want.y) + ") on screen: " + why);
        }
    };
    // The snapping lists sit at (origin x, origin y - 2 centre y) in their holders; their tap
    // arithmetic assumes their world origin is the screen's.
    worldIs("ui/Gallery", "PicturesList", {0, 810}, "the picture list is placed 810 below it");
    worldIs("ui/Map", "ListPlace", {0, 911.25}, "the country list is placed 911.25 below it");

    if (const Value* n = nodes("ui/Gallery")) {
        if (const Value* ui = findFirst(*n, "UI")) {
            auto names = childNames(*ui);
            if (names.empty() || names.front() != "PicturesList") p.add("ui/Gallery/ccnode.json", "\"PicturesList\" must be the first child of \"UI\", so the buttons stay above the list");
            if (names.empty() || names.back() != "chat_place") p.add("ui/Gallery/ccnode.json", "\"chat_place\" must be the last child of \"UI\", so chats draw above the panel");
        }
    }
    if (const Value* n = nodes("ui/GalleryDynamic")) {
        std::vector<const Value*> chain;
        if (locate(*n, "closeGroup", chain) && (chain.size() != 2 || str(*chain[0], "name") != "GalleryDynamic")) {
            p.add("ui/GalleryDynamic/ccnode.json", "the first \"closeGroup\" must be the map's, a direct child of \"GalleryDynamic\"");
        }
        if (const Value* frame = findFirst(*n, "PictureFrame")) {
            int tagged = 0;
            bool star = true;
            if (const Value* kids = nodesOf(*frame)) {
                for (const auto& k : kids->GetArray()) {
                    if (k.IsObject() && tagOf(k) == 1) {
                        ++tagged;
                        star = star && str(k, "name") == "Star";
                    }
                }
            }
            if (tagged != 1 || !star) p.add("ui/GalleryDynamic/ccnode.json", "\"PictureFrame\" needs exactly one direct child tagged 1, and it must be a \"Star\"");
        }
    }
    if (const Value* n = nodes("ui/Map")) {
        if (const Value* bg = findFirst(*n, "Backgrounds")) {
            if (const Value* kids = nodesOf(*bg); kids && countNamed(*kids, "Credits") > 0) {
                p.add("ui/Map/ccnode.json", "\"Credits\" must not be inside \"Backgrounds\": the map removes it from there");
            }
        }
        for (const std::string& c : countries()) {
            const Value* e = findFirst(*n, c);
            if (e && !(e->HasMember("w") && (*e)["w"].IsInt() && e->HasMember("h") && (*e)["h"].IsInt())) {
                p.add("ui/Map/ccnode.json", "country \"" + c + "\" needs integer \"w\" and \"h\" for its locked silhouette");
            }
        }
    }
    if (const Value* n = nodes("ui/LevelStatistic")) {
        if (const Value* ls = findFirst(*n, "LevelStatistic"); ls && nodesOf(*ls)) {
            for (const auto& k : nodesOf(*ls)->GetArray()) {
                int t = k.IsObject() ? tagOf(k) : -1;
                if (t >= 1 && t <= 3) p.add("ui/LevelStatistic/ccnode.json", "\"" + str(k, "name") + "\" carries tag " + std::to_string(t) + ", which marks the HUD stars moved into the panel");
            }
        }
    }
    if (const Value* n = nodes("ui/Cabinet")) {
        std::vector<const Value*> chain;
        int count = countNamed(*n, "message_container");
        if (count != 1 || !locate(*n, "message_container", chain) || chain.size() < 2 || str(*chain[chain.size() - 2], "name") != "message_place") {
            p.add("ui/Cabinet/ccnode.json", "needs exactly one \"message_container\", a child of \"message_place\" (found " + std::to_string(count) + ")");
        }
    }
    if (const Value* n = nodes("ui/MinigamesSelection")) {
        if (const Value* pb = findFirst(*n, "PuzzleButtons")) {
            std::vector<std::string> want;
            for (const std::string& k : minigameKinds()) want.push_back(k + "BtnCont");
            if (childNames(*pb) != want) p.add("ui/MinigamesSelection/ccnode.json", "\"PuzzleButtons\" must hold exactly the five game buttons, in the games' order");
        }
    }
    // In a level the options panel drops "profiles" and moves "credits" 84 px right and "exit"
    // 84 px left; the two must still stand apart.
    if (const Value* n = nodes("ui/OptionsScreen")) {
        Frame4 c{}, e{};
        const Value* credits = findFirst(*n, "credits");
        const Value* exit = findFirst(*n, "exit");
        if (credits && exit && frameOf(*credits, c) && frameOf(*exit, e)) {
            c.x += 84;
            e.x -= 84;
            bool apart = c.x + c.w <= e.x || e.x + e.w <= c.x || c.y + c.h <= e.y || e.y + e.h <= c.y;
            if (!apart) p.add("ui/OptionsScreen/ccnode.json", "\"credits\" and \"exit\" overlap once the level moves them 84 px together");
        }
    }
    // The safe's handle is re-anchored by offsets that assume its size.
    if (const Value* n = nodes("Minigames/TwoMatch")) {
        Frame4 f{};
        const Value* h = findFirst(*n, "handle_dinamic");
        if (h && (!frameOf(*h, f) || f.w != 243 || f.h != 100)) p.add("Minigames/TwoMatch/ccnode.json", "\"handle_dinamic\" must be 243 x 100");
    }
    // The belt is copied every 66 px and shifted 70 left; its left end must start off screen.
    if (const Value* n = nodes("Minigames/ConveyorPuzzle")) {
        Frame4 f{};
        const Value* b = findFirst(*n, "belt");
        auto at = worldOf(*n, "belt");
        if (b && frameOf(*b, f) && at) {
            double left = at->x - 70 - f.w / 2;
            double y = at->y - kDesignHeight / 2.0;
            if (f.w != 66) p.add("Minigames/ConveyorPuzzle/ccnode.json", "\"belt\" must be exactly 66 px wide, its pattern period");
            if (left > 0 || left < -106) p.add("Minigames/ConveyorPuzzle/ccnode.json", "\"belt\" must start 0..106 px left of the screen after its 70 px shift");
            if (y < -270 || y > 270) p.add("Minigames/ConveyorPuzzle/ccnode.json", "\"belt\" must lie inside the swipe band");
        }
    }
    // Every lane's drop must be catchable: its fall crosses the cart back's box (widened by
    // 10 px at the sides and 30 px below) somewhere in the cart's +-450 px of travel.
    if (const Value* n = nodes("Minigames/DropsPuzzle")) {
        Frame4 cb{};
        const Value* back = findFirst(*n, "cart_back");
        auto backAt = worldOf(*n, "cart_back");
        if (const Value* ui = findFirst(*n, "UI")) {
            auto names = childNames(*ui);
            auto layer = std::find(names.begin(), names.end(), "drops_layer"), cart = std::find(names.begin(), names.end(), "cart");
            if (layer == names.end() || cart == names.end() || cart < layer) p.add("Minigames/DropsPuzzle/ccnode.json", "\"cart\" must come after \"drops_layer\" in \"UI\", so its front covers the drops");
        }
        if (back && backAt && frameOf(*back, cb)) {
            for (int lane = 0; lane <= 3; ++lane) {
                std::string d = "drop_" + std::to_string(lane), s2 = "spot_" + std::to_string(lane);
                const Value* drop = findFirst(*n, d);
                Frame4 df{};
                auto home = worldOf(*n, d), spot = worldOf(*n, s2);
                if (!drop || !frameOf(*drop, df) || !home || !spot) continue;
                double top = home->y + df.h / 2, bottom = spot->y + 20;
                bool reach = home->x >= backAt->x - cb.w / 2 - 10 - 450 && home->x <= backAt->x + cb.w / 2 + 10 + 450;
                bool crosses = top >= backAt->y - cb.h / 2 - 30 && bottom <= backAt->y + cb.h / 2;
                if (!reach || !crosses) p.add("Minigames/DropsPuzzle/ccnode.json", "lane " + std::to_string(lane) + "'s drops fall past the cart's catch zone");
            }
        }
    }
}

void checkUiTexts(const Tree& tree, const TextTable& texts, Problems& p) {
    for (const BuiltTree& b : builtTrees()) {
        std::string file = b.folder + "/ccnode.json";
        if (!tree.exists(file)) continue;
        Problems quiet;
        auto doc = loadJson(tree, file, quiet);
        if (!doc || !doc->HasMember("nodes")) continue;
        const Value* root = findFirst((*doc)["nodes"], b.buildName);
        if (!root) continue;
        std::string section = b.buildName;
        std::transform(section.begin(), section.end(), section.begin(), [](unsigned char c) { return std::tolower(c); });
        auto need = [&](const std::string& name) {
            if (std::find(b.codeSet.begin(), b.codeSet.end(), name) != b.codeSet.end()) return;
            if (!texts.has(section, name)) {
                p.add(file, "label \"" + name + "\" of createNode(\"" + b.buildName + "\") has no text " + section + "/" + name);
            }
        };
        if (kindOf(*root) == "L") need(str(*root, "name"));
        if (const Value* kids = nodesOf(*root)) {
            walk(*kids, "", kindOf(*root) == "B", false, [&](const Value& e, const std::string&, bool widgetPart, bool) {
                if (kindOf(e) == "L" || (widgetPart && isTitlePart(e))) need(str(e, "name"));
            });
        }
    }
}

}  // namespace restest
