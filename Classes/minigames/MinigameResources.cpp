#include "minigames/MinigameResources.h"

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/SpriteFrameCache.h"

#include "GameSound.h"

void releaseMinigameResources(const MinigameResources& resources) {
    for (const std::string& effect : resources.effects) {
        GameSound::getInstance().uncacheEffect(effect);
    }
    for (const std::string& list : resources.frameLists) {
        cocos2d::SpriteFrameCache::getInstance()->removeSpriteFramesFromFile(resources.folder + list);
    }
    cocos2d::TextureCache* textures = cocos2d::Director::getInstance()->getTextureCache();
    for (const std::string& image : resources.images) {
        textures->removeTextureForKey(resources.folder + image);
    }
    for (const std::string& image : resources.otherImages) {
        textures->removeTextureForKey(image);
    }
    cocos2d::log("after clear\n%s\n", textures->getCachedTextureInfo().c_str());
}
