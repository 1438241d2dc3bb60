// Sound effects (mono, 96 kbit/s) and music (stereo, 128 kbit/s) under audio/<name>.mp3.
#include <map>

#include "audio/Effects.h"
#include "audio/Mp3.h"
#include "core/Error.h"
#include "jobs/Job.h"

namespace assetgen {

namespace {

bool isSoundName(const std::string& name) {
    if (name.empty() || name.size() > 80 || name.front() == '/' || name.back() == '/') return false;
    for (char c : name) {
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '/';
        if (!ok) return false;
    }
    return name.find("//") == std::string::npos;
}

}  // namespace

void addAudioJobs(const RecipeNode& recipe, std::vector<Job>& jobs) {
    std::map<std::string, RecipeNode> byName;
    for (const RecipeNode& e : recipe.optObjects("effects")) {
        std::string name = e.text("name");
        if (!isSoundName(name)) e.fail("\"" + name + "\" is not a sound name");
        if (!byName.emplace(name, e).second) e.fail("sound \"" + name + "\" appears twice");
        jobs.push_back({"audio/" + name, [=](GenContext& ctx) {
                            Rng rng(hashName("audio/" + name));
                            audio::Signal s = audio::makeEffect(e, rng);
                            e.finish();
                            ctx.out.write("audio/" + name + ".mp3", audio::encodeMp3(s, nullptr, 96));
                        }});
    }
    // Copies: the same recipe under another name (same bytes, since output is deterministic).
    for (const RecipeNode& c : recipe.optObjects("copies")) {
        std::string name = c.text("name"), of = c.text("of");
        c.finish();
        if (!isSoundName(name)) c.fail("\"" + name + "\" is not a sound name");
        auto it = byName.find(of);
        if (it == byName.end()) c.fail("copy of unknown sound \"" + of + "\"");
        RecipeNode e = it->second;
        jobs.push_back({"audio/" + name, [=](GenContext& ctx) {
                            Rng rng(hashName("audio/" + of));
                            audio::Signal s = audio::makeEffect(e, rng);
                            ctx.out.write("audio/" + name + ".mp3", audio::encodeMp3(s, nullptr, 96));
                        }});
    }
    for (const RecipeNode& t : recipe.optObjects("tracks")) {
        std::string name = t.text("name");
        if (!isSoundName(name)) t.fail("\"" + name + "\" is not a sound name");
        jobs.push_back({"audio/" + name, [=](GenContext& ctx) {
                            Rng rng(hashName("audio/" + name) ^ static_cast<std::uint64_t>(t.integer("seed", 1)));
                            audio::Signal l, r;
                            audio::makeMusic(t, rng, l, r);
                            t.finish();
                            ctx.out.write("audio/" + name + ".mp3", audio::encodeMp3(l, &r, 128));
                        }});
    }
    recipe.finish();
}

}  // namespace assetgen
