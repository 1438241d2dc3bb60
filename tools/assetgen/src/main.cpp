// The asset generator: reads the recipes and writes every generated picture, sprite sheet,
// frame list, level description and sound of the resource tree.
//
//   kestrova_assetgen --recipes DIR --out DIR --fonts DIR [--manifest FILE] [--jobs N]
//                     [--preview DIR] [--icons DIR]
//
// Output is deterministic. Any malformed recipe stops the run with one line naming the file.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "art/Art.h"
#include "core/Error.h"
#include "core/Fonts.h"
#include "core/Output.h"
#include "core/Recipe.h"
#include "jobs/IconJobs.h"
#include "jobs/Job.h"

namespace fs = std::filesystem;
using namespace assetgen;

namespace {

struct Options {
    fs::path recipes, out, fonts, manifest, preview, icons;
    int jobs = 4;
};

Options parseArgs(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw GenError("option " + a + " needs a value");
            return argv[++i];
        };
        if (a == "--recipes") o.recipes = value();
        else if (a == "--out") o.out = value();
        else if (a == "--fonts") o.fonts = value();
        else if (a == "--manifest") o.manifest = value();
        else if (a == "--preview") o.preview = value();
        else if (a == "--icons") o.icons = value();
        else if (a == "--jobs") o.jobs = std::clamp(std::atoi(value().c_str()), 1, 16);
        else throw GenError("unknown option " + a);
    }
    if (o.recipes.empty() || o.out.empty() || o.fonts.empty()) {
        throw GenError("usage: kestrova_assetgen --recipes DIR --out DIR --fonts DIR [--manifest FILE] [--jobs N]"
                       " [--icons DIR]");
    }
    return o;
}

void runJobs(std::vector<Job>& jobs, GenContext& ctx, int threads) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::string firstError;
    std::mutex errorMutex;
    auto worker = [&]() {
        for (;;) {
            if (failed) return;
            std::size_t i = next++;
            if (i >= jobs.size()) return;
            try {
                jobs[i].run(ctx);
            } catch (const std::exception& e) {
                std::lock_guard<std::mutex> lock(errorMutex);
                if (!failed.exchange(true)) firstError = e.what();
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    if (failed) throw GenError(firstError);
}

// Removes files that an earlier run generated and this one no longer does.
std::size_t removeStale(const Options& o, const std::set<std::string>& written) {
    std::size_t removed = 0;
    if (o.manifest.empty()) return 0;
    std::ifstream in(o.manifest);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || written.count(line) || line.find("..") != std::string::npos) continue;
        std::error_code ec;
        if (fs::remove(o.out / line, ec)) ++removed;
    }
    in.close();
    std::ofstream outFile(o.manifest, std::ios::trunc);
    for (const auto& w : written) outFile << w << '\n';
    return removed;
}

}  // namespace

int main(int argc, char** argv) {
    auto start = std::chrono::steady_clock::now();
    try {
        Options o = parseArgs(argc, argv);
        Fonts::init(o.fonts);
        registerAllArt();

        std::vector<fs::path> files;
        for (const auto& e : fs::recursive_directory_iterator(o.recipes)) {
            if (e.is_regular_file() && e.path().extension() == ".json") files.push_back(e.path());
        }
        std::sort(files.begin(), files.end());

        // The desktop icons go to a folder of their own, outside the resource tree.
        std::optional<Output> icons;
        if (!o.icons.empty()) icons.emplace(o.icons);

        std::vector<Job> first, second;
        for (const fs::path& p : files) {
            std::string rel = fs::relative(p, o.recipes).generic_string();
            auto recipe = RecipeFile::load(p, "recipes/" + rel);
            RecipeNode root = RecipeNode::rootOf(recipe);
            std::string family = rel.substr(0, rel.find('/'));
            if (family == "images") addImageJobs(root, first);
            else if (family == "pictures") addPictureJobs(root, first);
            else if (family == "countries") addCountryJobs(root, second);
            else if (family == "audio") addAudioJobs(root, first);
            else if (family == "icons") addIconJobs(root, icons ? &*icons : nullptr, first);
            else throw GenError("recipes/" + rel +
                                ": recipes live under images/, pictures/, countries/, audio/ or icons/");
        }

        Output output(o.out);
        GenContext ctx{output, o.preview, {}, {}};
        // Longest jobs first keeps the threads busy to the end.
        std::stable_sort(first.begin(), first.end(), [](const Job& a, const Job& b) {
            bool ha = a.name.rfind("Scenes/", 0) == 0 || a.name.rfind("audio/Music", 0) == 0;
            bool hb = b.name.rfind("Scenes/", 0) == 0 || b.name.rfind("audio/Music", 0) == 0;
            return ha && !hb;
        });
        runJobs(first, ctx, o.jobs);
        runJobs(second, ctx, o.jobs);

        std::set<std::string> written = output.written();
        std::size_t removed = removeStale(o, written);
        std::size_t outputs = written.size(), changed = output.changedCount();
        if (icons) {
            removed += removeUnwrittenIcons(*icons);
            outputs += icons->written().size();
            changed += icons->changedCount();
        }
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("assetgen: %zu files (%zu changed, %zu removed) from %zu recipes in %.2f s\n", outputs,
                    changed, removed, files.size(), seconds);
        Fonts::shutdown();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "assetgen: error: %s\n", e.what());
        return 1;
    }
}
