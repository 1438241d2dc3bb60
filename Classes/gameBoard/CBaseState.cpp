#include "gameBoard/CBaseState.h"

#include <cstdlib>

#include "engine/actions/DelayTime.h"
#include "engine/actions/Sequence.h"
#include "Settings.h"
#include "engine/base/Log.h"
#include "GameSound.h"
#include "SoundFade.h"
#include "gameBoard/DamageFactory.h"
#include "gameBoard/GameBoard.h"
#include "gameBoard/StoryLevel.h"
#include "nodes/LevelNode.h"

namespace {

constexpr float kSoundHold = 0.01f;
constexpr float kSoundFade = 0.1f;
constexpr int kCutTutorial = 9;
constexpr int kTutorialCut = 2;
constexpr int kStateNameCount = 11;
const char* const kStateNames[kStateNameCount] = {"None", "Sray", "Eraser", "Brush", "Knife", "Needle",
                                                  "",     "",     "",       "",      ""};

}  // namespace

CBaseState::CBaseState(ToolState toolId, std::string soundName)
    : _toolId(toolId), _soundId(GameSound::getInvalidAudioId()), _soundName(std::move(soundName)) {}

CBaseState::~CBaseState() {
    stopSound(true);
    cocos2d::log("~CBaseState %d", static_cast<int>(_toolId));
}

const char* CBaseState::stateName(int toolId) {
    return toolId >= 0 && toolId < kStateNameCount ? kStateNames[toolId] : "";
}

bool CBaseState::attach(GameBoard* board) {
    _board = board;
    _soundId = GameSound::getInvalidAudioId();
    return true;
}

void CBaseState::stopSound(bool fade) {
    if (_soundId != GameSound::getInvalidAudioId()) {
        GameSound::getInstance().stopEffect(_soundId, fade);
        _soundId = GameSound::getInvalidAudioId();
    }
}

void CBaseState::playToolSound() {
    if (_board == nullptr || _board->isRestoredThisTouch()) {
        return;
    }
    if (_soundId == GameSound::getInvalidAudioId() && !_soundName.empty()) {
        _soundId = GameSound::getInstance().playEffect(_soundName, true);
    }
    GameSound::getInstance().setVolume(_soundId, GameSound::getInstance().getSoundVolume());
    _board->stopActionByTag(kToolSoundTag);
    cocos2d::Action* silence = cocos2d::Sequence::create(
        cocos2d::DelayTime::create(kSoundHold), SoundFade::create(_soundId, kSoundFade, 0.0f, false));
    silence->setTag(kToolSoundTag);
    _board->runAction(silence);
}

void CBaseState::reportStrokeMiss(const cocos2d::Vec2& endPoint, const cocos2d::Vec2& damagePoint) {
    DamageFactory factory = nullptr;
    int variant = 0;
    switch (_toolId) {
        case ToolState::Brush:
            factory = createBlot;
            variant = std::rand() % 3 + 1;
            break;
        case ToolState::Eraser:
            factory = createScrape;
            variant = std::rand() % 3 + 1;
            break;
        case ToolState::Knife:
            factory = createCut;
            // Until the cut tutorial has been shown, the cut is the one it explains.
            variant =
                Settings::getInstance().isTutorialShown(kCutTutorial) ? std::rand() % 3 + 1 : kTutorialCut;
            break;
        default:
            break;
    }
    cocos2d::Vec2 reported = endPoint;
    if (factory != nullptr) {
        reported = damagePoint;
        const int id = _board->nextDamageId();
        NodeLevel* level = _board->getNodeLevel();
        const cocos2d::Vec2 position = level->convertToNodeSpace(damagePoint);
        EraseableGameObject* damage = factory(_board, position, variant, id, true);
        // The intro level records its misses but shows no damage.
        if (damage != nullptr || isIntroLevel()) {
            _board->saveDamage(static_cast<int32_t>(_toolId), variant, position.x, position.y, id);
        }
    }
    _board->reportMiss(reported, _toolId);
}
