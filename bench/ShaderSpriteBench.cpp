// The two shader sprites made from a 1280 x 810 snapshot, as the pause overlay, the confirmation window
// and the board's hint take them: shader files read and compiled, one or two passes at a quarter of
// the size. glFinish after each call keeps the GPU work inside the measured time; the sprite is
// released after it, untimed. Reports time per sprite.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "Driver.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Vec4.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GL.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Texture2D.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Sprite.h"

#include "ui/ShaderSprites.h"

namespace {

// The staged tree of the build the benchmark belongs to: <build>/Resources beside <build>/bench.
std::string stagedResources() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", error);
    return (self.parent_path().parent_path() / "Resources").string() + "/";
}

cocos2d::RefPtr<cocos2d::RenderTexture> snapshot() {
    cocos2d::FileUtils* files = cocos2d::FileUtils::getInstance();
    files->setResourceRoot(stagedResources());
    files->setSearchPaths({"src", "res"});
    cocos2d::RefPtr<cocos2d::RenderTexture> rt = cocos2d::RenderTexture::create(1280, 810);
    cocos2d::RefPtr<cocos2d::LayerColor> fill =
        cocos2d::LayerColor::create(cocos2d::Color4B(200, 120, 60, 255), 1280, 810);
    rt->beginWithClear(0, 0, 0, 0);
    fill->visit();
    rt->end();
    glFinish();
    return rt;
}

template <typename Make>
void measure(benchmark::State& state, Make make) {
    cocos2d::RefPtr<cocos2d::RenderTexture> source = snapshot();
    cocos2d::Texture2D* texture = source->getSprite()->getTexture();
    for (auto _ : state) {
        cocos2d::Sprite* sprite = make(texture);
        glFinish();
        state.PauseTiming();
        if (sprite == nullptr) {
            state.SkipWithError("no sprite");
            break;
        }
        sprite->release();
        cocos2d::AutoreleasePool::getInstance()->clear();
        state.ResumeTiming();
    }
    state.SetLabel("video driver " + testing::Driver::get().videoDriver());
}

void BM_BlurredSnapshot(benchmark::State& state) {
    measure(state, [](cocos2d::Texture2D* texture) { return createBlurredSprite(texture); });
}
BENCHMARK(BM_BlurredSnapshot)->Unit(benchmark::kMillisecond);

void BM_HoleMask(benchmark::State& state) {
    measure(state, [](cocos2d::Texture2D* texture) {
        return createHoleMaskSprite(texture, cocos2d::Vec4(400, 200, 560, 320));
    });
}
BENCHMARK(BM_HoleMask)->Unit(benchmark::kMillisecond);

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
