// One eraser stroke's worth of drawing, as the restoration board does it: 100 brush stamps, each a new
// sprite of the brush image with the erase blend (GL_ZERO, GL_ONE_MINUS_SRC_ALPHA), drawn into a 200 x 200
// render texture between begin and end. glFinish after each stroke keeps the GPU work inside the
// measured time. Reports time per stroke and draw calls per stroke.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "Driver.h"
#include "engine/base/AutoreleasePool.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/GL.h"
#include "engine/renderer/Image.h"
#include "engine/renderer/RenderTexture.h"
#include "engine/renderer/Renderer.h"
#include "engine/scene/Sprite.h"

namespace {

using cocos2d::Director;

std::string writeBrush() {
    const int size = 40;
    std::vector<unsigned char> rgba(static_cast<size_t>(size) * size * 4, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float d = std::hypot(x - size / 2.0f + 0.5f, y - size / 2.0f + 0.5f) / (size / 2.0f);
            const unsigned char a = d >= 1.0f ? 0 : static_cast<unsigned char>(255 * (1.0f - d * d));
            unsigned char* p = &rgba[(static_cast<size_t>(y) * size + x) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = a;
        }
    }
    cocos2d::Image image;
    image.initWithRawData(rgba.data(), rgba.size(), size, size, false);
    const std::string path = testing::Driver::outputPath("bench_brush.png");
    image.saveToFile(path);
    return path;
}

void BM_EraseStrokeOfHundredStamps(benchmark::State& state) {
    const std::string brush = writeBrush();
    cocos2d::RefPtr<cocos2d::RenderTexture> rt = cocos2d::RenderTexture::create(200, 200);
    auto* renderer = Director::getInstance()->getRenderer();
    double drawCalls = 0;
    int stroke = 0;
    for (auto _ : state) {
        // Refill, untimed, so every stroke erases picture rather than holes.
        state.PauseTiming();
        rt->beginWithClear(0.6f, 0.4f, 0.2f, 1.0f);
        rt->end();
        glFinish();
        state.ResumeTiming();

        const unsigned int before = renderer->getCurrentFrameStats().drawCalls;
        rt->begin();
        for (int i = 0; i < 100; ++i) {
            const float t = i / 100.0f;
            cocos2d::Sprite* stamp = cocos2d::Sprite::create(brush);
            stamp->setPosition(20.0f + 160.0f * t, 100.0f + 60.0f * std::sin(t * 6.28f + stroke));
            stamp->setBlendFunc(cocos2d::BlendFunc{GL_ZERO, GL_ONE_MINUS_SRC_ALPHA});
            stamp->visit();
        }
        rt->end();
        glFinish();
        drawCalls += renderer->getCurrentFrameStats().drawCalls - before;
        cocos2d::AutoreleasePool::getInstance()->clear();
        ++stroke;
    }
    state.counters["draw_calls_per_stroke"] =
        benchmark::Counter(drawCalls / static_cast<double>(state.iterations()));
    state.SetLabel("video driver " + testing::Driver::get().videoDriver());
}
BENCHMARK(BM_EraseStrokeOfHundredStamps)->Unit(benchmark::kMicrosecond);

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
