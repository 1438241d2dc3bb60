// Setting up the board on the demo picture: the level node from its description and sheets, the hit
// masks and grids read back for pricing, and the tear-down that unloads the level. Reports the time per
// set-up and the bytes read back from the GPU per set-up.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "Driver.h"
#include "PictureKey.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GL.h"
#include "engine/scene/Scene.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/PixelReadback.h"

namespace {

// The tree the build stages beside the bench folder: <build>/Resources.
std::string stagedResources() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "Resources")
               .string() +
           "/";
}

void setUpBoard(benchmark::State& state, const std::string& path, const PictureKey& key) {
    cocos2d::FileUtils::getInstance()->setResourceRoot(stagedResources());
    cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
    cocos2d::Scene* scene = cocos2d::Scene::create();
    cocos2d::Director::getInstance()->replaceScene(scene);
    testing::Driver::get().stepFrames(1);
    PixelReadback::resetCounters();
    size_t setups = 0;
    for (auto _ : state) {
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile = Profile();
        profile.storyLevel = 5;
        profile.currentPicture = key;
        GameBoard* board = GameBoard::create();
        cocos2d::Node* area = cocos2d::Node::create();
        area->setContentSize(cocos2d::Size(1280, 810));
        board->setup(area, path);
        scene->addChild(board);
        glFinish();
        state.PauseTiming();
        scene->removeChild(board);
        testing::Driver::get().stepFrames(1);
        state.ResumeTiming();
        ++setups;
    }
    state.counters["readback_bytes"] =
        static_cast<double>(PixelReadback::counters().bytes) / static_cast<double>(setups);
    state.counters["readbacks"] =
        static_cast<double>(PixelReadback::counters().reads) / static_cast<double>(setups);
}

void BM_SetUpDemoPicture(benchmark::State& state) {
    setUpBoard(state, "demo/Vesquino", PictureKey{"demo", "Vesquino"});
}
BENCHMARK(BM_SetUpDemoPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SetUpHarborPicture(benchmark::State& state) {
    setUpBoard(state, "USA/HarborDawn", PictureKey{"USA", "HarborDawn"});
}
BENCHMARK(BM_SetUpHarborPicture)->Unit(benchmark::kMillisecond)->UseRealTime();

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
