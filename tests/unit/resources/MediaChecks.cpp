// Rules for the tree's layout and inventory, and for sounds, particles, shaders and the font.
#include <algorithm>
#include <cctype>
#include <set>

#include "ResourceChecks.h"
#include "ResourceContract.h"

namespace restest {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

void checkLayout(const fs::path& root, Problems& p) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(root, ec)) {
        std::string name = e.path().filename().string();
        if ((name != "res" && name != "src") || !e.is_directory()) p.add(name, "sits at the resource root, which the engine searches before src/ and res/");
    }
    if (!fs::is_directory(root / "res")) p.add("res", "missing");
    for (const auto& e : fs::recursive_directory_iterator(root / "src", ec)) {
        p.add("src/" + fs::relative(e.path(), root / "src").generic_string(), "src/ must stay empty, or it shadows res/");
    }
    // Names are case-sensitive here; two paths that differ only in case would resolve to one
    // on a case-insensitive system and are never wanted.
    std::map<std::string, std::string> seen;
    for (const auto& e : fs::recursive_directory_iterator(root / "res", ec)) {
        std::string rel = fs::relative(e.path(), root / "res").generic_string();
        auto [it, fresh] = seen.emplace(lower(rel), rel);
        if (!fresh) p.add(rel, "differs from '" + it->second + "' only in letter case");
    }
}

void checkRequiredFiles(const Tree& tree, Problems& p) {
    for (const auto& f : requiredFiles()) {
        if (!tree.exists(f)) p.add(f, "missing");
    }
}

void checkParsing(const Tree& tree, Problems& p) {
    for (const auto& f : tree.files()) {
        if (endsWith(f, ".xml") || endsWith(f, ".plist")) loadXml(tree, f, p);
        else if (endsWith(f, ".json")) loadJson(tree, f, p);
    }
    auto lang = tree.read("lang");
    if (!lang || *lang != "en") p.add("lang", "must hold exactly the two bytes \"en\"");
}

void checkAudio(const Tree& tree, Problems& p) {
    std::set<std::string> loops(loopNames().begin(), loopNames().end());
    for (const auto& name : effectNames()) {
        std::string file = "audio/" + name + ".mp3";
        auto info = mp3Info(tree, file, p);
        if (!info) continue;
        if (info->sampleRate != 44100 || info->channels != 1 || info->bitrates != std::set<int>{96}) {
            p.add(file, "an effect must be mono MPEG-1 Layer III at 44.1 kHz and a constant 96 kbit/s");
        }
        if (info->id3v1) p.add(file, "carries an ID3v1 tag");
        if (loops.count(name) && (info->seconds < 1.0 || info->seconds > 2.1)) p.add(file, "a loop must last 1 to 2 s");
        if (!loops.count(name) && info->seconds > 2.0) p.add(file, "an effect should last at most 2 s");
    }
    for (const auto& name : musicNames()) {
        std::string file = "audio/" + name + ".mp3";
        auto info = mp3Info(tree, file, p);
        if (!info) continue;
        if (info->sampleRate != 44100 || info->channels != 2 || info->bitrates != std::set<int>{128}) {
            p.add(file, "music must be stereo MPEG-1 Layer III at 44.1 kHz and a constant 128 kbit/s");
        }
        if (info->seconds < 60) p.add(file, "a music track should last a minute or more");
    }
}

void checkParticles(const Tree& tree, Problems& p) {
    struct Rule {
        std::string file;
        bool finite;
        bool radiusKeys;
    };
    const std::vector<Rule> rules = {{"reagentdrop.plist", true, false}, {"stars_in_stats.plist", true, true},
                                     {"item_collected.plist", true, false}, {"particle_liquid.plist", false, false},
                                     {"twomatchmatch.plist", true, false}};
    for (const Rule& r : rules) {
        std::string file = "particles/" + r.file;
        auto d = loadPlistDict(tree, file, p);
        if (!d) continue;
        auto get = [&](const char* k) -> const PlistValue* {
            auto it = d->find(k);
            return it == d->end() ? nullptr : &it->second;
        };
        const PlistValue* tex = get("texture");
        if (!tex || tex->type != "string" || !tree.exists("particles/" + tex->text)) p.add(file, "its texture must be an image beside it");
        const PlistValue* dur = get("duration");
        double duration = dur ? std::atof(dur->text.c_str()) : -1.0;
        if (r.finite && duration <= 0) p.add(file, "must have a finite duration, so it can remove itself");
        if (!r.finite && duration != -1.0) p.add(file, "must emit for ever (duration -1)");
        if (r.radiusKeys && (!get("startRadius") || !get("endRadius"))) p.add(file, "must carry the radius-mode keys");
        for (const auto& [k, v] : *d) {
            if (v.type == "integer" || v.type == "real") {
                char* end = nullptr;
                std::strtod(v.text.c_str(), &end);
                if (v.text.empty() || *end != '\0') p.add(file, "\"" + k + "\" is not a number");
            } else if (v.type != "string" && v.type != "true" && v.type != "false") {
                p.add(file, "\"" + k + "\" has an unknown value type <" + v.type + ">");
            }
        }
    }
}

void checkShaders(const Tree& tree, Problems& p) {
    const std::map<std::string, std::vector<std::string>> uniforms = {
        {"Shaders/example_Blur.fsh", {"resolution", "blurRadius", "sampleNum"}},
        {"Shaders/alphaRect.fsh", {"holePos", "resolution"}},
        {"Shaders/example_Plasma.fsh", {"center", "resolution"}}};
    for (const auto& [file, names] : uniforms) {
        auto text = tree.read(file);
        if (!text) {
            p.add(file, "missing");
            continue;
        }
        if (text->find("#version") != std::string::npos) p.add(file, "must not declare #version; the engine prepends it");
        for (const char* v : {"varying vec4 v_fragmentColor;", "varying vec2 v_texCoord;"}) {
            if (text->find(v) == std::string::npos) p.add(file, std::string("must declare ") + v);
        }
        for (const auto& u : names) {
            bool found = false;
            for (const char* type : {"float ", "vec2 ", "vec4 "}) found = found || text->find(std::string("uniform ") + type + u + ";") != std::string::npos;
            if (!found) p.add(file, "does not declare the uniform \"" + u + "\" that code sets");
        }
        std::size_t at = 0;
        while ((at = text->find("uniform", at)) != std::string::npos) {
            std::size_t end = text->find(';', at);
            if (text->substr(at, end - at).find("CC_") != std::string::npos) p.add(file, "redeclares a built-in uniform");
            at = end == std::string::npos ? text->size() : end;
        }
        // "precision" only inside "#ifdef GL_ES ... #endif".
        std::size_t pos = 0;
        while ((pos = text->find("precision", pos)) != std::string::npos) {
            std::size_t open = text->rfind("#ifdef GL_ES", pos), close = text->rfind("#endif", pos);
            if (open == std::string::npos || (close != std::string::npos && close > open)) p.add(file, "a precision line must sit inside #ifdef GL_ES");
            pos += 9;
        }
        if (text->find("gl_FragColor") == std::string::npos) p.add(file, "never writes gl_FragColor");
    }
    // The dirt shader keeps the texel's alpha and multiplies its colour by it (premultiplied),
    // so cleared, transparent texels stay clear.
    if (auto plasma = tree.read("Shaders/example_Plasma.fsh")) {
        if (plasma->find("* t.a, t.a)") == std::string::npos) p.add("Shaders/example_Plasma.fsh", "must return vec4(colour * t.a, t.a): premultiplied, alpha kept");
        if (plasma->find("v_fragmentColor.rgb") != std::string::npos) p.add("Shaders/example_Plasma.fsh", "must not tint by the node colour (the key magenta)");
    }
}

void checkGlyphs(const Tree& tree, Problems& p) {
    auto chars = fontCharacters(tree, "fonts/Arial.ttf", p);
    if (!chars) return;
    for (const std::string& file : {std::string("texts/texts-en.xml"), std::string("Scenes/texts-en.xml")}) {
        Problems quiet;
        TextTable t = loadTexts(tree, quiet, {file});
        for (const auto& [section, ids] : t.sections) {
            for (const auto& [id, text] : ids) {
                std::vector<char32_t> cps;
                if (!decodeUtf8(text, cps)) {
                    p.add(file, section + "/" + id + " is not valid UTF-8");
                    continue;
                }
                for (char32_t c : cps) {
                    if (c == '\n') continue;
                    if (!chars->count(c)) p.add(file, section + "/" + id + " uses U+" + std::to_string(static_cast<unsigned>(c)) + ", which fonts/Arial.ttf cannot draw");
                }
            }
        }
    }
}

}  // namespace restest
