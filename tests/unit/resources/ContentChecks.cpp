// Rules for the hand-written content: texts, packs and economy, tutorials, the splash list
// and the minigame levels.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>

#include "ResourceChecks.h"
#include "ResourceContract.h"

namespace restest {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::string nameOf(const rapidxml::xml_node<>* n) { return std::string(n->name(), n->name_size()); }
std::string valueOf(const rapidxml::xml_node<>* n) { return std::string(n->value(), n->value_size()); }

bool isNumber(const std::string& s, double& out) {
    if (s.empty()) return false;
    char* end = nullptr;
    out = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && std::isfinite(out);
}

bool isInteger(const std::string& s, int& out) {
    if (s.empty()) return false;
    std::size_t i = (s[0] == '-') ? 1 : 0;
    if (i == s.size() || !std::all_of(s.begin() + static_cast<std::ptrdiff_t>(i), s.end(), [](char c) { return c >= '0' && c <= '9'; })) return false;
    out = std::atoi(s.c_str());
    return true;
}

}  // namespace

bool TextTable::has(const std::string& section, const std::string& id) const {
    auto s = sections.find(lower(section));
    return s != sections.end() && s->second.count(lower(id));
}

std::string TextTable::get(const std::string& section, const std::string& id) const {
    auto s = sections.find(lower(section));
    if (s == sections.end()) return {};
    auto t = s->second.find(lower(id));
    return t == s->second.end() ? std::string() : t->second;
}

TextTable loadTexts(const Tree& tree, Problems& p, const std::vector<std::string>& files) {
    TextTable table;
    std::map<std::string, std::string> origin;  // "section/id" -> file
    for (const std::string& file : files) {
        auto x = loadXml(tree, file, p);
        if (!x) continue;
        auto* root = x->doc.first_node();
        if (!root || nameOf(root) != "texts") {
            p.add(file, "the root element must be \"texts\"");
            continue;
        }
        for (auto* sec : children(root)) {
            std::string section = lower(nameOf(sec));
            if (section.find('.') != std::string::npos) p.add(file, "section \"" + nameOf(sec) + "\" contains a \".\"");
            std::set<std::string> here;
            for (auto* t : children(sec)) {
                bool present = false;
                std::string id = lower(attr(t, "id", &present));
                if (!present || id.empty()) {
                    p.add(file, "a text in section \"" + nameOf(sec) + "\" has no id");
                    continue;
                }
                if (!children(t).empty()) p.add(file, section + "/" + id + " holds elements; a text is plain character data");
                if (!here.insert(id).second) p.add(file, "id \"" + id + "\" appears twice in section \"" + nameOf(sec) + "\"");
                std::string key = section + "/" + id;
                auto o = origin.find(key);
                if (o != origin.end() && o->second != file) p.add(file, "id " + key + " is also in " + o->second + "; the pack's copy would win");
                origin[key] = file;
                table.sections[section][id] = valueOf(t);
            }
        }
    }
    return table;
}

void checkTextRules(const Tree& tree, const TextTable& texts, Problems& p) {
    for (const std::string& key : codeTextKeys()) {
        auto slash = key.find('/');
        if (!texts.has(key.substr(0, slash), key.substr(slash + 1))) p.add("texts/texts-en.xml", "has no text " + key + ", which code looks up");
    }
    // Credits: pages until the first with neither slot; every page shown needs a text.
    for (int page = 1; page <= 3; ++page) {
        bool any = false;
        for (int slot = 1; slot <= 2; ++slot) {
            std::string id = "CreditsText" + std::to_string(slot) + std::to_string(page);
            if (!texts.has("ui", id)) continue;
            any = true;
            if (texts.get("ui", id).find(lower("ui." + id)) != std::string::npos) p.add("texts/texts-en.xml", id + " contains its own key");
        }
        if (!any) p.add("texts/texts-en.xml", "credits page " + std::to_string(page) + " has no text");
    }
    // Values are written on one line, without indentation (a line break is written &#10;).
    for (const std::string& file : {std::string("texts/texts-en.xml"), std::string("Scenes/texts-en.xml")}) {
        Problems quiet;
        auto raw = loadXml(tree, file, quiet, rapidxml::parse_no_entity_translation);
        if (!raw || !raw->doc.first_node()) continue;
        for (auto* sec : children(raw->doc.first_node())) {
            for (auto* t : children(sec)) {
                std::string v = valueOf(t);
                if (v.find('\n') != std::string::npos || v.find('\r') != std::string::npos || (!v.empty() && (v.front() == ' ' || v.back() == ' '))) {
                    p.add(file, nameOf(sec) + "/" + attr(t, "id") + " must be on one line without surrounding spaces");
                }
            }
        }
    }
    static const std::set<std::string> packSections = {"picture", "authors", "funfacts", "progressmessages", "country", "cabinet"};
    Problems quiet;
    auto pack = loadXml(tree, "Scenes/texts-en.xml", quiet);
    if (pack && pack->doc.first_node()) {
        for (auto* sec : children(pack->doc.first_node())) {
            if (!packSections.count(lower(nameOf(sec)))) p.add("Scenes/texts-en.xml", "section \"" + nameOf(sec) + "\" belongs in texts/texts-en.xml");
        }
    }
}

PackData readPack(const Tree& tree, Problems& p) {
    PackData d;
    if (auto list = loadXml(tree, "Scenes/packs.xml", p)) {
        auto* root = list->doc.first_node();
        if (!root || nameOf(root) != "packs") p.add("Scenes/packs.xml", "the root element must be \"packs\"");
        else d.entries = static_cast<int>(children(root).size());
    }
    auto x = loadXml(tree, "Scenes/pack.xml", p);
    if (!x) return d;
    auto* root = x->doc.first_node();
    if (!root || nameOf(root) != "pack") {
        p.add("Scenes/pack.xml", "the root element must be \"pack\"");
        return d;
    }
    d.version = attr(root, "packVersion");
    auto* cs = root->first_node("countries");
    for (auto* c : children(cs)) {
        int order = 0;
        if (!isInteger(attr(c, "unlockorder"), order)) p.add("Scenes/pack.xml", "country \"" + attr(c, "path") + "\" needs an integer unlockorder");
        d.countries.push_back({attr(c, "path"), order});
        for (auto* pic : children(c)) {
            PackPicture pp;
            pp.country = attr(c, "path");
            bool all = true, present = false;
            auto need = [&](const char* a) {
                std::string v = attr(pic, a, &present);
                if (!present) all = false;
                return v;
            };
            pp.path = need("path");
            pp.authorId = need("authorID");
            pp.year = need("year");
            pp.museumId = need("museumID");
            pp.possibleItems = need("possibleitems");
            pp.itemChance = need("itemchance");
            pp.evidence = attr(pic, "evidence");
            if (!isInteger(need("unlockorder"), pp.unlockOrder)) all = false;
            if (!isInteger(need("coins"), pp.coins)) all = false;
            pp.allAttributes = all;
            d.pictures.push_back(pp);
        }
    }
    for (auto* m : children(root->first_node("progressData"))) {
        bool a = false, b = false, c = false;
        d.messageIds.push_back(attr(m, "messageId", &a));
        attr(m, "toCountryId", &b);
        attr(m, "speakerId", &c);
        if (!(a && b && c)) d.messagesComplete = false;
    }
    return d;
}

void checkPacks(const Tree& tree, const TextTable& texts, Problems& p) {
    const std::string file = "Scenes/pack.xml";
    PackData d = readPack(tree, p);
    if (d.entries != 1) p.add("Scenes/packs.xml", "must hold exactly one pack entry, holds " + std::to_string(d.entries));
    if (d.version != "1") p.add(file, "packVersion must stay \"1\"");
    // Countries: the seven keys, once each, opened by purchase in the order of the map.
    std::vector<std::string> keys;
    for (const auto& [path, order] : d.countries) {
        keys.push_back(path);
        if (order <= 0) p.add(file, "country \"" + path + "\" must have unlockorder > 0");
        if (!texts.has("Country", path)) p.add("Scenes/texts-en.xml", "has no Country/" + path);
    }
    if (keys != countries()) p.add(file, "countries must be exactly USA, UnitedKingdom, France, Netherlands, Ukraine, Spain, Austria, in that order");
    for (std::size_t i = 1; i < d.countries.size(); ++i) {
        if (d.countries[i].second <= d.countries[i - 1].second) p.add(file, "country \"" + d.countries[i].first + "\" must open after \"" + d.countries[i - 1].first + "\"");
    }
    // Pictures: one unlock chain 0..N-1 in pack order, country after country.
    std::set<std::string> paths;
    std::set<std::string> evidence;
    int expect = 0;
    for (const PackPicture& pic : d.pictures) {
        if (!pic.allAttributes) p.add(file, "picture \"" + pic.path + "\" lacks an attribute (all but evidence are required)");
        if (pic.unlockOrder != expect) p.add(file, "picture \"" + pic.path + "\" has unlockorder " + std::to_string(pic.unlockOrder) + "; the chain needs " + std::to_string(expect));
        expect = pic.unlockOrder + 1;
        bool plain = !pic.path.empty() && std::all_of(pic.path.begin(), pic.path.end(), [](unsigned char c) { return std::isalnum(c); });
        if (!plain) p.add(file, "picture path \"" + pic.path + "\" must be plain letters and digits");
        if (pic.path == "Vesquino") p.add(file, "\"Vesquino\" is the demo picture and no pack picture");
        if (!paths.insert(pic.path).second) p.add(file, "picture path \"" + pic.path + "\" appears twice");
        if (!texts.has("Picture", pic.path)) p.add("Scenes/texts-en.xml", "has no Picture/" + pic.path);
        if (!texts.has("FunFacts", pic.path)) p.add("Scenes/texts-en.xml", "has no FunFacts/" + pic.path);
        if (!texts.has("Authors", pic.authorId)) p.add("Scenes/texts-en.xml", "has no Authors/" + pic.authorId);
        if (!pic.evidence.empty() && !evidence.insert(pic.evidence).second) p.add(file, "evidence \"" + pic.evidence + "\" appears twice");
    }
    if (!d.pictures.empty() && (d.pictures.front().country != "USA" || d.pictures.front().unlockOrder != 0)) {
        p.add(file, "the chain must start (order 0) with the first USA picture");
    }
    // Evidence: exactly 13, each with its cabinet message and, once the cabinet exists, its places.
    if (evidence.size() != 13) p.add(file, "needs exactly 13 distinct evidence items, has " + std::to_string(evidence.size()));
    for (const auto& e : evidence) {
        if (!texts.has("Cabinet", "evidence_" + e + "_message")) p.add("Scenes/texts-en.xml", "has no Cabinet/evidence_" + e + "_message");
    }
    if (tree.exists("ui/Cabinet/ccnode.json")) {
        Problems quiet;
        auto doc = loadJson(tree, "ui/Cabinet/ccnode.json", quiet);
        std::map<std::string, std::set<std::string>> found;
        std::function<void(const rapidjson::Value&)> scan = [&](const rapidjson::Value& nodes) {
            if (!nodes.IsArray()) return;
            for (const auto& e : nodes.GetArray()) {
                if (!e.IsObject() || !e.HasMember("name") || !e["name"].IsString()) continue;
                std::string n = e["name"].GetString();
                for (const char* pre : {"eplace_", "evidence_", "look_"}) {
                    if (n.rfind(pre, 0) == 0) found[pre].insert(n.substr(std::string(pre).size()));
                }
                // What the cabinet reaches into without checking: a place's card (tag 1) and pin,
                // an evidence's holder (tag 6) with its picture (tag 7), a look's picture.
                auto child = [](const rapidjson::Value& parent, const char* name, int tag) -> const rapidjson::Value* {
                    if (!parent.HasMember("nodes") || !parent["nodes"].IsArray()) return nullptr;
                    for (const auto& k : parent["nodes"].GetArray()) {
                        if (!k.IsObject()) continue;
                        bool named = name && k.HasMember("name") && k["name"].IsString() && std::string(k["name"].GetString()) == name;
                        bool tagged = tag >= 0 && k.HasMember("tag") && k["tag"].IsInt() && k["tag"].GetInt() == tag;
                        if (named || tagged) return &k;
                    }
                    return nullptr;
                };
                auto image = [](const rapidjson::Value* v) { return v && v->HasMember("tex"); };
                if (n.rfind("eplace_", 0) == 0 && (!image(child(e, nullptr, 1)) || !image(child(e, "pin", -1)))) {
                    p.add("ui/Cabinet/ccnode.json", "\"" + n + "\" needs an image tagged 1 (its card) and an image \"pin\"");
                }
                if (n.rfind("evidence_", 0) == 0) {
                    const rapidjson::Value* holder = child(e, nullptr, 6);
                    if (!holder || !image(child(*holder, nullptr, 7))) p.add("ui/Cabinet/ccnode.json", "\"" + n + "\" needs a holder tagged 6 with its picture tagged 7");
                }
                if (n.rfind("look_", 0) == 0 && !image(&e)) p.add("ui/Cabinet/ccnode.json", "\"" + n + "\" must be an image");
                if (e.HasMember("nodes")) scan(e["nodes"]);
            }
        };
        if (doc && doc->HasMember("nodes")) scan((*doc)["nodes"]);
        for (const char* pre : {"eplace_", "evidence_", "look_"}) {
            if (found[pre] != evidence) p.add("ui/Cabinet/ccnode.json", std::string("the \"") + pre + "\" elements must be exactly the pack's 13 evidence ids");
        }
    }
    // Progress messages: one per index that can be reached.
    if (d.messageIds.size() < d.countries.size() + 1) p.add(file, "needs at least " + std::to_string(d.countries.size() + 1) + " progress messages");
    if (!d.messagesComplete) p.add(file, "every message needs toCountryId, speakerId and messageId");
    for (const auto& m : d.messageIds) {
        if (!texts.has("ProgressMessages", m)) p.add("Scenes/texts-en.xml", "has no ProgressMessages/" + m);
    }
}

void checkEconomy(const Tree& tree, Problems& p) {
    Problems quiet;
    PackData d = readPack(tree, quiet);
    std::map<std::string, std::vector<int>> coins;
    for (const PackPicture& pic : d.pictures) coins[pic.country].push_back(pic.coins);
    for (const auto& [country, list] : coins) {
        float sum = 0.0f;
        long payable = 0;
        for (int c : list) {
            sum += static_cast<float>(c);
            payable += c - 25;
            if (c < 25000) p.add("Scenes/pack.xml", country + ": a picture pays " + std::to_string(c) + " coins; 25000 or more keep every star reachable");
        }
        int price = static_cast<int>(0.99f * sum);
        if (price > payable) p.add("Scenes/pack.xml", country + ": the collection costs " + std::to_string(price) + " but its pictures pay at worst " + std::to_string(payable));
    }
}

void checkTutorials(const Tree& tree, const TextTable& texts, Problems& p) {
    static const std::set<std::string> dirs = {"l", "u", "r", "d", "ld", "dl", "lu", "ul", "ru", "ur", "rd", "dr", "c"};
    std::vector<int> numbers;
    for (int n = 1; n <= 16; ++n) numbers.push_back(n);
    numbers.push_back(21);
    numbers.push_back(41);
    for (const auto& f : tree.files("tutorials")) {
        int n = 0;
        std::string base = f.substr(std::string("tutorials/tutorial_").size());
        if (f.rfind("tutorials/tutorial_", 0) == 0 && base.size() > 4 && isInteger(base.substr(0, base.size() - 4), n) &&
            std::find(numbers.begin(), numbers.end(), n) == numbers.end()) {
            numbers.push_back(n);
        }
    }
    for (int n : numbers) {
        std::string file = "tutorials/tutorial_" + std::to_string(n) + ".xml";
        auto x = loadXml(tree, file, p);
        if (!x) continue;
        auto* root = x->doc.first_node();
        if (!root || nameOf(root) != "Items") {
            p.add(file, "the root element must be \"Items\"");
            continue;
        }
        auto steps = children(root);
        bool inLevel = (n >= 1 && n <= 9) || n == 41;
        if (steps.empty()) p.add(file, "has no step");
        // The spray's tutorial advances twice in a fixed order (the spray is chosen before any drop can
        // hit), and its second step shows where to spray; every other in-level tutorial advances once.
        if (n == 1 && steps.size() != 2) {
            p.add(file, "the spray's tutorial advances on choosing the spray and on the first hit and needs exactly two steps");
        } else if (inLevel && n != 1 && steps.size() != 1) {
            p.add(file, "an in-level tutorial advances once per game event and needs exactly one step");
        }
        for (auto* s : steps) {
            std::string textid = attr(s, "textid"), dir = attr(s, "dir"), ax = attr(s, "alignx"), ay = attr(s, "aligny");
            if (n == 15 && textid == "1") p.add(file, "tutorial 15 must not use textid \"1\" (its curator chat is tutorial-15_1)");
            if (!textid.empty() && !texts.has("Tutorials", "tutorial-" + std::to_string(n) + "_" + textid)) {
                p.add(file, "step text Tutorials/tutorial-" + std::to_string(n) + "_" + textid + " does not exist");
            }
            if (!dirs.count(dir)) p.add(file, "dir \"" + dir + "\" is not a direction");
            if (ax != "l" && ax != "r" && ax != "c") p.add(file, "alignx \"" + ax + "\" must be l, r or c");
            if (ay != "t" && ay != "u" && ay != "b" && ay != "d" && ay != "c") p.add(file, "aligny \"" + ay + "\" must be t, u, b, d or c");
            double tx = 0, ty = 0;
            if (!isNumber(attr(s, "x"), tx) || !isNumber(attr(s, "y"), ty)) {
                p.add(file, "a step needs numeric x and y");
                continue;
            }
            // Where the arrow's tip lands on the 1280 x 810 screen (y from the top).
            double sx = ax == "l" ? tx : ax == "r" ? kDesignWidth - tx : kDesignWidth / 2.0 + tx;
            double sy = (ay == "t" || ay == "u") ? ty : (ay == "b" || ay == "d") ? kDesignHeight - ty : kDesignHeight / 2.0 - ty;
            if (sx < 0 || sx > kDesignWidth || sy < 0 || sy > kDesignHeight) p.add(file, "a step's tip lies off the screen");
        }
    }
}

void checkSplash(const Tree& tree, Problems& p) {
    const std::string file = "splash/splashdata.xml";
    auto x = loadXml(tree, file, p);
    if (!x) return;
    auto* root = x->doc.first_node();
    if (!root || nameOf(root) != "Document") {
        p.add(file, "the root element must be \"Document\"");
        return;
    }
    auto images = children(root);
    if (images.empty()) p.add(file, "lists no image");
    for (auto* img : images) {
        std::string name = attr(img, "filename");
        double t = 0;
        if (!isNumber(attr(img, "timeToShow"), t) || t <= 0) p.add(file, "image '" + name + "' needs a timeToShow above 0");
        if (!tree.exists("splash/" + name)) {
            p.add(file, "image '" + name + "' is not a file of splash/");
            continue;
        }
        if (auto info = imageInfo(tree, "splash/" + name, p)) {
            if (info->width != kDesignWidth || info->height != kDesignHeight) p.add("splash/" + name, "must be 1280x810");
        }
    }
}

void checkMinigameLevels(const Tree& tree, Problems& p) {
    for (int i = 0; i < 8; ++i) {
        std::string n = std::to_string(i);
        // The safe door: locked rows 0..4.
        if (auto x = loadXml(tree, "minigamelevels/TwoMatch_" + n + ".xml", p)) {
            auto* lv = x->doc.first_node("Level");
            if (!lv) p.add("minigamelevels/TwoMatch_" + n + ".xml", "has no \"Level\"");
            for (auto* c : children(lv)) {
                int row = -1;
                if (!isInteger(nameOf(c), row) || row < 0 || row > 4) p.add("minigamelevels/TwoMatch_" + n + ".xml", "locked row \"" + nameOf(c) + "\" must be 0..4");
            }
            if (lv && lv->value_size() > 0) p.add("minigamelevels/TwoMatch_" + n + ".xml", "text stands inside \"Level\"");
        }
        // The colour board: starting pipes below the target colour.
        std::string cm = "minigamelevels/ColorMatch_" + n + ".xml";
        if (auto x = loadXml(tree, cm, p)) {
            auto* lv = x->doc.first_node("Level");
            int mx = 0;
            if (!lv || !isInteger(attr(lv, "maxcolor"), mx) || mx < 2 || mx > 10) p.add(cm, "maxcolor must be 2..10");
            auto pipes = children(lv);
            if (pipes.empty() || pipes.size() > 16) p.add(cm, "needs 1..16 starting pipes");
            for (auto* c : pipes) {
                int name = 0;
                if (!isInteger(nameOf(c), name) || name < 1 || name > mx - 1) p.add(cm, "pipe \"" + nameOf(c) + "\" must be below the target colour");
            }
            if (lv && lv->value_size() > 0) p.add(cm, "text stands inside \"Level\"");
        }
        std::string cp = "minigamelevels/ConveyorPuzzle_" + n + ".xml";
        if (auto x = loadXml(tree, cp, p)) {
            auto* lv = x->doc.first_node("Level");
            double t = 0, speed = 0, wrong = 0;
            bool ok = lv && isNumber(attr(lv, "gametime"), t) && isNumber(attr(lv, "speed"), speed) &&
                      isNumber(attr(lv, "wrongitemspercent"), wrong) && lv->first_attribute("coin");
            if (!ok) p.add(cp, "needs gametime, speed, wrongitemspercent and coin");
            else {
                if (attr(lv, "coin") == "true" && t <= 30) p.add(cp, "a coin level needs gametime above 30");
                if (speed < 150 || speed > 450) p.add(cp, "speed must be 150..450");
                if (wrong < 0 || wrong > 100) p.add(cp, "wrongitemspercent must be 0..100");
            }
        }
        std::string dp = "minigamelevels/DropsPuzzle_" + n + ".xml";
        if (auto x = loadXml(tree, dp, p)) {
            auto* lv = x->doc.first_node("Level");
            double t = 0, lc = 0;
            if (!lv || !isNumber(attr(lv, "time"), t) || !isNumber(attr(lv, "loosecount"), lc)) p.add(dp, "needs time and loosecount");
            auto lanes = children(lv);
            if (lanes.size() != 4) p.add(dp, "needs exactly 4 lanes");
            for (auto* l : lanes) {
                double f = 0, g = 0;
                if (!isNumber(attr(l, "falltime"), f) || !isNumber(attr(l, "gentime"), g) || f <= 0 || g <= 0) p.add(dp, "every lane needs falltime and gentime above 0");
            }
        }
    }
    const std::string jp = "minigamelevels/JigsawPuzzle.xml";
    auto x = loadXml(tree, jp, p);
    if (!x) return;
    auto* root = x->doc.first_node("Levels");
    if (!root) {
        p.add(jp, "the root element must be \"Levels\"");
        return;
    }
    std::set<int> seen;
    std::set<std::string> used;
    for (auto* lv : children(root)) {
        int num = -1, w = 0, h = 0, pipe = -1;
        used.insert(attr(lv, "picturename"));
        if (!isInteger(attr(lv, "number"), num) || num < 0 || num > 89 || !seen.insert(num).second) p.add(jp, "level numbers must be 0..89, each once");
        if (!isInteger(attr(lv, "width"), w) || !isInteger(attr(lv, "height"), h) || w < 1 || h < 1 || w * h < 2) p.add(jp, "level " + std::to_string(num) + " needs width and height with at least 2 pieces");
        if (!isInteger(attr(lv, "pipesize"), pipe) || pipe < 0) p.add(jp, "level " + std::to_string(num) + " needs a pipesize");
        std::string pic = attr(lv, "picturename");
        if (!tree.exists(pic)) {
            p.add(jp, "level " + std::to_string(num) + ": picture '" + pic + "' does not exist");
            continue;
        }
        Problems quiet;
        auto info = imageInfo(tree, pic, quiet);
        if (!info || info->width > 1100 || info->height > 700) p.add(jp, "level " + std::to_string(num) + ": picture must be an image of at most 1100x700");
        if (info && pipe > 0 && (pipe * w > info->width || pipe * h > info->height)) p.add(jp, "level " + std::to_string(num) + ": pieces do not fit the picture");
    }
    if (seen.size() != 90) p.add(jp, "needs 90 levels, has " + std::to_string(seen.size()));
    // Every level painting takes its turn as a puzzle.
    Problems quiet;
    std::vector<std::string> paintings = {"Scenes/demo/Vesquino/background.jpg"};
    for (const PackPicture& pic : readPack(tree, quiet).pictures) paintings.push_back("Scenes/" + pic.country + "/" + pic.path + "/background.jpg");
    for (const std::string& painting : paintings) {
        if (!used.count(painting)) p.add(jp, "painting '" + painting + "' is in no level of the cycle");
    }
}

}  // namespace restest
