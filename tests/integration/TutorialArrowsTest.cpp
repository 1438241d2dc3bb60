// Every tutorial of the game on the screen it is shown on, in the state the game shows it in. An
// arrow's tip lies inside the node it talks about, and the arrow leaves every tile, star and button
// that it does not point at uncovered; a text stays on the screen, clear of every other text there,
// of its own arrow, of what it points at or talks about, and of what the player must still see, and
// never straddles the edge of a panel it could lie on; a tutorial shown over a popup does not dim
// what it talks about there. Where taps move a tutorial on, the tap that a step asks for (on what its
// arrow shows) reaches the screen under the tutorial and does there what the player meant, while a
// tutorial that only explains keeps its taps. The table below names every tutorial file of the
// resource tree: a file it lacks, or a file with more or fewer steps than it names, fails. A picture
// of each step is left under the test output folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "BoardTestStage.h"
#include "Driver.h"
#include "FrameWaits.h"
#include "GalleryTestStage.h"
#include "LevelScreenFixture.h"
#include "NodeBoxes.h"
#include "RunningScreen.h"
#include "ScreenTestSupport.h"
#include "engine/2d/Label.h"
#include "engine/base/Director.h"
#include "engine/base/RefPtr.h"
#include "engine/events/EventDispatcher.h"
#include "engine/events/EventListenerTouch.h"
#include "engine/math/Rect.h"
#include "engine/math/Vec2.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"
#include "engine/scene/Sprite.h"
#include "engine/scene/TransitionFade.h"
#include "engine/ui/Button.h"

#include "DataPackReader.h"
#include "GameSound.h"
#include "Profile.h"
#include "ProgressQueries.h"
#include "Settings.h"
#include "StringHelpers.h"
#include "TextTable.h"
#include "UserData.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/GameTutorialsLayer.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameScreen.h"
#include "minigames/TwoMatchPipe.h"
#include "nodes/FlyNode.h"
#include "nodes/LevelNode.h"
#include "nodes/MuseumStatistic.h"
#include "nodes/PictureDetails.h"
#include "ui/ChatScreen.h"
#include "ui/Controls/ScrollViewSnap.h"
#include "ui/EvidenceAddingScreen.h"
#include "ui/FactoryClasses.h"
#include "ui/GalleryScreen.h"
#include "ui/GameScreen.h"
#include "ui/MapScreen.h"
#include "ui/PopupScreenBase.h"
#include "ui/TopLayer.h"
#include "ui/TutorialScreen.h"

namespace {

namespace fs = std::filesystem;
using testing::overlaps;
using testing::screenBox;
using testing::shownBox;

using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::Vec2;

testing::Driver& driver() {
    return testing::Driver::get();
}

// Where a tutorial is shown.
enum class Stage { Map, Gallery, Level, Door };

// No step asks for a tap that the tutorial must let through to the screen under it.
constexpr int kNoTap = -1;

// One tutorial: where it is shown and, step by step, the node its arrow points at (or, for a step
// without an arrow, the node its text talks about). `inSight` names what its text must not cover
// besides: what the player is looking at while reading it. `tapStep` is the step whose text asks the
// player to tap what it shows, or kNoTap for a tutorial that only explains. The level's lessons ask
// for taps too, but the level moves them on from its own events and lets every tap through meanwhile
// (the lessons' own tests show it): none of their taps is the tutorial's to let through.
struct TutorialCase {
    int number;
    Stage stage;
    std::vector<std::string> steps;
    std::vector<std::string> inSight;
    int tapStep;
};

// Names the stages resolve: a node's own name, or one of these.
const char* const kCentredPicture = "the centred picture";
const char* const kEveryPicture = "every picture in the list";
const char* const kClue = "the clue";
const char* const kClueMessage = "the clue's message";
const char* const kCuratorMessage = "the curator's message";
const char* const kEveryItem = "every hidden item";
const char* const kFly = "the fly";

const std::vector<TutorialCase>& tutorialCases() {
    static const std::vector<TutorialCase> cases = {
        // The intro level: tools and items, the hint, the curator's praise and the finish.
        {1, Stage::Level, {"spray", "kestrova"}, {}, kNoTap},
        {2, Stage::Level, {"knife"}, {"kestrova"}, kNoTap},
        {3, Stage::Level, {"brush"}, {}, kNoTap},
        {4, Stage::Level, {"eraser"}, {}, kNoTap},
        {5, Stage::Level, {kEveryItem}, {}, kNoTap},
        {6, Stage::Level, {"spray"}, {}, kNoTap},
        {7, Stage::Level, {"HintBtn"}, {}, kNoTap},
        {41, Stage::Level, {"paletteBtn"}, {}, kNoTap},
        // Later levels: the fly at story level 1, the needle after a knife slip.
        {8, Stage::Level, {kFly}, {}, kNoTap},
        {9, Stage::Level, {"needle"}, {}, kNoTap},
        // The map, the first time: what it is, then "click the United States".
        {10, Stage::Map, {"USA_icon", "USA_icon"}, {}, 1},
        // The gallery: the first visit (the collection bar, then "pick a painting"), a locked picture
        // tapped, a clue, every picture restored, the collection's money reached ("open the museum's
        // accounts"), a museum purchase ("go back to the map").
        {11, Stage::Gallery, {"progres", kCentredPicture}, {kEveryPicture}, 1},
        {12, Stage::Gallery, {kCentredPicture}, {kEveryPicture}, kNoTap},
        {13, Stage::Gallery, {"Cabinet"}, {kClue, kClueMessage}, kNoTap},
        {14, Stage::Gallery, {kEveryPicture}, {}, kNoTap},
        {15, Stage::Gallery, {"Statistics"}, {kEveryPicture, kCuratorMessage}, 0},
        {16, Stage::Gallery, {"Map"}, {kEveryPicture, kCuratorMessage}, 0},
        // The safe door: the order panel, then "click such a pair of neighbours".
        {21, Stage::Door, {"neworder_back", "grid"}, {"grid"}, 1},
    };
    return cases;
}

std::vector<const TutorialCase*> casesOn(Stage stage) {
    std::vector<const TutorialCase*> found;
    for (const TutorialCase& c : tutorialCases()) {
        if (c.stage == stage) {
            found.push_back(&c);
        }
    }
    return found;
}

std::string describe(const Rect& r) {
    std::ostringstream out;
    out << "(" << r.getMinX() << ", " << r.getMinY() << ") - (" << r.getMaxX() << ", " << r.getMaxY() << ")";
    return out.str();
}

Node* findNamed(Node* root, const std::string& name) {
    if (root == nullptr) {
        return nullptr;
    }
    if (root->getName() == name) {
        return root;
    }
    for (Node* child : root->getChildren()) {
        if (Node* found = findNamed(child, name)) {
            return found;
        }
    }
    return nullptr;
}

bool isWithin(const Node* node, const Node* ancestor) {
    for (const Node* n = node; n != nullptr; n = n->getParent()) {
        if (n == ancestor) {
            return true;
        }
    }
    return false;
}

// Calls `visit` for every node the player sees under `root`, `skip` and its children left out; a
// visit that returns false keeps its children out too.
void forEachShown(Node* root, const Node* skip, const std::function<bool(Node*)>& visit) {
    if (root == skip || !root->isVisible() || root->getDisplayedOpacity() == 0) {
        return;
    }
    if (!visit(root)) {
        return;
    }
    for (Node* child : root->getChildren()) {
        forEachShown(child, skip, visit);
    }
}

// What the player reads on the screen: every visible label with a text, and the curator's speech
// bubbles, whose text would be covered.
void collectTexts(Node* root, const Node* skip, std::vector<std::pair<std::string, Rect>>& out) {
    forEachShown(root, skip, [&out](Node* node) {
        if (auto* label = dynamic_cast<cocos2d::Label*>(node)) {
            if (!label->getString().empty()) {
                out.emplace_back("label '" + label->getString().substr(0, 40) + "'", screenBox(label));
            }
        } else if (node->getName() == "bubble") {
            out.emplace_back("speech bubble", screenBox(node));
        }
        return true;
    });
}

// One thing of the screen that a name stands for: the node and where it shows.
struct Shown {
    Node* node;
    Rect box;
};

// What a stage shows of a name: one or more things on the screen (none when the name is not there).
using Finder = std::function<std::vector<Shown>(const std::string&)>;

std::vector<Shown> shownOf(Node* node) {
    if (node == nullptr) {
        return {};
    }
    return {Shown{node, shownBox(node)}};
}

// What an arrow must leave uncovered unless it points at it: the tiles of a board, the stars, and
// every button that is not (part of) what it points at. A star or a tile inside the thing pointed at
// stays protected: a picture's stars are not the picture.
std::vector<std::pair<std::string, Rect>> arrowMustClear(Node* root, const TutorialScreen* tutorial,
                                                        const std::vector<Shown>& targets) {
    std::vector<std::pair<std::string, Rect>> found;
    forEachShown(root, tutorial, [&](Node* node) {
        for (const Shown& target : targets) {
            if (node == target.node) {
                return true;
            }
        }
        if (auto* tile = dynamic_cast<TwoMatchPipe*>(node)) {
            found.emplace_back("a tile", shownBox(tile));
            return false;
        }
        if (dynamic_cast<cocos2d::ui::Button*>(node) != nullptr) {
            const bool pointedAt = std::any_of(targets.begin(), targets.end(), [node](const Shown& target) {
                return isWithin(node, target.node) || isWithin(target.node, node);
            });
            if (!pointedAt) {
                found.emplace_back("the button '" + node->getName() + "'", screenBox(node));
            }
            return false;
        }
        const Rect box = screenBox(node);
        if (toLowerCase(node->getName()).find("star") != std::string::npos && node->getChildrenCount() == 0 &&
            box.size.width > 0.0f && box.size.width <= 100.0f && box.size.height > 0.0f &&
            box.size.height <= 100.0f) {
            found.emplace_back("a star '" + node->getName() + "'", box);
        }
        return true;
    });
    return found;
}

// The sprites a text could lie on: every picture at least as wide and as tall as the text as drawn.
std::vector<std::pair<std::string, Rect>> panelsFor(Node* root, const TutorialScreen* tutorial, const Rect& text) {
    std::vector<std::pair<std::string, Rect>> found;
    forEachShown(root, tutorial, [&](Node* node) {
        if (dynamic_cast<cocos2d::Sprite*>(node) != nullptr && node->getParent() != nullptr) {
            const Rect box = screenBox(node);
            if (box.size.width >= text.size.width && box.size.height >= text.size.height) {
                const std::string name = node->getName().empty() ? "a picture in '" + node->getParent()->getName() + "'"
                                                                 : "'" + node->getName() + "'";
                found.emplace_back(name, box);
            }
        }
        return true;
    });
    return found;
}

Rect inset(const Rect& box, float dx, float dy) {
    return Rect(box.origin.x + dx, box.origin.y + dy, std::max(0.0f, box.size.width - 2.0f * dx),
                std::max(0.0f, box.size.height - 2.0f * dy));
}

Rect boundsOf(const std::vector<Vec2>& points) {
    if (points.empty()) {
        return Rect();
    }
    Rect box(points.front().x, points.front().y, 0.0f, 0.0f);
    for (const Vec2& p : points) {
        box = box.unionWithRect(Rect(p.x, p.y, 0.0f, 0.0f));
    }
    return box;
}

// The points of the screen where `node` shows: those that change when it is hidden. The clock
// stands still meanwhile, so that nothing else moves between the two pictures.
std::vector<Vec2> drawnPoints(Node* node) {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    const Rect window(0, 0, 1280, 810);
    director->pause();
    driver().stepFrames(1);
    cocos2d::RefPtr<cocos2d::Image> shown = driver().readPixels(window);
    const bool wasVisible = node->isVisible();
    node->setVisible(false);
    driver().stepFrames(1);
    cocos2d::RefPtr<cocos2d::Image> hidden = driver().readPixels(window);
    node->setVisible(wasVisible);
    driver().stepFrames(1);
    director->resume();
    std::vector<Vec2> points;
    if (!shown || !hidden) {
        ADD_FAILURE() << "no pixels read";
        return points;
    }
    for (int row = 0; row < shown->getHeight(); ++row) {
        for (int column = 0; column < shown->getWidth(); ++column) {
            const cocos2d::Color4B a = shown->getPixel(column, row);
            const cocos2d::Color4B b = hidden->getPixel(column, row);
            if (std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 48) {
                points.emplace_back(static_cast<float>(column) + 0.5f, 810.0f - static_cast<float>(row) - 0.5f);
            }
        }
    }
    return points;
}

// The first of `points` within `reach` of any of `others`, if any.
const Vec2* touching(const std::vector<Vec2>& points, const std::vector<Vec2>& others, float reach) {
    std::vector<bool> near(1280 * 810, false);
    const int r = static_cast<int>(reach);
    for (const Vec2& p : others) {
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const int x = static_cast<int>(p.x) + dx;
                const int y = static_cast<int>(p.y) + dy;
                if (x >= 0 && x < 1280 && y >= 0 && y < 810) {
                    near[static_cast<size_t>(y) * 1280 + static_cast<size_t>(x)] = true;
                }
            }
        }
    }
    for (const Vec2& p : points) {
        const int x = static_cast<int>(p.x);
        const int y = static_cast<int>(p.y);
        if (x >= 0 && x < 1280 && y >= 0 && y < 810 && near[static_cast<size_t>(y) * 1280 + static_cast<size_t>(x)]) {
            return &p;
        }
    }
    return nullptr;
}

// The first of `points` inside `box`, if any.
const Vec2* firstInside(const std::vector<Vec2>& points, const Rect& box) {
    const auto inside = std::find_if(points.begin(), points.end(), [&box](const Vec2& p) { return box.containsPoint(p); });
    return inside == points.end() ? nullptr : &*inside;
}

// Whether `node` lies in a popup of its own (not the tutorial) that the tutorial is shown over.
bool inOtherPopup(const Node* node, const TutorialScreen* tutorial) {
    for (const Node* n = node; n != nullptr; n = n->getParent()) {
        if (dynamic_cast<const PopupScreenBase*>(n) != nullptr && n != tutorial) {
            return true;
        }
    }
    return false;
}

// Counts the touches that get past a tutorial: a layer just under it that hears every touch and
// passes it on.
class TouchesUnder {
public:
    explicit TouchesUnder(TutorialScreen* tutorial) : _count(std::make_shared<int>(0)) {
        Node* parent = tutorial->getParent();
        _layer = Node::create();
        parent->addChild(_layer, tutorial->getLocalZOrder());
        // The tutorial back on top of it, as the last to arrive at its depth.
        parent->reorderChild(tutorial, tutorial->getLocalZOrder());
        _listener = cocos2d::EventListenerTouchOneByOne::create();
        _listener->setSwallowTouches(false);
        std::shared_ptr<int> count = _count;
        _listener->onTouchBegan = [count](cocos2d::Touch*, cocos2d::Event*) {
            ++*count;
            return true;
        };
        cocos2d::Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(_listener.get(),
                                                                                                      _layer.get());
    }
    ~TouchesUnder() {
        cocos2d::Director::getInstance()->getEventDispatcher()->removeEventListener(_listener.get());
        _layer->removeFromParent();
    }
    TouchesUnder(const TouchesUnder&) = delete;
    TouchesUnder& operator=(const TouchesUnder&) = delete;

    int count() const { return *_count; }

private:
    std::shared_ptr<int> _count;
    cocos2d::RefPtr<Node> _layer;
    cocos2d::RefPtr<cocos2d::EventListenerTouchOneByOne> _listener;
};

// The arrow and the text of one shown step against the screen around them.
void checkStepLayout(TutorialScreen* tutorial, Node* step, const TutorialCase& c, const std::vector<Shown>& targets,
                     const Finder& find) {
    const std::string& about = c.steps[static_cast<size_t>(tutorial->getCurrentStep())];
    auto* arrow = dynamic_cast<cocos2d::Sprite*>(step->getChildByName("tut_arrow"));
    auto* text = dynamic_cast<cocos2d::Label*>(step->getChildByName("text"));
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(text, nullptr);
    Node* scene = cocos2d::Director::getInstance()->getRunningScene();
    const Rect visible(0, 0, 1280, 810);

    const bool hasArrow = arrow->isVisible();
    std::vector<Vec2> arrowPoints;
    if (hasArrow) {
        const Vec2 tip = arrow->convertToWorldSpace(Vec2(0, 0));
        EXPECT_TRUE(targets.front().box.containsPoint(tip))
            << "the arrow's tip (" << tip.x << ", " << tip.y << ") is outside " << about << " "
            << describe(targets.front().box);
        // The arrow as drawn leaves alone what it does not point at; the rims of a box, where a round
        // or cut-off picture shows nothing, do not count.
        arrowPoints = drawnPoints(arrow);
        EXPECT_FALSE(arrowPoints.empty()) << "the arrow shows nothing";
        for (const auto& clear : arrowMustClear(scene, tutorial, targets)) {
            const Rect core = inset(clear.second, clear.second.size.width * 0.15f, clear.second.size.height * 0.15f);
            if (const Vec2* p = firstInside(arrowPoints, core)) {
                ADD_FAILURE() << "the arrow covers " << clear.first << " " << describe(clear.second) << " at (" << p->x
                              << ", " << p->y << ")";
            }
        }
    }

    const Rect textBox = screenBox(text);
    EXPECT_TRUE(visible.containsPoint(Vec2(textBox.getMinX(), textBox.getMinY())) &&
                visible.containsPoint(Vec2(textBox.getMaxX(), textBox.getMaxY())))
        << "the text " << describe(textBox) << " runs off the screen";
    std::vector<std::pair<std::string, Rect>> others;
    collectTexts(scene, tutorial, others);
    for (const auto& other : others) {
        EXPECT_FALSE(overlaps(textBox, other.second))
            << "the text " << describe(textBox) << " covers the " << other.first << " " << describe(other.second);
    }

    std::vector<std::pair<std::string, Shown>> keepClear;
    for (const Shown& target : targets) {
        keepClear.emplace_back(about, target);
    }
    for (const std::string& name : c.inSight) {
        for (const Shown& shown : find(name)) {
            keepClear.emplace_back(name, shown);
        }
    }
    // The text as drawn, glyph by glyph, and its arrow as drawn: they must not touch.
    const std::vector<Vec2> glyphs = drawnPoints(text);
    EXPECT_FALSE(glyphs.empty()) << "the text shows nothing";
    if (hasArrow) {
        if (const Vec2* p = touching(glyphs, arrowPoints, 2.0f)) {
            ADD_FAILURE() << "the text runs into its own arrow at (" << p->x << ", " << p->y << ")";
        }
    }
    for (const auto& clear : keepClear) {
        if (const Vec2* p = firstInside(glyphs, clear.second.box)) {
            ADD_FAILURE() << "the text covers " << clear.first << " " << describe(clear.second.box) << " at (" << p->x
                          << ", " << p->y << ")";
        }
    }

    // A text lies wholly on a panel or wholly off it: never half on its edge.
    const Rect drawn = boundsOf(glyphs);
    for (const auto& panel : panelsFor(scene, tutorial, drawn)) {
        const Vec2* in = firstInside(glyphs, inset(panel.second, 1.0f, 1.0f));
        const auto out = std::find_if(glyphs.begin(), glyphs.end(), [&panel](const Vec2& p) {
            return !inset(panel.second, -1.0f, -1.0f).containsPoint(p);
        });
        if (in != nullptr && out != glyphs.end()) {
            ADD_FAILURE() << "the text " << describe(drawn) << " straddles the edge of " << panel.first << " "
                          << describe(panel.second) << ": on it at (" << in->x << ", " << in->y << "), off it at ("
                          << out->x << ", " << out->y << ")";
        }
    }

    // Over a popup, the tutorial leaves what it talks about there as bright as the popup shows it.
    if (tutorial->getDimBackground() != nullptr && tutorial->getDimBackground()->isVisible()) {
        for (const auto& clear : keepClear) {
            EXPECT_FALSE(inOtherPopup(clear.second.node, tutorial))
                << "the tutorial dims " << clear.first << " " << describe(clear.second.box)
                << ", which lies in the popup it talks about";
        }
    }
}

// Steps the tutorial to each of its steps and checks the arrow and the text of every one. Where taps
// move it on (`tapsMoveOn`), the step that asks for a tap gets one on what its arrow shows, which
// must reach the screen under the tutorial and move the tutorial on; the steps of a tutorial that
// only explains get one there too, which the tutorial keeps. Returns where the asked-for tap went.
std::optional<Vec2> checkTutorial(TutorialScreen* tutorial, const TutorialCase& c, const Finder& find,
                                  const std::string& shotPrefix, bool tapsMoveOn) {
    if (tutorial == nullptr) {
        ADD_FAILURE() << "no tutorial " << c.number;
        return std::nullopt;
    }
    if (tutorial->getSteps().size() != c.steps.size()) {
        ADD_FAILURE() << "the table names another number of steps";
        return std::nullopt;
    }
    if (c.tapStep != kNoTap) {
        EXPECT_EQ(c.tapStep, static_cast<int>(c.steps.size()) - 1)
            << "tutorial " << c.number
            << " asks for a tap before its last step: the tap acts on the screen, which may cover the steps left";
    }
    cocos2d::RefPtr<TutorialScreen> kept(tutorial);
    std::optional<Vec2> tapped;
    for (size_t index = 0; index < c.steps.size(); ++index) {
        const std::string& about = c.steps[index];
        SCOPED_TRACE("tutorial " + std::to_string(c.number) + " step " + std::to_string(index + 1) + " -> " + about);
        while (tutorial->getCurrentStep() < static_cast<int>(index)) {
            if (!tutorial->nextStep()) {
                ADD_FAILURE() << "the tutorial closed before this step";
                return tapped;
            }
        }
        driver().stepFrames(45);
        driver().saveScreenshot(testing::Driver::outputPath(shotPrefix + "_" + std::to_string(c.number) + "_" +
                                                            std::to_string(index + 1) + ".png"));

        Node* step = tutorial->getSteps()[index];
        const std::vector<Shown> targets = find(about);
        if (targets.empty()) {
            ADD_FAILURE() << "no '" << about << "' on the screen";
            continue;
        }
        checkStepLayout(tutorial, step, c, targets, find);

        const bool asksForTap = c.tapStep == static_cast<int>(index);
        if (!tapsMoveOn || (!asksForTap && c.tapStep != kNoTap)) {
            continue;
        }
        // The player reads, then taps what the step shows.
        testing::stepUntil("the step to become ready", [&] { return tutorial->isStepReady(); }, 3.0f);
        const Vec2 point(targets.front().box.getMidX(), targets.front().box.getMidY());
        TouchesUnder under(tutorial);
        driver().tap(point);
        testing::stepUntil(
            "a tap on " + about + " to move the tutorial on",
            [&] { return tutorial->getCurrentStep() > static_cast<int>(index) || tutorial->getParent() == nullptr; },
            1.0f);
        if (asksForTap) {
            EXPECT_EQ(under.count(), 1) << "the step asks for a tap on " << about
                                        << ", but the tutorial keeps the tap from the screen under it";
            tapped = point;
        } else {
            EXPECT_EQ(under.count(), 0) << "the tutorial only explains, but its tap reaches the screen under it";
        }
    }
    return tapped;
}

TutorialScreen* showOn(Node* parent, int number) {
    TutorialScreen* tutorial = TutorialScreen::create();
    if (tutorial != nullptr) {
        tutorial->showTutorial(number, [] {});
        parent->addChild(tutorial);
        driver().stepFrames(2);
    }
    return tutorial;
}

// ---------------------------------------------------------------------------------------------

TEST(TutorialTableTest, EveryTutorialFileOfTheGameHasItsCase) {
    const fs::path folder = fs::path(KESTROVA_RESOURCE_DIR) / "res" / "tutorials";
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    const std::regex name("tutorial_([0-9]+)\\.xml");
    std::set<int> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::smatch match;
        const std::string file = entry.path().filename().string();
        if (std::regex_match(file, match, name)) {
            files.insert(std::stoi(match[1].str()));
        }
    }
    EXPECT_GE(files.size(), 18u);
    std::set<int> table;
    for (const TutorialCase& c : tutorialCases()) {
        EXPECT_TRUE(table.insert(c.number).second) << "tutorial " << c.number << " is in the table twice";
    }
    for (int number : files) {
        EXPECT_TRUE(table.count(number) == 1) << "tutorial_" << number
                                              << ".xml has no case: say where it is shown and what each step shows";
    }
    for (int number : table) {
        EXPECT_TRUE(files.count(number) == 1) << "the table's tutorial " << number << " has no file";
    }
}

// ---------------------------------------------------------------------------------------------

class MapTutorialArrowTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        TextTable::getInstance().loadTexts("Scenes", "en", false);
        registerFactoryClasses();
        ::setenv("XDG_DATA_HOME", testing::Driver::scratchPath("xdg-arrows-map").c_str(), 1);
        UserData::getInstance() = UserData{};
        GameSound::destroyInstance();
        Settings& settings = Settings::getInstance();
        settings.createUser(u"Ann");
        Profile& ann = settings.getCurrentUser();
        DataPackReader::getInstance().load("Scenes", "en", ann);
        ann.storyLevel = 0;
        ann.shownTutorials.push_back(MapScreen::kMapTutorial);
        ann.currentPicture = PictureKey{"USA", "HarborDawn"};
        setCountryState("USA", static_cast<int>(CountryState::Opened));
    }

    void TearDown() override {
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }
};

TEST_F(MapTutorialArrowTest, TheMapTutorialPointsAtTheUnitedStatesAndOneClickThereOpensIt) {
    for (const TutorialCase* c : casesOn(Stage::Map)) {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        MapScreen* map = MapScreen::create();
        ASSERT_NE(map, nullptr);
        scene->addChild(map);
        cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, scene));
        driver().stepFrames(70);
        const std::optional<Vec2> tapped = checkTutorial(
            showOn(map, c->number), *c, [map](const std::string& name) { return shownOf(findNamed(map, name)); },
            "TutorialArrows_map", true);
        ASSERT_TRUE(tapped.has_value());
        // The one click the tutorial asked for opens the country: the map fades to its gallery.
        EXPECT_NE(testing::stepUntilRunning<GalleryScreen>(3.0f), nullptr)
            << "one click on the United States did not open its gallery";
    }
}

// ---------------------------------------------------------------------------------------------

class GalleryTutorialArrowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gallerytest::useResources("arrows-gallery"); }

    void SetUp() override { freshPlayer(); }

    // A player at story level 0 in the United States, every gallery tutorial seen.
    static void freshPlayer() {
        Profile& profile = gallerytest::freshPlayer("USA");
        profile.storyLevel = 0;
        DataPackReader::getInstance().load("Scenes", "en", profile);
        profile.shownTutorials = {11, 12, 13, 14, 15, 16};
        unlockCountry("USA");
        setCountryState("USA", static_cast<int32_t>(CountryState::Opened));
        profile.currentPicture = PictureKey{"USA", "HarborDawn"};
    }

    void TearDown() override {
        gallerytest::openScene();
        driver().stepFrames(1);
        Settings::destroyInstance();
    }

    GalleryScreen* open() {
        cocos2d::Scene* scene = cocos2d::Scene::create();
        GalleryScreen* gallery = GalleryScreen::create();
        if (gallery == nullptr) {
            return nullptr;
        }
        scene->addChild(gallery);
        cocos2d::Director::getInstance()->replaceScene(scene);
        driver().stepFrames(90);
        return gallery;
    }
};

TEST_F(GalleryTutorialArrowTest, EveryGalleryTutorialShowsWhatItTalksAbout) {
    for (const TutorialCase* c : casesOn(Stage::Gallery)) {
        SCOPED_TRACE("tutorial " + std::to_string(c->number));
        freshPlayer();
        Profile& profile = Settings::getInstance().getCurrentUser();
        const std::vector<PackPicture> pictures = findPackCountry("USA")->pictures;
        ASSERT_GE(pictures.size(), 2u);
        if (c->number == 13) {
            // A clue found in the last level: the evidence popup comes up and explains itself once.
            profile.shownTutorials.erase(std::remove(profile.shownTutorials.begin(), profile.shownTutorials.end(), 13),
                                         profile.shownTutorials.end());
            Settings::getInstance().addEvidence("ticket");
        }
        if (c->number == 14) {
            // Every picture of the country played; the second one finished, the first one not.
            for (const PackPicture& picture : pictures) {
                PictureProgress& record = gallerytest::picture(picture.path);
                record.path = picture.path;
                record.state = 1;
                record.finished = picture.path == pictures[1].path;
            }
            gallerytest::country("USA").listPosition = 0;
        }
        if (c->number == 12) {
            // The second picture still locked when the player taps it.
            gallerytest::picture(pictures[1].path).state = -1;
        }
        if (c->number == 15 || c->number == 16) {
            // 15: the money has just passed the goal, and the curator says so with the tutorial.
            // 16: the collection is affordable and about to be bought.
            profile.shownTutorials.erase(
                std::remove(profile.shownTutorials.begin(), profile.shownTutorials.end(), c->number),
                profile.shownTutorials.end());
            profile.money = c->number == 15 ? profile.collectionGoal + 1 : getCollectionPrice("USA");
        }
        GalleryScreen* gallery = open();
        ASSERT_NE(gallery, nullptr);
        ScrollViewSnap* list = gallery->getPictureList();
        if (c->number == 12 || c->number == 14) {
            // The list brought to the second picture, where the player taps it or stands.
            list->scrollByItems(1);
            driver().stepFrames(60);
            ASSERT_EQ(list->getCurrentIndex(), 1);
        }
        if (c->number == 12) {
            ASSERT_TRUE(isPictureLocked(pictures[1].path));
        }
        if (c->number == 16) {
            // The player buys the collection; the museum's result brings the tutorial.
            gallery->onStatisticsButton(nullptr);
            auto* museum = screentest::childOf<MuseumStatistic>(screentest::childOf<PopupScreenBase>(gallery));
            ASSERT_NE(museum, nullptr) << "the museum statistic did not open";
            museum->onPay(nullptr);
            driver().stepFrames(2);
        }
        TutorialScreen* tutorial = nullptr;
        EvidenceAddingScreen* evidence = screentest::childOf<EvidenceAddingScreen>(gallery);
        // The curator's message that the gallery brings up with its museum tutorials.
        ChatScreen* chat = screentest::childOf<ChatScreen>(gallery->getUiRoot()->getChildByName("chat_place"));
        if (c->number == 13) {
            ASSERT_NE(evidence, nullptr) << "no evidence popup";
            tutorial = screentest::childOf<TutorialScreen>(evidence);
        } else if (c->number == 15 || c->number == 16) {
            ASSERT_NE(chat, nullptr) << "no curator's message with the tutorial";
            tutorial = screentest::childOf<TutorialScreen>(gallery);
        } else {
            tutorial = showOn(gallery, c->number);
        }
        auto find = [gallery, list, evidence, chat](const std::string& name) -> std::vector<Shown> {
            if (name == kCentredPicture) {
                const int index = list->getCurrentIndex();
                const std::vector<Node*> items = list->getItems();
                return index >= 0 && static_cast<size_t>(index) < items.size() ? shownOf(items[static_cast<size_t>(index)])
                                                                              : std::vector<Shown>{};
            }
            if (name == kEveryPicture) {
                std::vector<Shown> inView;
                const Rect visible(0, 0, 1280, 810);
                for (Node* item : list->getItems()) {
                    const Rect box = shownBox(item);
                    if (box.intersectsRect(visible)) {
                        inView.push_back(Shown{item, box});
                    }
                }
                return inView;
            }
            if (name == kClue) {
                return shownOf(evidence != nullptr ? evidence->getEvidence() : nullptr);
            }
            if (name == kCuratorMessage) {
                return shownOf(chat != nullptr ? findNamed(chat, "bubble") : nullptr);
            }
            if (name == kClueMessage) {
                return shownOf(evidence != nullptr ? findNamed(evidence->getMessagePlace(), "message_container") : nullptr);
            }
            return shownOf(findNamed(gallery->getUiRoot(), name));
        };
        const std::optional<Vec2> tapped = checkTutorial(tutorial, *c, find, "TutorialArrows_gallery", true);
        if (c->number == 11) {
            // "Pick a painting": the one tap on the centred picture opens its details.
            ASSERT_TRUE(tapped.has_value());
            driver().stepFrames(2);
            const bool detailsShown =
                std::any_of(gallery->getChildren().begin(), gallery->getChildren().end(), [](Node* child) {
                    return dynamic_cast<PopupScreenBase*>(child) != nullptr &&
                           screentest::childOf<PictureDetails>(child) != nullptr;
                });
            EXPECT_TRUE(detailsShown) << "one tap on the picture did not open its details";
        }
        if (c->number == 15) {
            // "Open the museum's accounts": the one click on the button opens them.
            ASSERT_TRUE(tapped.has_value());
            driver().stepFrames(2);
            bool museumShown = false;
            for (Node* child : gallery->getChildren()) {
                museumShown = museumShown || (dynamic_cast<PopupScreenBase*>(child) != nullptr &&
                                              screentest::childOf<MuseumStatistic>(child) != nullptr);
            }
            EXPECT_TRUE(museumShown) << "one click on the museum's button did not open its accounts";
        }
        if (c->number == 16) {
            // "Go back to the map": the one click on the map's button fades to it.
            ASSERT_TRUE(tapped.has_value());
            EXPECT_NE(testing::stepUntilRunning<MapScreen>(3.0f), nullptr)
                << "one click on the map's button did not go back to the map";
        }
        gallerytest::openScene();
        driver().stepFrames(1);
    }
}

// ---------------------------------------------------------------------------------------------

class LevelTutorialArrowTest : public screentest::LevelScreenFixture {
protected:
    static void SetUpTestSuite() { setUpSuite("arrows-level"); }

    GameScreen* open(int storyLevel, const std::string& country, const std::string& picture,
                     const std::vector<int32_t>& shown) {
        playerOn(storyLevel, country, picture).shownTutorials = shown;
        if (showLevel() == nullptr) {
            return nullptr;
        }
        driver().stepFrames(100);
        return screen;
    }
};

TEST_F(LevelTutorialArrowTest, EveryLevelTutorialShowsItsToolButtonOrItem) {
    for (const TutorialCase* c : casesOn(Stage::Level)) {
        SCOPED_TRACE("tutorial " + std::to_string(c->number));
        GameScreen* screen = nullptr;
        TutorialScreen* tutorial = nullptr;
        if (c->number == 8) {
            // Story level 1: the fly comes to the middle of the picture and the level shows the lesson.
            screen = open(1, "USA", "HarborDawn", {9});
            ASSERT_NE(screen, nullptr);
            driver().stepFrames(40);
            ASSERT_NE(screen->getTutorials(), nullptr);
            tutorial = screen->getTutorials()->getOpenTutorial();
        } else {
            screen = open(-1, "demo", "", {});
            ASSERT_NE(screen, nullptr);
            GameTutorialsLayer* layer = screen->getTutorials();
            ASSERT_NE(layer, nullptr);
            // The intro opens its first tutorial by itself; the others are shown where the level would.
            tutorial = layer->getOpenTutorial();
            if (c->number != 1) {
                layer->onLevelFinished();
                driver().stepFrames(2);
                if (c->number == 5) {
                    // The hint has just marked the last hidden item.
                    screen->getBoard()->showHint();
                    driver().stepFrames(2);
                }
                tutorial = showOn(layer, c->number);
            }
            if (c->number == 41) {
                // The finish tutorial comes with the curator's praise in the score panel.
                Node* place = screen->getHudRoot()->getChildByTag(1)->getChildByName("chat_place");
                ASSERT_NE(place, nullptr);
                ChatScreen* chat = ChatScreen::create();
                ASSERT_NE(chat, nullptr);
                chat->showMessage("tutorials.tutorial-40_1", false);
                chat->removeDimBackground();
                place->addChild(chat);
            }
        }
        auto find = [screen](const std::string& name) -> std::vector<Shown> {
            if (name == kEveryItem) {
                std::vector<Shown> items;
                for (const auto& item : screen->getBoard()->getNodeLevel()->getItems()) {
                    items.push_back(Shown{item.second, shownBox(item.second)});
                }
                return items;
            }
            if (name == kFly) {
                auto* fly = dynamic_cast<FlyNode*>(screen->getChildByName("flyNode"));
                return shownOf(fly != nullptr ? fly->getFly() : nullptr);
            }
            if (Node* item = findNamed(screen->getBoard()->getNodeLevel(), name)) {
                return shownOf(item);
            }
            return shownOf(findNamed(screen->getHudRoot(), name));
        };
        // The level moves its lessons on from its own events, not from taps.
        checkTutorial(tutorial, *c, find, "TutorialArrows_level", false);
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
    }
}

// ---------------------------------------------------------------------------------------------

class DoorTutorialArrowTest : public ::testing::Test {
protected:
    void SetUp() override {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        registerFactoryClasses();
        ::setenv("XDG_DATA_HOME", testing::Driver::scratchPath("xdg-arrows-door").c_str(), 1);
        Settings::destroyInstance();
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile = Profile();
        profile.minigameLevels = {0, 0, 0, 0, 0};
        profile.currentPicture.country = "USA";
    }

    void TearDown() override {
        cocos2d::Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }
};

TEST_F(DoorTutorialArrowTest, TheDoorTutorialShowsTheOrderAndTheTilesAndItsClickTakesATile) {
    for (const TutorialCase* c : casesOn(Stage::Door)) {
        // The first safe door of a player: the host explains it before the first move.
        currentMinigameKind = 0;
        currentMinigameLevel = 0;
        MinigameScreen* screen = MinigameScreen::create();
        ASSERT_NE(screen, nullptr);
        cocos2d::Scene* scene = cocos2d::Scene::create();
        scene->addChild(screen);
        cocos2d::Director::getInstance()->replaceScene(scene);
        driver().stepFrames(2);
        // The door's parts by their own pictures: the order panel, not only the tiles it holds.
        auto find = [screen](const std::string& name) -> std::vector<Shown> {
            Node* game = screen->getGame();
            Node* part = findNamed(game != nullptr ? game->getChildByName("UI") : nullptr, name);
            return part != nullptr ? std::vector<Shown>{Shown{part, screenBox(part)}} : std::vector<Shown>{};
        };
        const std::optional<Vec2> tapped =
            checkTutorial(screentest::childOf<TutorialScreen>(screen), *c, find, "TutorialArrows_door", true);
        ASSERT_TRUE(tapped.has_value());
        // "Click such a pair of neighbours": the click the tutorial asked for takes the tile under it.
        TwoMatchPipe* clicked = nullptr;
        forEachShown(screen, nullptr, [&clicked, &tapped](Node* node) {
            auto* tile = dynamic_cast<TwoMatchPipe*>(node);
            if (tile != nullptr && tile->containsWorldPoint(*tapped)) {
                clicked = tile;
            }
            return tile == nullptr;
        });
        ASSERT_NE(clicked, nullptr) << "no tile under the click at (" << tapped->x << ", " << tapped->y << ")";
        EXPECT_TRUE(clicked->isSelected()) << "the click the tutorial asked for did not take the tile under it";
    }
}

}  // namespace
