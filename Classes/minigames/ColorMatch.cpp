#include "minigames/ColorMatch.h"

#include <cstdlib>
#include <new>
#include <string>

#include "engine/actions/CallFunc.h"
#include "engine/actions/DelayTime.h"
#include "engine/actions/FadeIn.h"
#include "engine/actions/FadeOut.h"
#include "engine/actions/MoveTo.h"
#include "engine/actions/RemoveSelf.h"
#include "engine/actions/ScaleTo.h"
#include "engine/actions/Sequence.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"

#include "GameSound.h"
#include "MinigameKind.h"
#include "minigames/ColorMatchPipe.h"
#include "minigames/CurrentMinigame.h"
#include "minigames/MinigameLevels.h"
#include "minigames/MinigameResources.h"
#include "ui/NodeFromJson.h"

namespace {

constexpr const char* kAppearSound = "Minigames/CM_appear";
constexpr const char* kHitSound = "Minigames/CM_hit";
constexpr float kMergeScale = 1.05f;
constexpr float kHitDelay = 0.2f;
constexpr float kAfterMergeDelay = 0.4f;

std::string folder() {
    return minigameFolder(static_cast<int32_t>(MinigameKind::ColorMatch));
}

}  // namespace

ColorMatch* ColorMatch::create() {
    auto* game = new (std::nothrow) ColorMatch();
    if (game != nullptr && game->init()) {
        game->autorelease();
        return game;
    }
    delete game;
    return nullptr;
}

ColorMatch::ColorMatch() {
    GameSound::getInstance().preloadEffect(kAppearSound);
    GameSound::getInstance().preloadEffect(kHitSound);
}

ColorMatch::~ColorMatch() {
    cocos2d::log("~ColorMatch");
    // Whatever the restart flag says: a new board loads its sounds, frames and images again.
    releaseMinigameResources(
        MinigameResources{folder(),
                          {kAppearSound, kHitSound},
                          {"/Pipes_atlas.xml", "/UI_atlas.xml"},
                          {"/UI_atlas.png", "/Pipes_atlas.png", "/background.jpg", "/board_frame.png"},
                          {}});
}

bool ColorMatch::init() {
    if (!MinigameBase::init()) {
        return false;
    }
    _loader = std::make_unique<NodeFromJson>(folder());
    _background = addDescribed("background");
    _boardFrame = addDescribed("board_frame");
    _ui = addDescribed("UI");
    // The board and its scale sit in the middle of the space above the host's bottom bar; the
    // background stays where it is, filling the window.
    setPositionY(kBoardLift);
    if (_background != nullptr) {
        _background->setPositionY(_background->getPositionY() - kBoardLift);
    }
    for (int32_t i = 0; i < kSmears; ++i) {
        _smears[static_cast<size_t>(i)] =
            _ui != nullptr ? _ui->getChildByName("smear_" + std::to_string(i)) : nullptr;
    }
    if (_smears[0] != nullptr && _smears[1] != nullptr && _smears[kSmears - 1] != nullptr) {
        _scaleCentreY = (_smears[kSmears - 1]->getPositionY() + _smears[0]->getPositionY()) / 2.0f;
        _scaleStep = _smears[0]->getPositionY() - _smears[1]->getPositionY();
    }
    // Spawned pipes take their pictures from the pipe sheet, which the starting pipes would otherwise
    // load only when the level has some.
    _loader->loadSheet("Pipes");
    _level = ColorMatchLevel(currentMinigameLevel);
    setupColorScale(_level.maxColor);
    _boardOrigin = cocos2d::Vec2(kBoardOriginX, kBoardOriginY);
    setupBoard(_level.startColors);
    setState(MinigameState::Playing);
    setInputLocked(false);
    return true;
}

cocos2d::Node* ColorMatch::addDescribed(const std::string& name) {
    cocos2d::Node* node = _loader->createNode(name);
    if (node != nullptr) {
        addChild(node);
    } else {
        cocos2d::log("ColorMatch: no element '%s' in %s", name.c_str(), folder().c_str());
    }
    return node;
}

void ColorMatch::setupColorScale(int32_t maxColor) {
    _targetColour = maxColor - 1;
    const float top = static_cast<float>(maxColor - 1) * _scaleStep / 2.0f + _scaleCentreY;
    for (int32_t i = 0; i < kSmears; ++i) {
        cocos2d::Node* smear = _smears[static_cast<size_t>(i)];
        if (smear == nullptr) {
            continue;
        }
        if (i < maxColor) {
            smear->setVisible(true);
            smear->setPositionY(top - static_cast<float>(i) * _scaleStep);
        } else {
            smear->setVisible(false);
        }
    }
}

cocos2d::Vec2 ColorMatch::cellPosition(int32_t column, int32_t row) const {
    return cocos2d::Vec2(static_cast<float>(column) * kCellSpacing + _boardOrigin.x,
                         static_cast<float>(row) * kCellSpacing + _boardOrigin.y);
}

ColorMatchPipe* ColorMatch::pipeAt(int32_t column, int32_t row) const {
    const Cell cell{column, row};
    return ColorMatchGrid::isCell(cell) ? _board[ColorMatchGrid::indexOf(cell)] : nullptr;
}

cocos2d::Node* ColorMatch::getSmear(int32_t colour) const {
    return colour >= 0 && colour < kSmears ? _smears[static_cast<size_t>(colour)] : nullptr;
}

void ColorMatch::setupBoard(const std::vector<int32_t>& startColors) {
    for (ColorMatchPipe*& pipe : _board) {
        if (pipe != nullptr) {
            pipe->removeFromParentAndCleanup(true);
            pipe = nullptr;
        }
    }
    _grid.clear();
    for (const int32_t number : startColors) {
        placePipe(number - 1);
    }
}

ColorMatchPipe* ColorMatch::newPipe(const Cell& cell, int32_t colour, bool fromDescription) {
    ColorMatchPipe* pipe = ColorMatchPipe::create();
    if (pipe == nullptr) {
        return nullptr;
    }
    pipe->setup(cellPosition(cell.column, cell.row), cell.column, cell.row, colour,
                fromDescription ? _loader.get() : nullptr, _loader.get());
    addChild(pipe);
    return pipe;
}

void ColorMatch::placePipe(int32_t colour) {
    const std::optional<Cell> cell = _grid.place(colour, std::rand());
    if (!cell) {
        return;
    }
    pipeSlot(*cell) = newPipe(*cell, colour, true);
}

void ColorMatch::spawnPipe(int32_t colour) {
    const std::optional<Cell> cell = _grid.place(colour, std::rand());
    if (!cell) {
        return;
    }
    ColorMatchPipe* pipe = newPipe(*cell, colour, false);
    pipeSlot(*cell) = pipe;
    if (pipe != nullptr) {
        pipe->setScale(0.0f);
        pipe->runAction(cocos2d::ScaleTo::create(kGrowSeconds, 1.0f));
    }
    GameSound::getInstance().playEffect(kAppearSound, false);
}

bool ColorMatch::touchBegan(const cocos2d::Vec2& location) {
    _touchPoint = location;
    if (!takesInput()) {
        return false;
    }
    _touchStart = location;
    return true;
}

bool ColorMatch::touchEnded(const cocos2d::Vec2& location) {
    _touchPoint = location;
    if (!takesInput()) {
        return true;
    }
    const std::optional<ColorMatchDirection> direction = colorMatchSwipe(_touchStart, _touchPoint);
    if (!direction) {
        return true;
    }
    switch (*direction) {
        case ColorMatchDirection::Up:
            moveUp();
            break;
        case ColorMatchDirection::Down:
            moveDown();
            break;
        case ColorMatchDirection::Left:
            moveLeft();
            break;
        case ColorMatchDirection::Right:
            moveRight();
            break;
    }
    return true;
}

void ColorMatch::moveUp() {
    move(ColorMatchDirection::Up);
}

void ColorMatch::moveDown() {
    move(ColorMatchDirection::Down);
}

void ColorMatch::moveLeft() {
    move(ColorMatchDirection::Left);
}

void ColorMatch::moveRight() {
    move(ColorMatchDirection::Right);
}

void ColorMatch::move(ColorMatchDirection direction) {
    const ColorMatchGrid::MoveResult result = _grid.move(direction);
    for (const ColorMatchGrid::Step& step : result.steps) {
        if (step.kind == ColorMatchGrid::Step::Kind::Merge) {
            mergePipes(step.partner, step.from, step.to, step.colour);
        } else {
            slidePipe(step.from, step.to);
        }
    }
    // A move that changed nothing has no effect at all: no sound, no new pipe, still Playing.
    if (result.changed) {
        finishMove(result.merged);
    }
}

void ColorMatch::occupyCell(const Cell& cell, ColorMatchPipe* pipe) {
    pipeSlot(cell) = pipe;
    if (pipe != nullptr) {
        pipe->setCell(cell.column, cell.row);
    }
}

void ColorMatch::slidePipe(const Cell& from, const Cell& to) {
    ColorMatchPipe* pipe = pipeSlot(from);
    pipeSlot(from) = nullptr;
    occupyCell(to, pipe);
    if (pipe != nullptr) {
        pipe->stopAllActions();
        pipe->runAction(cocos2d::MoveTo::create(kSlideSeconds, cellPosition(to.column, to.row)));
    }
}

void ColorMatch::mergePipes(const Cell& partner, const Cell& standing, const Cell& destination,
                            int32_t colour) {
    ColorMatchPipe* moving = pipeSlot(partner);
    ColorMatchPipe* still = pipeSlot(standing);
    pipeSlot(partner) = nullptr;
    if (destination == standing) {
        if (moving != nullptr) {
            moving->stopAllActions();
        }
        if (still != nullptr) {
            still->stopAllActions();
        }
    } else {
        pipeSlot(standing) = nullptr;
        occupyCell(destination, still);
        if (moving != nullptr) {
            moving->stopAllActions();
        }
        if (still != nullptr) {
            still->stopAllActions();
            still->runAction(
                cocos2d::MoveTo::create(kSlideSeconds, cellPosition(destination.column, destination.row)));
        }
    }
    if (still != nullptr) {
        still->runAction(cocos2d::ScaleTo::create(kSlideSeconds, kMergeScale));
    }
    if (moving == nullptr) {
        mergeComplete(destination, nullptr, still, colour);
        return;
    }
    moving->runAction(cocos2d::ScaleTo::create(kSlideSeconds, kMergeScale));
    // The standing pipe is held for the callback; the moving pipe is the action's own target.
    const cocos2d::RefPtr<ColorMatchPipe> held(still);
    moving->runAction(cocos2d::Sequence::create(
        cocos2d::MoveTo::create(kSlideSeconds, cellPosition(destination.column, destination.row)),
        cocos2d::CallFunc::create([this, destination, moving, held, colour]() {
            mergeComplete(destination, moving, held.get(), colour);
        }),
        nullptr));
}

void ColorMatch::mergeComplete(const Cell& destination, ColorMatchPipe* moving, ColorMatchPipe* standing,
                               int32_t colour) {
    if (moving != nullptr) {
        moving->removeFromParentAndCleanup(true);
    }
    if (pipeSlot(destination) == standing) {
        pipeSlot(destination) = nullptr;
    }
    if (standing != nullptr) {
        if (standing->getSprite() != nullptr) {
            standing->getSprite()->runAction(cocos2d::FadeOut::create(kSlideSeconds));
        }
        standing->runAction(cocos2d::Sequence::create(cocos2d::ScaleTo::create(kSlideSeconds, 1.0f),
                                                      cocos2d::RemoveSelf::create(true), nullptr));
    }
    ColorMatchPipe* merged = newPipe(destination, colour, false);
    occupyCell(destination, merged);
    if (merged != nullptr) {
        merged->setScale(kMergeScale);
        merged->runAction(cocos2d::ScaleTo::create(kSlideSeconds, 1.0f));
        if (merged->getSprite() != nullptr) {
            merged->getSprite()->setOpacity(0);
            merged->getSprite()->runAction(cocos2d::FadeIn::create(kSlideSeconds));
        }
    }
}

void ColorMatch::finishMove(bool merged) {
    setState(MinigameState::Waiting);
    runAction(cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kHitDelay),
        cocos2d::CallFunc::create([]() { GameSound::getInstance().playEffect(kHitSound, false); }), nullptr));
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(merged ? kAfterMergeDelay : kHitDelay),
                                        cocos2d::CallFunc::create([this]() { afterMove(); }), nullptr));
}

void ColorMatch::afterMove() {
    if (_grid.freeCells().empty()) {
        lose();
        return;
    }
    // Reaching the target wins even when a starting pipe stood above it already: such a level could
    // never be won by equality.
    if (_grid.topColour() >= _targetColour) {
        win();
        return;
    }
    spawnPipe(0);
    // The new pipe may fill the last cell of a board on which no swipe can change anything: the level
    // is lost then, instead of waiting for ever.
    const bool stuck = _grid.isStuck();
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kGrowSeconds),
                                        cocos2d::CallFunc::create([this, stuck]() {
                                            if (stuck) {
                                                lose();
                                            } else {
                                                setState(MinigameState::Playing);
                                            }
                                        }),
                                        nullptr));
}

void ColorMatch::preloadSounds() {
    GameSound::getInstance().preloadEffect(kAppearSound);
    GameSound::getInstance().preloadEffect(kHitSound);
}

void ColorMatch::unloadSounds() {
    GameSound::getInstance().uncacheEffect(kAppearSound);
    GameSound::getInstance().uncacheEffect(kHitSound);
}
