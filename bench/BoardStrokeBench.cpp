// A scripted stroke over a revealed item of the demo picture, as the player's touch reaches the board:
// one touch began, 60 moves across the item, the end. Reports the time per move event, the
// render-texture passes per event and the pixel read-backs per event (the grid keeps the done test to
// counting cells, so a stroke reads nothing back).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Driver.h"
#include "PictureKey.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/Touch.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GL.h"
#include "engine/scene/Scene.h"
#include "engine/scene/SpriteFrameCache.h"
#include "gameBoard/EraseableGameObject.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"
#include "gameBoard/PixelReadback.h"
#include "nodes/LevelNode.h"

namespace {

// The tree the build stages beside the bench folder: <build>/Resources.
std::string stagedResources() {
    return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "Resources")
               .string() +
           "/";
}

using cocos2d::Vec2;

constexpr int kMoves = 60;

GameBoard* openBoard(const std::string& path) {
    cocos2d::FileUtils::getInstance()->setResourceRoot(stagedResources());
    cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
    Profile& profile = Settings::getInstance().getCurrentUser();
    profile = Profile();
    profile.storyLevel = 5;
    profile.currentPicture = PictureKey{"demo", "Vesquino"};
    cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("ui/Game/UI_atlas.xml");
    // The board of an earlier run goes first: its clean-up unloads the level's sheets.
    cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
    testing::Driver::get().stepFrames(2);
    cocos2d::Scene* scene = cocos2d::Scene::create();
    cocos2d::Node* screen = cocos2d::Node::create();
    screen->setPosition(Vec2(640, 405));
    scene->addChild(screen);
    cocos2d::Director::getInstance()->replaceScene(scene);
    GameBoard* board = GameBoard::create();
    cocos2d::Node* area = cocos2d::Node::create();
    area->setContentSize(cocos2d::Size(1280, 810));
    area->setAnchorPoint(Vec2(0.5f, 0.5f));
    board->setup(area, path);
    screen->addChild(board);
    testing::Driver::get().stepFrames(1);
    return board;
}

void BM_StrokeOverAnItem(benchmark::State& state) {
    GameBoard* board = openBoard("demo/Vesquino");
    HiddenObject* item = board->getNodeLevel()->getItems().at("headphones");
    const cocos2d::Rect box = item->getBoundingBox();
    board->hitItem(item, board->getNodeLevel()->convertToWorldSpace(Vec2(box.getMidX(), box.getMidY())));
    const int tools[] = {0, 2, 4, 3, 5};
    board->selectTool(tools[static_cast<int>(item->getKind())]);
    NodeLevel* level = board->getNodeLevel();
    const size_t passesBefore = EraseableGameObject::getStrokePassCount();
    PixelReadback::resetCounters();
    size_t events = 0;
    for (auto _ : state) {
        cocos2d::RefPtr<cocos2d::Touch> touch = cocos2d::Touch::create(
            0, cocos2d::Director::getInstance()->convertToUI(
                   level->convertToWorldSpace(Vec2(box.getMinX() + 2, box.getMidY()))));
        std::vector<cocos2d::Touch*> touches{touch.get()};
        board->onTouchesBegan(touches, nullptr);
        for (int i = 0; i < kMoves; ++i) {
            const float t = static_cast<float>(i) / kMoves;
            const Vec2 p =
                level->convertToWorldSpace(Vec2(box.getMinX() + 2 + t * (box.size.width - 4),
                                                box.getMinY() + 4 + (i % 6) * (box.size.height - 8) / 6.0f));
            const Vec2 view = cocos2d::Director::getInstance()->convertToUI(p);
            touch->setTouchInfo(0, view.x, view.y);
            board->onTouchesMoved(touches, nullptr);
        }
        board->onTouchesEnded(touches, nullptr);
        glFinish();
        events += kMoves;
    }
    state.SetItemsProcessed(static_cast<int64_t>(events));
    state.counters["us_per_event"] = benchmark::Counter(
        static_cast<double>(events), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["rt_passes_per_event"] =
        static_cast<double>(EraseableGameObject::getStrokePassCount() - passesBefore) /
        static_cast<double>(events);
    state.counters["readbacks_per_event"] =
        static_cast<double>(PixelReadback::counters().reads) / static_cast<double>(events);
}
// Real time: the drawing runs on the GL driver's threads, which CPU time leaves out.
BENCHMARK(BM_StrokeOverAnItem)->Unit(benchmark::kMillisecond)->UseRealTime();

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
