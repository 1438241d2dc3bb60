// Every minigame level of the resource tree, opened on the real minigame screen at 1280 x 810: the
// board and its pieces must lie inside the window, above the bottom bar and clear of the guide's
// avatar, and once the level is won the curator's bubble must leave the board's centre in sight. The
// safe door's handle, once turned, the opened door and what stands above the closed one, the drop
// catcher's cart under the win bubble and the selection panel's buttons are checked as well.
// Screenshots are left in the test output folder under minigames/.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Driver.h"
#include "NodeBoxes.h"
#include "ScreenTestSupport.h"
#include "engine/scene/Sprite.h"
#include "engine/base/Director.h"
#include "engine/scene/Layer.h"
#include "engine/base/RefPtr.h"
#include "engine/math/Rect.h"
#include "engine/renderer/Image.h"
#include "engine/scene/Node.h"
#include "engine/scene/Scene.h"

#include "Profile.h"
#include "Settings.h"
#include "minigames/ColorMatch.h"
#include "minigames/ColorMatchPipe.h"
#include "minigames/ConveyorPuzzle.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/DropsPuzzle.h"
#include "minigames/JigsawPuzzle.h"
#include "minigames/MinigameBase.h"
#include "minigames/MinigameScreen.h"
#include "minigames/MinigamesSelectionScreen.h"
#include "minigames/TwoMatch.h"
#include "minigames/TwoMatchGrid.h"
#include "ui/ChatScreen.h"
#include "ui/NodeFromJson.h"
#include "ui/PopupScreenBase.h"

namespace {

using testing::screenBox;

namespace fs = std::filesystem;
using cocos2d::Director;
using cocos2d::Node;
using cocos2d::Rect;
using cocos2d::Vec2;

constexpr float kScreenWidth = 1280.0f;
constexpr float kScreenHeight = 810.0f;
constexpr int kSettleFrames = 20;  // a third of a second: opening animations have ended
// Soft edges (shadows, glows) of a piece may reach this far into the bar or under the guide.
constexpr float kTolerance = 2.0f;

bool shownOnScreen(const Node* node) {
    for (const Node* n = node; n != nullptr; n = n->getParent()) {
        if (!n->isVisible()) {
            return false;
        }
    }
    return node->getDisplayedOpacity() > 0;
}

// The overlap of two boxes, empty when they only touch.
Rect overlapOf(const Rect& a, const Rect& b) {
    const float x0 = std::max(a.getMinX(), b.getMinX());
    const float x1 = std::min(a.getMaxX(), b.getMaxX());
    const float y0 = std::max(a.getMinY(), b.getMinY());
    const float y1 = std::min(a.getMaxY(), b.getMaxY());
    if (x1 <= x0 || y1 <= y0) {
        return Rect();
    }
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

std::string describe(const Rect& r) {
    std::ostringstream s;
    s << "(" << r.getMinX() << ", " << r.getMinY() << ") to (" << r.getMaxX() << ", " << r.getMaxY() << ")";
    return s.str();
}

// One thing the player plays with or reads the board from.
struct Piece {
    std::string what;
    const Node* node;
};

void addSprites(const Node* root, const std::string& what, std::vector<Piece>& out) {
    if (dynamic_cast<const cocos2d::Sprite*>(root) != nullptr && root->getContentSize().width > 0.0f &&
        shownOnScreen(root)) {
        out.push_back({what, root});
    }
    for (const Node* child : root->getChildren()) {
        addSprites(child, what, out);
    }
}

// The board of each kind and the pieces on it, as they stand once the level has settled.
std::vector<Piece> colorMatchPieces(MinigameBase* game) {
    std::vector<Piece> pieces;
    if (const Node* frame = game->getChildByName("board_frame")) {
        pieces.push_back({"board frame", frame});
    }
    if (const Node* ui = game->getChildByName("UI")) {
        addSprites(ui, "colour scale", pieces);
    }
    for (const Node* child : game->getChildren()) {
        if (dynamic_cast<const ColorMatchPipe*>(child) != nullptr) {
            addSprites(child, "can", pieces);
        }
    }
    return pieces;
}

std::vector<Piece> jigsawPieces(MinigameBase* game) {
    std::vector<Piece> pieces;
    auto* jigsaw = dynamic_cast<JigsawPuzzle*>(game);
    if (jigsaw == nullptr || jigsaw->getPicture() == nullptr) {
        return pieces;
    }
    // The picture with its frame, and every tile on it.
    addSprites(jigsaw->getPicture(), "picture", pieces);
    return pieces;
}

std::vector<Piece> twoMatchPieces(MinigameBase* game) {
    std::vector<Piece> pieces;
    for (const Node* child : game->getChildren()) {
        addSprites(child, "door", pieces);
    }
    // The landscape behind the door fills the window and is no part of the board.
    pieces.erase(std::remove_if(pieces.begin(), pieces.end(),
                                [](const Piece& p) {
                                    const Rect box = screenBox(p.node);
                                    return box.size.width >= kScreenWidth && box.size.height >= kScreenHeight;
                                }),
                 pieces.end());
    return pieces;
}

std::vector<Piece> dropsPieces(MinigameBase* game) {
    std::vector<Piece> pieces;
    auto* drops = dynamic_cast<DropsPuzzle*>(game);
    if (drops == nullptr) {
        return pieces;
    }
    if (drops->getCart() != nullptr) {
        addSprites(drops->getCart(), "cart", pieces);
    }
    if (drops->getUI() != nullptr) {
        addSprites(drops->getUI(), "drops board", pieces);
    }
    return pieces;
}

std::vector<Piece> conveyorPieces(MinigameBase* game) {
    std::vector<Piece> pieces;
    auto* conveyor = dynamic_cast<ConveyorPuzzle*>(game);
    if (conveyor == nullptr) {
        return pieces;
    }
    if (conveyor->getUi() != nullptr) {
        addSprites(conveyor->getUi(), "sorting board", pieces);
    }
    return pieces;
}

// Where each kind is played, whose centre the player watches: the door's face, the colour board, the
// drops' field from the lanes' tops to the floor, the belt across the window, the picture.
Rect boxOf(const Node* node) {
    return node != nullptr ? screenBox(node) : Rect();
}

Rect twoMatchBoard(MinigameBase* game) {
    const Node* ui = game->getChildByName("UI");
    return boxOf(ui != nullptr ? ui->getChildByName("grid") : nullptr);
}

Rect colorMatchBoard(MinigameBase* game) {
    return boxOf(game->getChildByName("board_frame"));
}

Rect dropsBoard(MinigameBase* game) {
    auto* drops = dynamic_cast<DropsPuzzle*>(game);
    Rect field;
    if (drops == nullptr || drops->getDropsLayer() == nullptr) {
        return field;
    }
    for (int lane = 0; lane < 4; ++lane) {
        for (const std::string& name : {"drop_" + std::to_string(lane), "spot_" + std::to_string(lane)}) {
            const Rect box = boxOf(drops->getDropsLayer()->getChildByName(name));
            field = field.size.width > 0.0f ? field.unionWithRect(box) : box;
        }
    }
    return field;
}

Rect conveyorBoard(MinigameBase* game) {
    auto* conveyor = dynamic_cast<ConveyorPuzzle*>(game);
    const Rect belt = boxOf(conveyor != nullptr ? conveyor->getBelt() : nullptr);
    return Rect(0.0f, belt.getMinY(), kScreenWidth, belt.size.height);
}

Rect jigsawBoard(MinigameBase* game) {
    auto* jigsaw = dynamic_cast<JigsawPuzzle*>(game);
    return boxOf(jigsaw != nullptr ? jigsaw->getPicture() : nullptr);
}

// The jigsaw's frame has one profile across each side's width, the same all along it: near a corner a
// side must look as it does further along, without a lighter or darker seam where it meets the corner
// piece. Compares, in the drawn frame, the side's first pixels past each corner with a line 40 px on.
void expectSeamlessJigsawFrame(MinigameBase* game, const cocos2d::Image* drawn) {
    auto* jigsaw = dynamic_cast<JigsawPuzzle*>(game);
    if (jigsaw == nullptr || jigsaw->getPicture() == nullptr || drawn == nullptr) {
        ADD_FAILURE() << "no picture or no frame grab";
        return;
    }
    const Node* picture = jigsaw->getPicture();
    const float w = static_cast<float>(static_cast<int>(picture->getContentSize().width) - 1);
    const float h = static_cast<float>(static_cast<int>(picture->getContentSize().height) - 1);
    struct End {
        const char* where;
        Vec2 corner;  // where the side meets the corner piece, in the picture's space
        Vec2 along;   // away from the corner
        Vec2 across;  // away from the picture
    };
    const End ends[] = {
        {"top side at the top-left corner", {1, h}, {1, 0}, {0, 1}},
        {"top side at the top-right corner", {w, h}, {-1, 0}, {0, 1}},
        {"bottom side at the bottom-left corner", {1, 1}, {1, 0}, {0, -1}},
        {"bottom side at the bottom-right corner", {w, 1}, {-1, 0}, {0, -1}},
        {"left side at the bottom-left corner", {1, 1}, {0, 1}, {-1, 0}},
        {"left side at the top-left corner", {1, h}, {0, -1}, {-1, 0}},
        {"right side at the bottom-right corner", {w, 1}, {0, 1}, {1, 0}},
        {"right side at the top-right corner", {w, h}, {0, -1}, {1, 0}},
    };
    auto pixel = [picture, drawn](const Vec2& local) {
        const Vec2 world = picture->convertToWorldSpace(local);
        const int x = std::clamp(static_cast<int>(world.x), 0, drawn->getWidth() - 1);
        const int y = std::clamp(static_cast<int>(kScreenHeight - world.y), 0, drawn->getHeight() - 1);
        return drawn->getPixel(x, y);
    };
    for (const End& end : ends) {
        int worst = 0;
        // Rows across the side, clear of its two long edges.
        for (int row = 2; row < 22; ++row) {
            const Vec2 across = end.across * (static_cast<float>(row) + 0.5f);
            const cocos2d::Color4B further = pixel(end.corner + end.along * 40.5f + across);
            for (int step = 0; step < 6; ++step) {
                const cocos2d::Color4B near =
                    pixel(end.corner + end.along * (static_cast<float>(step) + 0.5f) + across);
                worst = std::max({worst, std::abs(near.r - further.r), std::abs(near.g - further.g),
                                  std::abs(near.b - further.b)});
            }
        }
        EXPECT_LE(worst, 16) << "a seam in the frame: the " << end.where << " differs by " << worst;
    }
}

struct Kind {
    int32_t kind;
    const char* name;  // as the level files are named
    std::vector<Piece> (*pieces)(MinigameBase*);
    Rect (*board)(MinigameBase*);
    // The belt runs in from one side of the window and out at the other.
    bool crossesSides;
};

const Kind kKinds[] = {
    {0, "TwoMatch", twoMatchPieces, twoMatchBoard, false},
    {1, "ColorMatch", colorMatchPieces, colorMatchBoard, false},
    {2, "DropsPuzzle", dropsPieces, dropsBoard, false},
    {3, "ConveyorPuzzle", conveyorPieces, conveyorBoard, true},
    {4, "JigsawPuzzle", jigsawPieces, jigsawBoard, false},
};

std::string levelFolder() {
    return std::string(KESTROVA_RESOURCE_DIR) + "/res/minigamelevels";
}

// The level numbers the resource tree holds for a kind: one file per level, or for the jigsaw the
// numbers of its one file.
std::vector<int32_t> levelsOf(const Kind& kind) {
    std::vector<int32_t> levels;
    if (kind.kind == 4) {
        std::ifstream in(levelFolder() + "/JigsawPuzzle.xml");
        std::stringstream text;
        text << in.rdbuf();
        const std::string all = text.str();
        const std::regex number("<Level[^>]*number=\"([0-9]+)\"");
        for (auto it = std::sregex_iterator(all.begin(), all.end(), number); it != std::sregex_iterator(); ++it) {
            levels.push_back(std::atoi((*it)[1].str().c_str()));
        }
    } else {
        const std::regex file(std::string(kind.name) + "_([0-9]+)\\.xml");
        for (const auto& entry : fs::directory_iterator(levelFolder())) {
            std::smatch m;
            const std::string name = entry.path().filename().string();
            if (std::regex_match(name, m, file)) {
                levels.push_back(std::atoi(m[1].str().c_str()));
            }
        }
    }
    std::sort(levels.begin(), levels.end());
    return levels;
}

class MinigameLayoutTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        screentest::useStagedResources();
        screentest::loadEnglishTexts();
        const fs::path home(testing::Driver::scratchPath("xdg-minigame-layout"));
        fs::create_directories(home);
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
    }

    void SetUp() override {
        Settings::destroyInstance();
        Profile& profile = Settings::getInstance().getCurrentUser();
        profile = Profile();
        profile.minigameLevels = {0, 0, 0, 0, 0};
        profile.currentPicture.country = "UnitedKingdom";
        profile.shownTutorials = {MinigameScreen::kTwoMatchTutorial};
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
    }

    void TearDown() override {
        Director::getInstance()->replaceScene(cocos2d::Scene::create());
        driver().stepFrames(2);
        Settings::destroyInstance();
    }

    static testing::Driver& driver() { return testing::Driver::get(); }

    // The screen alone in a running scene, as the selection popup shows it.
    MinigameScreen* open(int32_t kind, int32_t level) {
        currentMinigameKind = kind;
        currentMinigameLevel = level;
        MinigameScreen* screen = MinigameScreen::create();
        if (screen == nullptr) {
            return nullptr;
        }
        cocos2d::Scene* scene = cocos2d::Scene::create();
        scene->addChild(screen);
        Director::getInstance()->replaceScene(scene);
        driver().stepFrames(kSettleFrames);
        return screen;
    }
};

// The parts of the frame a board must keep clear of: the bottom bar and the guide's avatar, and the
// bar's buttons.
struct Frame {
    Rect bar;
    Rect guide;
    bool hasBar = false;
    bool hasGuide = false;
    std::vector<Rect> buttons;
};

Frame frameOf(MinigameScreen* screen) {
    Frame frame;
    Node* ui = screen->getUi();
    if (const Node* bar = ui->getChildByName("bar")) {
        frame.bar = screenBox(bar);
        frame.hasBar = true;
    }
    for (const char* name : {"Skip", "Reset", "Menu"}) {
        if (const Node* button = ui->getChildByName(name)) {
            frame.buttons.push_back(screenBox(button));
        }
    }
    const std::string avatar = "avatar_" + Settings::getInstance().getCurrentUser().currentPicture.country + "_small";
    if (const Node* guide = ui->getChildByName(avatar)) {
        std::vector<Piece> parts;
        addSprites(guide, "guide", parts);
        for (const Piece& part : parts) {
            const Rect box = screenBox(part.node);
            frame.guide = frame.hasGuide ? frame.guide.unionWithRect(box) : box;
            frame.hasGuide = true;
        }
    }
    return frame;
}

// The curator's bubble of the win chat, once it has come up; null when there is none.
const Node* winBubble(MinigameScreen* screen) {
    const Node* place = screen->getUi()->getChildByName("chat_place");
    if (place == nullptr || place->getChildrenCount() == 0) {
        return nullptr;
    }
    const auto* chat = dynamic_cast<const ChatScreen*>(place->getChildren().at(0));
    if (chat == nullptr || chat->getMessageNode() == nullptr) {
        return nullptr;
    }
    const Node* message = chat->getMessageNode()->getChildByName("message");
    return message != nullptr ? message->getChildByName("bubble") : nullptr;
}

void expectAboveTheBarAndInside(const Rect& box, const Frame& frame, const std::string& where) {
    EXPECT_GE(box.getMinX(), -kTolerance) << where << " leaves the window";
    EXPECT_LE(box.getMaxX(), kScreenWidth + kTolerance) << where << " leaves the window";
    EXPECT_LE(box.getMaxY(), kScreenHeight + kTolerance) << where << " leaves the window";
    if (frame.hasBar) {
        EXPECT_GE(box.getMinY(), frame.bar.getMaxY() - kTolerance) << where << " runs under the bar";
    }
}

TEST_F(MinigameLayoutTest, EveryLevelKeepsItsBoardInsideThePlayArea) {
    fs::create_directories(testing::Driver::outputPath("minigames"));
    const Rect window(0.0f, 0.0f, kScreenWidth, kScreenHeight);
    for (const Kind& kind : kKinds) {
        const std::vector<int32_t> levels = levelsOf(kind);
        EXPECT_FALSE(levels.empty()) << kind.name << ": no level files";
        for (int32_t level : levels) {
            SCOPED_TRACE(std::string(kind.name) + " level " + std::to_string(level));
            MinigameScreen* screen = open(kind.kind, level);
            ASSERT_NE(screen, nullptr);
            ASSERT_NE(screen->getGame(), nullptr);
            driver().saveScreenshot(testing::Driver::outputPath("minigames/" + std::string(kind.name) + "_" +
                                                                std::to_string(level) + ".png"));
            if (kind.kind == 4) {
                const cocos2d::RefPtr<cocos2d::Image> drawn =
                    driver().readPixels(Rect(0.0f, 0.0f, kScreenWidth, kScreenHeight));
                expectSeamlessJigsawFrame(screen->getGame(), drawn.get());
            }
            const Frame frame = frameOf(screen);
            EXPECT_TRUE(frame.hasBar);
            EXPECT_TRUE(frame.hasGuide);
            const std::vector<Piece> pieces = kind.pieces(screen->getGame());
            EXPECT_FALSE(pieces.empty()) << "nothing of the board was found";
            for (const Piece& piece : pieces) {
                const Rect box = screenBox(piece.node);
                const std::string where = piece.what + " '" + piece.node->getName() + "' at " + describe(box);
                if (!kind.crossesSides) {
                    EXPECT_GE(box.getMinX(), window.getMinX() - kTolerance) << where << " leaves the window";
                    EXPECT_LE(box.getMaxX(), window.getMaxX() + kTolerance) << where << " leaves the window";
                }
                EXPECT_LE(box.getMaxY(), window.getMaxY() + kTolerance) << where << " leaves the window";
                if (frame.hasBar) {
                    EXPECT_GE(box.getMinY(), frame.bar.getMaxY() - kTolerance) << where << " runs under the bar";
                }
                if (frame.hasGuide) {
                    const Rect shared = overlapOf(box, frame.guide);
                    EXPECT_TRUE(shared.size.width <= kTolerance || shared.size.height <= kTolerance)
                        << where << " lies under the guide at " << describe(frame.guide);
                }
            }

            // Won: the curator's bubble comes up beside the guide and leaves the board's centre in sight.
            const Rect board = kind.board(screen->getGame());
            EXPECT_GT(board.size.width, 0.0f) << "no board";
            const Vec2 centre(board.getMidX(), board.getMidY());
            screen->getGame()->win();
            driver().stepFrames(kSettleFrames);
            if (level == levels.front()) {
                driver().saveScreenshot(
                    testing::Driver::outputPath("minigames/" + std::string(kind.name) + "_win.png"));
            }
            const Node* bubble = winBubble(screen);
            ASSERT_NE(bubble, nullptr) << "no win bubble";
            const Rect box = screenBox(bubble);
            const std::string where = "the win bubble at " + describe(box);
            EXPECT_FALSE(box.containsPoint(centre))
                << where << " covers the centre of the board " << describe(board);
            EXPECT_GE(box.getMinX(), -kTolerance) << where << " leaves the window";
            EXPECT_LE(box.getMaxX(), kScreenWidth + kTolerance) << where << " leaves the window";
            EXPECT_GE(box.getMinY(), -kTolerance) << where << " leaves the window";
            EXPECT_LE(box.getMaxY(), kScreenHeight + kTolerance) << where << " leaves the window";
            for (const Rect& button : frame.buttons) {
                EXPECT_FALSE(testing::overlaps(box, button)) << where << " covers a button at " << describe(button);
            }
            if (frame.hasGuide) {
                const Rect shared = overlapOf(box, frame.guide);
                EXPECT_TRUE(shared.size.width <= kTolerance || shared.size.height <= kTolerance)
                    << where << " lies over the guide at " << describe(frame.guide);
            }
        }
    }
}

TEST_F(MinigameLayoutTest, TheTurnedDoorHandleStaysInThePlayAreaAboveTheBar) {
    // A level without a locked row: the door opens right after the first order.
    const fs::path overrides(testing::Driver::scratchPath("minigame-layout-open-door"));
    fs::create_directories(overrides / "minigamelevels");
    {
        std::ofstream level(overrides / "minigamelevels" / "TwoMatch_0.xml");
        level << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Level></Level>\n";
    }
    screentest::useStagedResources(overrides.string() + "/");
    MinigameScreen* screen = open(0, 0);
    screentest::useStagedResources();
    ASSERT_NE(screen, nullptr);
    auto* door = dynamic_cast<TwoMatch*>(screen->getGame());
    ASSERT_NE(door, nullptr);
    const Node* handle = door->getChildByName("UI")->getChildByName("handle_dinamic");
    ASSERT_NE(handle, nullptr);
    const Frame frame = frameOf(screen);
    driver().stepFrames(60);  // the order's check comes at 0.3 s, the handle has turned by 0.8 s
    ASSERT_EQ(door->getState(), MinigameState::Waiting) << "the door opens";
    ASSERT_NEAR(handle->getRotation(), -50.0f, 0.01f) << "the handle has turned";
    fs::create_directories(testing::Driver::outputPath("minigames"));
    driver().saveScreenshot(testing::Driver::outputPath("minigames/TwoMatch_handle_turned.png"));
    const Rect box = screenBox(handle);
    expectAboveTheBarAndInside(box, frame, "the turned handle at " + describe(box));
    if (frame.hasGuide) {
        EXPECT_FALSE(testing::overlaps(box, frame.guide))
            << "the turned handle at " << describe(box) << " lies under the guide";
    }
}

TEST_F(MinigameLayoutTest, TheDropCatchersWinBubbleLeavesTheCartInSightWhereverItStands) {
    MinigameScreen* screen = open(2, 0);
    ASSERT_NE(screen, nullptr);
    auto* drops = dynamic_cast<DropsPuzzle*>(screen->getGame());
    ASSERT_NE(drops, nullptr);
    ASSERT_NE(drops->getCart(), nullptr);
    // The cart as it stands at its start and at either end of its travel.
    const Rect atStart = screenBox(drops->getCart());
    std::vector<Rect> carts;
    for (const float x : {drops->getCart()->getPositionX(), drops->getCartMinX(), drops->getCartMaxX()}) {
        Rect box = atStart;
        box.origin.x += x - drops->getCart()->getPositionX();
        carts.push_back(box);
    }
    drops->win();
    driver().stepFrames(kSettleFrames);
    fs::create_directories(testing::Driver::outputPath("minigames"));
    driver().saveScreenshot(testing::Driver::outputPath("minigames/DropsPuzzle_win_cart.png"));
    const Node* bubble = winBubble(screen);
    ASSERT_NE(bubble, nullptr) << "no win bubble";
    const Rect box = screenBox(bubble);
    for (const Rect& cart : carts) {
        EXPECT_FALSE(testing::overlaps(box, cart))
            << "the win bubble at " << describe(box) << " covers the cart at " << describe(cart);
    }
}

TEST_F(MinigameLayoutTest, TheOpenedDoorTakesWhatWasMountedOnItAndNothingFloatsOverThePainting) {
    MinigameScreen* screen = open(0, 0);  // level 0 locks the bottom row
    ASSERT_NE(screen, nullptr);
    auto* door = dynamic_cast<TwoMatch*>(screen->getGame());
    ASSERT_NE(door, nullptr);
    // The bottom row holds nothing but the order's pair: taking it trips the one locked tumbler.
    TwoMatchGrid kinds;
    const std::vector<std::string> rows = {"2.2.2.2", ".2.2.2.", "2.2.2.2", ".2.2.2.", "01....."};
    for (size_t line = 0; line < rows.size(); ++line) {
        for (size_t column = 0; column < rows[line].size(); ++column) {
            if (rows[line][column] != '.') {
                kinds.set(static_cast<int32_t>(column), static_cast<int32_t>(rows.size() - 1 - line),
                          rows[line][column] - '0');
            }
        }
    }
    door->layOut(kinds, 0, 1);
    driver().stepFrames(30);
    const Node* slots = door->getChildByName("UI")->getChildByName("slots_place");
    for (const int32_t column : {0, 1}) {
        driver().tap(slots->convertToWorldSpace(door->cellCentre(column, 0)));
        driver().stepFrames(1);
    }
    for (int i = 0; i < 120 && door->getState() != MinigameState::Waiting; ++i) {
        driver().stepFrames(1);
    }
    ASSERT_EQ(door->getState(), MinigameState::Waiting) << "the door opens";
    driver().stepFrames(70);  // the handle turns in 0.5 s, then the door's parts fade in 0.5 s
    ASSERT_EQ(door->getState(), MinigameState::Waiting) << "not won yet: no bubble in the way";
    fs::create_directories(testing::Driver::outputPath("minigames"));
    driver().saveScreenshot(testing::Driver::outputPath("minigames/TwoMatch_opened.png"));

    const Node* opened = door->getChildByName("hinge_open");
    ASSERT_NE(opened, nullptr);
    ASSERT_TRUE(shownOnScreen(opened));
    EXPECT_EQ(opened->getDisplayedOpacity(), 255);
    const Rect openBox = screenBox(opened);
    expectAboveTheBarAndInside(openBox, frameOf(screen), "the opened door at " + describe(openBox));
    // Beside the opened door only the painting behind it and the wall's order panel and lamps remain.
    const Node* ui = door->getChildByName("UI");
    const std::vector<const Node*> wall = {ui->getChildByName("neworder_back"), ui->getChildByName("indicator_wrong"),
                                           ui->getChildByName("indicator_correct")};
    for (const Piece& piece : twoMatchPieces(door)) {
        bool onTheWall = false;
        for (const Node* n = piece.node; n != nullptr && !onTheWall; n = n->getParent()) {
            onTheWall = std::find(wall.begin(), wall.end(), n) != wall.end();
        }
        if (onTheWall || piece.node == opened) {
            continue;
        }
        const Rect box = screenBox(piece.node);
        const Rect shared = overlapOf(box, openBox);
        EXPECT_TRUE(shared.size.width >= box.size.width - kTolerance && shared.size.height >= box.size.height - kTolerance)
            << "'" << piece.node->getName() << "' at " << describe(box) << " is still shown away from the opened door at "
            << describe(openBox);
    }
}

TEST_F(MinigameLayoutTest, NoEmptyPlateHangsAboveTheDoor) {
    MinigameScreen* screen = open(0, 0);
    ASSERT_NE(screen, nullptr);
    const Rect face = twoMatchBoard(screen->getGame());
    ASSERT_GT(face.size.width, 0.0f);
    // Above the door's face, between its sides, the painting is all there is: the plate that stood
    // there carried nothing for the whole game.
    for (const Piece& piece : twoMatchPieces(screen->getGame())) {
        const Rect box = screenBox(piece.node);
        const bool above = box.getMinY() >= face.getMaxY() - kTolerance;
        const bool across = box.getMinX() < face.getMaxX() && box.getMaxX() > face.getMinX();
        EXPECT_FALSE(above && across) << "'" << piece.node->getName() << "' at " << describe(box)
                                      << " stands above the door at " << describe(face);
    }
}

TEST_F(MinigameLayoutTest, TheSelectionPanelCentresItsButtons) {
    Profile& profile = Settings::getInstance().getCurrentUser();
    for (int32_t kind = 0; kind < 5; ++kind) {
        profile.minigameAvailability[kind] = true;
    }
    profile.minigameAvailability[2] = false;  // one game already won in this level
    // As the level opens it: a bare container over the level, the panel inside.
    cocos2d::Scene* scene = cocos2d::Scene::create();
    cocos2d::Layer* levelScreen = cocos2d::Layer::create();
    levelScreen->setPosition(visibleCenter());
    scene->addChild(levelScreen);
    Director::getInstance()->replaceScene(scene);
    driver().stepFrames(2);
    MinigamesSelectionScreen* panel = MinigamesSelectionScreen::create();
    ASSERT_NE(panel, nullptr);
    PopupScreenBase* container = PopupScreenBase::create();
    ASSERT_NE(container, nullptr);
    levelScreen->addChild(container);
    container->addChild(panel);
    driver().stepFrames(kSettleFrames);
    fs::create_directories(testing::Driver::outputPath("minigames"));
    driver().saveScreenshot(testing::Driver::outputPath("minigames/MinigamesSelection.png"));

    const Node* art = panel->getUi()->getChildByName("panel");
    const Node* buttons = panel->getUi()->getChildByName("PuzzleButtons");
    ASSERT_NE(art, nullptr);
    ASSERT_NE(buttons, nullptr);
    const Rect plate = screenBox(art);
    Rect row;
    for (const Node* game : buttons->getChildren()) {
        const Node* button = game->getChildByName("Button");
        ASSERT_NE(button, nullptr) << game->getName();
        const Rect box = screenBox(button);
        row = row.size.width > 0.0f ? row.unionWithRect(box) : box;
        // Each button sits in the middle of its frame.
        if (const Node* frameArt = game->getChildByName("mini_frame")) {
            if (const Node* ring = frameArt->getChildByName("frame")) {
                EXPECT_NEAR(screenBox(ring).getMidX(), box.getMidX(), 1.0f) << game->getName();
            }
        }
    }
    const float left = row.getMinX() - plate.getMinX();
    const float right = plate.getMaxX() - row.getMaxX();
    EXPECT_NEAR(left, right, 1.0f) << "the buttons " << describe(row) << " stand off-centre on the panel "
                                   << describe(plate);
}

}  // namespace
