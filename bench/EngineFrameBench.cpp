// Frame cost of the engine's drawing path on the real GL view (SDL offscreen driver or Xvfb):
// one full-screen textured quad per frame, the floor under every later frame-time goal, and 2,000
// small sprites from one texture. Each iteration steps one frame and reads one pixel back, so the
// GPU work is inside the measured time.
#include <benchmark/benchmark.h>

#include <vector>

#include "Driver.h"
#include "engine/base/Director.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"

namespace {

using cocos2d::Director;

cocos2d::Texture2D* makeTexture(int w, int h) {
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = static_cast<unsigned char>(i / 4 % 251);
        pixels[i + 1] = 120;
        pixels[i + 2] = 200;
        pixels[i + 3] = 255;
    }
    cocos2d::Texture2D* texture = cocos2d::Texture2D::create();
    texture->initWithData(pixels.data(), w, h);
    return texture;
}

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
    auto* sprite = cocos2d::Sprite::createWithTexture(makeTexture(1280, 810));
    sprite->setPosition(640, 405);
    scene->addChild(sprite);
    runFrames(state, scene);
}
BENCHMARK(BM_FullScreenTexturedQuad)->Unit(benchmark::kMillisecond);

void BM_TwoThousandSmallSprites(benchmark::State& state) {
    auto* scene = cocos2d::Scene::create();
    cocos2d::Texture2D* texture = makeTexture(16, 16);
    for (int i = 0; i < 2000; ++i) {
        auto* sprite = cocos2d::Sprite::createWithTexture(texture);
        sprite->setPosition(8.0f + (i % 80) * 16.0f, 8.0f + (i / 80) * 32.0f);
        sprite->setRotation(static_cast<float>(i % 90));
        scene->addChild(sprite);
    }
    runFrames(state, scene);
}
BENCHMARK(BM_TwoThousandSmallSprites)->Unit(benchmark::kMillisecond);

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
