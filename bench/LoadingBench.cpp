// The loading screen's preload, as the game runs it after the splash: the caches emptied, every image
// of the map, gallery and level descriptions requested at once from the background decoder, frames
// stepped until the last completion. Drawing is off, so the time is the decoding and uploading alone.
// Reports the time per preload, the number of images, the GPU memory their textures take and the
// process's peak resident memory.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <thread>

#include "Driver.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Scene.h"

#include "GameSound.h"
#include "Settings.h"
#include "TextTable.h"
#include "ui/LoadingScreen.h"

namespace {

using cocos2d::Director;

// The staged tree of the build the benchmark belongs to: <build>/Resources beside <build>/bench.
std::string stagedResources() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", error);
    return (self.parent_path().parent_path() / "Resources").string() + "/";
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_LoadingScreenPreload(benchmark::State& state) {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(stagedResources());
    files->setSearchPaths({"src", "res"});
    TextTable::getInstance().loadTexts("texts", "en", true);
    Settings::getInstance().getCurrentUser().storyLevel = 0;

    Director::getInstance()->stopAnimation();
    double images = 0;
    double textureBytes = 0;
    for (auto _ : state) {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        LoadingScreen* screen = LoadingScreen::create();
        scene->addChild(screen);
        Director::getInstance()->replaceScene(scene);
        while (!screen->isFinished()) {
            testing::Driver::get().stepFrames(1);
            if (!screen->isFinished()) {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
        state.PauseTiming();
        images = static_cast<double>(screen->getTexturePaths().size());
        textureBytes = 0;
        cocos2d::TextureCache* cache = Director::getInstance()->getTextureCache();
        for (const std::string& path : screen->getTexturePaths()) {
            if (cocos2d::Texture2D* texture = cache->getTextureForKey(files->fullPathForFilename(path))) {
                textureBytes += 4.0 * texture->getPixelsWide() * texture->getPixelsHigh();
            }
        }
        GameSound::destroyInstance();
        cocos2d::AutoreleasePool::getInstance()->clear();
        state.ResumeTiming();
    }
    Director::getInstance()->startAnimation();
    state.counters["images"] = benchmark::Counter(images);
    state.counters["texture_MiB"] = benchmark::Counter(textureBytes / (1024.0 * 1024.0));
    state.counters["peak_rss_MiB"] = benchmark::Counter(peakResidentMiB());
    state.SetLabel("video driver " + testing::Driver::get().videoDriver());
}
BENCHMARK(BM_LoadingScreenPreload)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!testing::Driver::get().open()) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    testing::Driver::get().close();
    benchmark::Shutdown();
    return 0;
}
