// The start-up readers and the screen builder on the staged resource tree, on a real GL view:
// - the level screen's description ("ui/Game", the largest) built whole, once with the document cache
//   emptied first (read, parse, build) and once from a loader that keeps its parse (build only), and
//   the parse alone; images are in the texture cache after the first build, as after the preload;
// - text lookups by section and id over every text of the start-up and pack files, mixed case;
// - the content packs read into a new profile, the pack texts merged.
// Reports time per call and the nodes one build makes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "Driver.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/FileUtils.h"
#include "engine/scene/Node.h"

#include "DataPackReader.h"
#include "Profile.h"
#include "Settings.h"
#include "TextTable.h"
#include "ui/FactoryClasses.h"
#include "ui/JsonDocumentCache.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr const char* kFolder = "ui/Game";

// The staged tree of the build the benchmark belongs to: <build>/Resources beside <build>/bench.
std::string stagedResources() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", error);
    return (self.parent_path().parent_path() / "Resources").string() + "/";
}

void useStagedTree() {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(stagedResources());
    files->setSearchPaths({"src", "res"});
    TextTable::getInstance().loadTexts("texts", "en", true);
    registerFactoryClasses();
}

size_t countNodes(cocos2d::Node* node) {
    size_t count = 1;
    for (cocos2d::Node* child : node->getChildren()) {
        count += countNodes(child);
    }
    return count;
}

void BM_BuildGameScreenColdCache(benchmark::State& state) {
    useStagedTree();
    size_t nodes = 0;
    for (auto _ : state) {
        JsonDocumentCache::getInstance().clear();
        NodeFromJson loader(kFolder);
        cocos2d::RefPtr<cocos2d::Node> root(loader.createNode(""));
        if (!root) {
            state.SkipWithError("ui/Game does not build");
            break;
        }
        state.PauseTiming();
        nodes = countNodes(root);
        root = nullptr;
        cocos2d::AutoreleasePool::getInstance()->clear();
        state.ResumeTiming();
    }
    state.counters["nodes"] = benchmark::Counter(static_cast<double>(nodes));
}
BENCHMARK(BM_BuildGameScreenColdCache)->Unit(benchmark::kMicrosecond);

void BM_BuildGameScreenKeptParse(benchmark::State& state) {
    useStagedTree();
    NodeFromJson loader(kFolder);
    for (auto _ : state) {
        cocos2d::RefPtr<cocos2d::Node> root(loader.createNode(""));
        if (!root) {
            state.SkipWithError("ui/Game does not build");
            break;
        }
        state.PauseTiming();
        root = nullptr;
        cocos2d::AutoreleasePool::getInstance()->clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildGameScreenKeptParse)->Unit(benchmark::kMicrosecond);

void BM_ParseGameDescription(benchmark::State& state) {
    useStagedTree();
    const std::string path = std::string(kFolder) + "/ccnode.json";
    for (auto _ : state) {
        JsonDocumentCache::getInstance().clear();
        benchmark::DoNotOptimize(NodeFromJson::getDocument(path));
    }
}
BENCHMARK(BM_ParseGameDescription)->Unit(benchmark::kMicrosecond);

// Every (section, id) of a text file, the id upper-cased so that lookups pay for the lower-casing.
// The shipped files put each section's opening tag, bare, before its texts, which carry their ids.
void collectKeys(const std::string& path, std::vector<std::pair<std::string, std::string>>& keys) {
    const std::string text = cocos2d::FileUtils::getInstance()->getStringFromFile(path);
    static const std::regex token(R"re(<([A-Za-z_][A-Za-z0-9_.-]*)>|\bid="([^"]*)")re");
    std::string section;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), token); it != std::sregex_iterator(); ++it) {
        if ((*it)[1].matched) {
            if ((*it)[1].str() != "texts") {
                section = (*it)[1].str();
            }
            continue;
        }
        std::string id = (*it)[2].str();
        for (char& c : id) {
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
        keys.emplace_back(section, id);
    }
}

void BM_TextLookup(benchmark::State& state) {
    useStagedTree();
    DataPackReader::getInstance().load("Scenes", "en", Settings::getInstance().getCurrentUser());
    std::vector<std::pair<std::string, std::string>> keys;
    collectKeys("texts/texts-en.xml", keys);
    collectKeys("Scenes/texts-en.xml", keys);
    if (keys.empty()) {
        state.SkipWithError("no texts staged");
        return;
    }
    const TextTable& table = TextTable::getInstance();
    size_t next = 0;
    for (auto _ : state) {
        const auto& [section, id] = keys[next];
        benchmark::DoNotOptimize(table.getText(section, id));
        next = next + 1 == keys.size() ? 0 : next + 1;
    }
    state.counters["texts"] = benchmark::Counter(static_cast<double>(keys.size()));
}
BENCHMARK(BM_TextLookup);

void BM_ReadPacksIntoANewProfile(benchmark::State& state) {
    useStagedTree();
    for (auto _ : state) {
        Profile profile;
        DataPackReader::getInstance().load("Scenes", "en", profile);
        benchmark::DoNotOptimize(profile.packs.size());
    }
}
BENCHMARK(BM_ReadPacksIntoANewProfile)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!testing::Driver::get().open()) {
        return 1;
    }
    // The readers log every step; the measurement is of the work, not of the terminal.
    cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
    benchmark::RunSpecifiedBenchmarks();
    cocos2d::setLogSink({});
    testing::Driver::get().close();
    benchmark::Shutdown();
    return 0;
}
