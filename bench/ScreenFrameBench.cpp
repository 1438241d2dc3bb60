// Frame time of the real game's screens against the floor, one full-screen blended textured quad, in
// the same GL context and run. The game is launched as the player starts it and held on the map, the
// USA gallery and the level of HarborDawn with a stroke in progress, each for a few hundred frames
// with vsync off; every frame is stepped and then finished (glFinish), so the driver's filling is
// inside its time. On each screen the bench alternates slices of 5 frames: the floor (the quad drawn
// through the renderer into the cleared screen, the screen held still meanwhile), the screen with the
// renderer's fill shortcuts on (the game), and the screen with them off (every draw queued as it comes,
// all blended). It prints medians of the wall time and of the process's CPU time (the driver's
// rasterizer threads included) per frame, their ratios to the floor's, the draw calls, the pixels the
// draws span (Mpx; the floor spans 1.04) and what the shortcuts left out.
//
//   ScreenFrameBench [frames per screen and setting, default 300] [runs, default 1]
//
// On a software renderer (Mesa llvmpipe) fill is most of the frame, so the ratio to the floor of the
// same run is the figure to compare. The wall ratio moves with how many cores are free (the fill runs
// on all of them, the rest of the frame on one); the CPU ratio moves much less.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

#include "BlendedTexture.h"
#include "Driver.h"
#include "ScreenStage.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/platform/GL.h"
#include "engine/renderer/Renderer.h"
#include "engine/renderer/Texture2D.h"

namespace {

using cocos2d::Director;

constexpr int kSlice = 5;

// Wall time and the process's CPU time (the driver's rasterizer threads included) of one frame.
struct Cost {
    double wallMs = 0.0;
    double cpuMs = 0.0;
};

double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1.0e6;
}

class Clock {
public:
    Clock() : _wall(std::chrono::steady_clock::now()), _cpu(cpuMilliseconds()) {}
    Cost elapsed() const {
        return Cost{std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - _wall).count(),
                    cpuMilliseconds() - _cpu};
    }

private:
    std::chrono::steady_clock::time_point _wall;
    double _cpu;
};

double median(const std::vector<Cost>& costs, bool cpu) {
    std::vector<double> values;
    for (const Cost& c : costs) {
        values.push_back(cpu ? c.cpuMs : c.wallMs);
    }
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One full-screen textured quad whose texels all have alpha 254, so it is blended whatever the
// renderer's settings: drawn into the screen target as the director draws a frame.
class Floor {
public:
    Floor() {
        _texture = bench::makeBlendedTexture(kWidth, kHeight);
        const cocos2d::Color4B white(255, 255, 255, 255);
        _quad.bl = {cocos2d::Vec2(0, 0), white, {0, 1}};
        _quad.br = {cocos2d::Vec2(kWidth, 0), white, {1, 1}};
        _quad.tl = {cocos2d::Vec2(0, kHeight), white, {0, 0}};
        _quad.tr = {cocos2d::Vec2(kWidth, kHeight), white, {1, 0}};
    }

    Cost frame() const {
        const Clock clock;
        Director* director = Director::getInstance();
        cocos2d::Renderer* renderer = director->getRenderer();
        renderer->beginFrame(director->getScreenTarget());
        renderer->addQuad(_quad, _texture.get(), cocos2d::BlendFunc::ALPHA_PREMULTIPLIED, nullptr, 0);
        renderer->endFrame();
        glFinish();
        return clock.elapsed();
    }

private:
    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 810;
    cocos2d::RefPtr<cocos2d::Texture2D> _texture;
    cocos2d::V2F_C4B_T2F_Quad _quad{};
};

struct Row {
    const char* name = "";
    std::vector<Cost> floor;
    std::vector<Cost> on;
    std::vector<Cost> off;
    cocos2d::Renderer::FrameStats onStats;
    cocos2d::Renderer::FrameStats offStats;
};

// One frame of the game as its loop runs it, finished and timed; with a stroke, its next move first.
Cost gameFrame(testing::ScreenStage& stage, bool stroke) {
    const Clock clock;
    if (stroke) {
        stage.moveStroke();
    }
    testing::Driver::get().stepFrames(1);
    glFinish();
    return clock.elapsed();
}

void measure(testing::ScreenStage& stage, const Floor& floor, int frames, bool stroke, Row& row) {
    cocos2d::Renderer* renderer = Director::getInstance()->getRenderer();
    for (int done = 0; done < frames; done += kSlice) {
        const int n = std::min(kSlice, frames - done);
        for (int i = 0; i < n; ++i) {
            row.floor.push_back(floor.frame());
        }
        for (bool shortcuts : {true, false}) {
            renderer->setFillShortcutsEnabled(shortcuts);
            gameFrame(stage, stroke);  // a whole frame in the new setting before timing
            for (int i = 0; i < n; ++i) {
                (shortcuts ? row.on : row.off).push_back(gameFrame(stage, stroke));
            }
            (shortcuts ? row.onStats : row.offStats) = renderer->getLastFrameStats();
        }
    }
    renderer->setFillShortcutsEnabled(true);
}

void print(const std::vector<Row>& rows, int run, int runs, int frames) {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("\nScreenFrameBench run %d of %d: %s, 1280 x 810, %d frames per screen and setting (medians)\n",
                run, runs, renderer ? renderer : "?", frames);
    std::printf("%-15s %9s | %9s %6s %6s %6s %6s | %9s %6s %6s %6s %6s | %6s %9s %7s %9s\n", "", "floor",
                "shortcuts", "on", "", "", "", "shortcuts", "off", "", "", "", "left", "unblended", "cut",
                "uncleared");
    std::printf("%-15s %9s | %9s %6s %6s %6s %6s | %9s %6s %6s %6s %6s | %6s %9s %7s %9s\n", "screen", "ms",
                "ms", "ratio", "cpu", "draws", "Mpx", "ms", "ratio", "cpu", "draws", "Mpx", "out", "draws", "draws",
                "clears");
    for (const Row& row : rows) {
        const double floorMs = median(row.floor, false);
        const double floorCpu = median(row.floor, true);
        const double on = median(row.on, false);
        const double off = median(row.off, false);
        std::printf("%-15s %9.2f | %9.2f %5.2fx %5.2fx %6u %6.2f | %9.2f %5.2fx %5.2fx %6u %6.2f | %6u %9u %7u %9u\n",
                    row.name, floorMs, on, on / floorMs, median(row.on, true) / floorCpu, row.onStats.drawCalls,
                    static_cast<double>(row.onStats.fillPixels) / 1.0e6, off, off / floorMs,
                    median(row.off, true) / floorCpu, row.offStats.drawCalls,
                    static_cast<double>(row.offStats.fillPixels) / 1.0e6, row.onStats.unseen, row.onStats.unblended,
                    row.onStats.trimmed, row.onStats.unclearedTargets);
    }
    std::fflush(stdout);
}

std::string stagedResources() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "Resources").string();
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(kSlice, std::atoi(argv[1])) : 300;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    testing::Driver& driver = testing::Driver::get();
    if (!driver.open(1280, 810)) {
        std::fprintf(stderr, "ScreenFrameBench: no GL view\n");
        return 1;
    }
    // The game's own lines would bury the table.
    cocos2d::setLogSink([](cocos2d::LogLevel, const std::string&) {});
    const std::filesystem::path scratch =
        std::filesystem::temp_directory_path() / ("kestrova-screen-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scratch);
    int status = 0;
    {
        testing::ScreenStage stage;
        const Floor floor;
        if (!stage.launch(stagedResources(), scratch.string())) {
            std::fprintf(stderr, "ScreenFrameBench: the game did not launch\n");
            status = 1;
        }
        for (int run = 1; run <= runs && status == 0; ++run) {
            std::vector<Row> rows(3);
            rows[0].name = "level + stroke";
            rows[1].name = "gallery";
            rows[2].name = "map";
            // The map first: the gallery is entered from it, as the player does.
            const char* missing = nullptr;
            if (stage.showMap() == nullptr) {
                missing = "map";
            } else {
                measure(stage, floor, frames, false, rows[2]);
                if (stage.showGallery() == nullptr) {
                    missing = "gallery";
                } else {
                    measure(stage, floor, frames, false, rows[1]);
                    if (stage.showLevelWithStroke() == nullptr) {
                        missing = "level";
                    } else {
                        measure(stage, floor, frames, true, rows[0]);
                    }
                }
            }
            if (missing != nullptr) {
                std::fprintf(stderr, "ScreenFrameBench: the %s did not come up\n", missing);
                status = 1;
                break;
            }
            print(rows, run, runs, frames);
        }
        stage.close();
    }
    std::filesystem::remove_all(scratch);
    driver.close();
    return status;
}
