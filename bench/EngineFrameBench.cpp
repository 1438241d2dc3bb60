// Frame cost of the engine's drawing path on the real GL view (SDL offscreen driver or Xvfb):
// one full-screen blended textured quad per frame, the floor under every later frame-time goal, and 2,000
// small sprites from one texture. Each iteration steps one frame and reads one pixel back, so the
// GPU work is inside the measured time.
//
// BM_HeapPerFrame steps frames the way the tests do (no read-back, no buffer swap) and reports how
// much the process's heap and resident size grow per frame once warm; a steady frame loop grows by 0.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>

#include "BlendedTexture.h"
#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

using cocos2d::Director;

void runFrames(benchmark::State& state, cocos2d::Scene* scene) {
    auto& driver = testing::Driver::get();
    Director::getInstance()->replaceScene(scene);
    driver.stepFrames(2);
    double drawCalls = 0;
    for (auto _ : state) {
        driver.stepFrames(1);
        benchmark::DoNotOptimize(driver.readPixels(cocos2d::Rect(0, 0, 1, 1)));
        drawCalls += Director::getInstance()->getRenderer()->getLastFrameStats().drawCalls;
    }
    state.counters["draw_calls_per_frame"] = benchmark::Counter(drawCalls / static_cast<double>(state.iterations()));
    state.SetLabel("video driver " + driver.videoDriver());
}

void BM_FullScreenTexturedQuad(benchmark::State& state) {
    auto* scene = cocos2d::Scene::create();
    auto* sprite = cocos2d::Sprite::createWithTexture(bench::makeBlendedTexture(1280, 810));
    sprite->setPosition(640, 405);
    scene->addChild(sprite);
    runFrames(state, scene);
}
BENCHMARK(BM_FullScreenTexturedQuad)->Unit(benchmark::kMillisecond);

void BM_TwoThousandSmallSprites(benchmark::State& state) {
    auto* scene = cocos2d::Scene::create();
    cocos2d::Texture2D* texture = bench::makeBlendedTexture(16, 16);
    for (int i = 0; i < 2000; ++i) {
        auto* sprite = cocos2d::Sprite::createWithTexture(texture);
        sprite->setPosition(8.0f + (i % 80) * 16.0f, 8.0f + (i / 80) * 32.0f);
        sprite->setRotation(static_cast<float>(i % 90));
        scene->addChild(sprite);
    }
    runFrames(state, scene);
}
BENCHMARK(BM_TwoThousandSmallSprites)->Unit(benchmark::kMillisecond);

size_t heapInUse() {
    return mallinfo2().uordblks;
}

size_t residentBytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return static_cast<size_t>(resident) * 4096;
}

void BM_HeapPerFrame(benchmark::State& state) {
    const int sprites = static_cast<int>(state.range(0));
    auto& driver = testing::Driver::get();
    auto* scene = cocos2d::Scene::create();
    cocos2d::Texture2D* texture = bench::makeBlendedTexture(16, 16);
    for (int i = 0; i < sprites; ++i) {
        auto* sprite = cocos2d::Sprite::createWithTexture(texture);
        sprite->setPosition(8.0f + (i % 80) * 16.0f, 8.0f + (i / 80) * 32.0f);
        scene->addChild(sprite);
    }
    Director::getInstance()->replaceScene(scene);
    driver.stepFrames(120);  // warm: caches, pools and driver buffers reach their working size
    const size_t heapBefore = heapInUse();
    const size_t residentBefore = residentBytes();
    int64_t frames = 0;
    for (auto _ : state) {
        driver.stepFrames(60);
        frames += 60;
    }
    const double heapGrowth = static_cast<double>(heapInUse()) - static_cast<double>(heapBefore);
    const double residentGrowth = static_cast<double>(residentBytes()) - static_cast<double>(residentBefore);
    state.counters["heap_bytes_per_frame"] = heapGrowth / static_cast<double>(frames);
    state.counters["heap_bytes_per_sprite_frame"] = heapGrowth / static_cast<double>(frames) / sprites;
    state.counters["rss_bytes_per_frame"] = residentGrowth / static_cast<double>(frames);
    state.counters["frames"] = static_cast<double>(frames);
    state.SetLabel("video driver " + driver.videoDriver());
}
BENCHMARK(BM_HeapPerFrame)->Arg(1)->Arg(100)->Arg(2000)->Iterations(50)->Unit(benchmark::kMillisecond);

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
