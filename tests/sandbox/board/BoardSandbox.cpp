// Plays one picture's restoration board by hand. Usage:
//   BoardSandbox [picture path, e.g. USA/HarborDawn] [story level]
// The level screen's tool bar stands at the right. Keys: 1 spray, 2 eraser, 3 brush, 4 knife, 5 needle, 0 no tool, H hint, D a debug erase of the hint
// target, S the state of the board on stdout, Esc quits. A line at the top shows the tool and the counters.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include "PictureKey.h"
#include "Profile.h"
#include "Settings.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerKeyboard.h"
#include "engine/platform/Application.h"
#include "engine/platform/FileUtils.h"
#include "engine/platform/GLViewImpl.h"
#include "engine/scene/LayerColor.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/SpriteFrameCache.h"
#include "gameBoard/CBaseState.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/HiddenObject.h"
#include "nodes/LevelNode.h"
#include "nodes/RestoreToolSelector.h"
#include "ui/FactoryClasses.h"
#include "ui/NodeFromJson.h"

namespace {

using cocos2d::Vec2;
using Key = cocos2d::EventKeyboard::KeyCode;

// The staged tree of the build: the first "Resources" folder found walking up from the binary.
std::string stagedResources() {
    std::filesystem::path dir = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    for (; !dir.empty() && dir != dir.root_path(); dir = dir.parent_path()) {
        if (std::filesystem::is_directory(dir / "Resources" / "res")) {
            return (dir / "Resources").string() + "/";
        }
    }
    return "Resources/";
}

class BoardSandbox : public cocos2d::Application {
public:
    BoardSandbox(std::string picture, int storyLevel)
        : _picture(std::move(picture)), _storyLevel(storyLevel) {}

    bool applicationDidFinishLaunching() override {
        cocos2d::Director* director = cocos2d::Director::getInstance();
        cocos2d::GLView* view =
            cocos2d::GLViewImpl::createWithRect("Board sandbox", cocos2d::Rect(0, 0, 1280, 810));
        if (view == nullptr) {
            return false;
        }
        director->setOpenGLView(view);
        view->setDesignResolutionSize(1280, 810, cocos2d::ResolutionPolicy::SHOW_ALL);
        director->setAnimationInterval(1.0f / 60.0f);
        cocos2d::FileUtils::getInstance()->setResourceRoot(stagedResources());
        cocos2d::FileUtils::getInstance()->setSearchPaths({"src", "res"});
        std::srand(static_cast<unsigned>(std::time(nullptr)));

        Profile& profile = Settings::getInstance().getCurrentUser();
        profile.storyLevel = _storyLevel;
        const size_t slash = _picture.find('/');
        profile.currentPicture = PictureKey{_picture.substr(0, slash),
                                            slash == std::string::npos ? "" : _picture.substr(slash + 1)};
        cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("ui/Game/UI_atlas.xml");
        cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("ui/Game/Parts_atlas.xml");

        cocos2d::Scene* scene = cocos2d::Scene::create();
        scene->addChild(cocos2d::LayerColor::create(cocos2d::Color4B(40, 36, 44, 255), 1280, 810), -1);
        cocos2d::Node* screen = cocos2d::Node::create();
        screen->setPosition(Vec2(640, 405));
        scene->addChild(screen);
        _board = GameBoard::create();
        cocos2d::Node* area = cocos2d::Node::create();
        area->setContentSize(cocos2d::Size(1280, 810));
        area->setAnchorPoint(Vec2(0.5f, 0.5f));
        _board->setup(area, _picture);
        _board->setHintsLeft(-1);
        screen->addChild(_board);
        // The level screen's tool bar from its description, without the rest of the HUD.
        registerFactoryClasses();
        NodeFromJson description("ui/Game");
        if (cocos2d::Node* hud = description.createNode("UI")) {
            _bar = dynamic_cast<RestoreToolSelector*>(hud->getChildByName("RestoreTools"));
            const cocos2d::Vector<cocos2d::Node*> panels = hud->getChildren();
            for (cocos2d::Node* panel : panels) {
                if (panel != _bar) {
                    panel->removeFromParent();
                }
            }
            hud->setPosition(Vec2(640, 405));
            scene->addChild(hud, 5);
        }
        if (_bar != nullptr) {
            _bar->setOnSelect([this](int tool) {
                _tool = tool;
                _board->selectTool(tool);
            });
            _bar->setHome(Vec2(-200, -300));
            _bar->showTools();
        }
        _board->setOnToolChange([this](int tool, bool) { select(tool); });
        _board->setOnItemHit([](HiddenObject* item, Vec2) {
            std::printf("hit %s kind %d\n", item->getName().c_str(), static_cast<int>(item->getKind()));
        });
        _board->setOnItemErased(
            [](HiddenObject* item, Vec2) { std::printf("erased %s\n", item->getName().c_str()); });
        _board->setOnDamageFixed([](EraseableGameObject*, Vec2) { std::printf("damage mended\n"); });
        _board->setOnMiss([](Vec2 p, ToolState tool) {
            std::printf("miss by tool %d at %.0f %.0f\n", static_cast<int>(tool), p.x, p.y);
        });
        _board->setOnHintShown([](Vec2 p) { std::printf("hint at %.0f %.0f\n", p.x, p.y); });

        _status = cocos2d::Label::createWithTTF("", "fonts/Arial.ttf", 20);
        if (_status != nullptr) {
            _status->setAnchorPoint(Vec2(0, 1));
            _status->setPosition(Vec2(12, 802));
            scene->addChild(_status, 10);
        }
        scene->schedule([this](float dt) { tick(dt); }, "sandbox");

        auto* keys = cocos2d::EventListenerKeyboard::create();
        keys->onKeyReleased = [this](Key key, cocos2d::Event*) { onKey(key); };
        director->getEventDispatcher()->addEventListenerWithSceneGraphPriority(keys, scene);
        director->runWithScene(scene);
        return true;
    }

private:
    void select(int tool) {
        if (_bar != nullptr) {
            _bar->selectTool(tool);
            return;
        }
        _tool = tool;
        _board->selectTool(tool);
    }

    void onKey(Key key) {
        const int code = static_cast<int>(key);
        if (code >= static_cast<int>(Key::KEY_0) && code <= static_cast<int>(Key::KEY_0) + 5) {
            select(code - static_cast<int>(Key::KEY_0));
        } else if (key == Key::KEY_H) {
            _board->useHint();
        } else if (key == Key::KEY_D) {
            _board->eraseHintTarget();
        } else if (key == Key::KEY_S) {
            std::printf("items %d / %d, mistakes %d, earned %.1f, damage %zu, reward %d\n",
                        _board->getItemsRestored(), _board->getItemsOnLevel(), _board->getMistakes(),
                        _board->getEarned(), _board->getNodeLevel()->getDamageList().size(),
                        _board->getReward());
            std::fflush(stdout);
        } else if (key == Key::KEY_ESCAPE) {
            cocos2d::Director::getInstance()->end();
        }
    }

    void tick(float dt) {
        _board->update(dt);
        if (_status == nullptr) {
            return;
        }
        static const char* const kTools[] = {"no tool", "spray", "eraser", "brush", "knife", "needle"};
        char text[200];
        std::snprintf(text, sizeof(text), "%s   |   items %d / %d   mistakes %d   damage %zu   earned %.0f",
                      kTools[_tool >= 0 && _tool <= 5 ? _tool : 0], _board->getItemsRestored(),
                      _board->getItemsOnLevel(), _board->getMistakes(),
                      _board->getNodeLevel()->getDamageList().size(), _board->getEarned());
        _status->setString(text);
    }

    std::string _picture;
    int _storyLevel;
    int _tool = 0;
    GameBoard* _board = nullptr;
    RestoreToolSelector* _bar = nullptr;
    cocos2d::Label* _status = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    cocos2d::Application::setAppName("KestrovaBoardSandbox");
    const std::string picture = argc > 1 ? argv[1] : "demo/Vesquino";
    const int storyLevel = argc > 2 ? std::atoi(argv[2]) : 5;
    BoardSandbox app(picture, storyLevel);
    return cocos2d::Application::getInstance()->run();
}
