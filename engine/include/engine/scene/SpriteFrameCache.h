#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/base/RefPtr.h"
#include "engine/scene/SpriteFrame.h"

namespace cocos2d {

// Sprite frames by name, for the whole process, loaded from frame lists (XML property lists; the
// format is documented in engine/docs/frame-list-format.md).
//
// Rules: the first frame of a name wins (a later list never replaces it); adding a list that is
// already loaded does nothing and reads no file; a malformed list adds nothing, is not marked loaded
// and logs one line naming the file. Frames retain their texture, sprites retain their frames.
class SpriteFrameCache {
public:
    static SpriteFrameCache* getInstance();
    static void destroyInstance();

    // The image is the list's metadata textureFileName, relative to the list's folder, else the list
    // path with its extension replaced by ".png". The texture goes through the TextureCache under
    // "<list folder>/<image>".
    void addSpriteFramesWithFile(const std::string& plist);
    // The image as given; the list's metadata name is ignored.
    void addSpriteFramesWithFile(const std::string& plist, const std::string& textureFileName);
    bool isSpriteFramesWithFileLoaded(const std::string& plist) const;

    // Null for an unknown name (no assertion).
    SpriteFrame* getSpriteFrameByName(const std::string& name) const;

    // Removes the frames this list added and forgets that it was loaded, so a later add reads it again.
    void removeSpriteFramesFromFile(const std::string& plist);
    // Removes the frames only the cache holds, and forgets every loaded list: a later add reads the
    // file again and adds the names that are missing.
    void removeUnusedSpriteFrames();
    void removeSpriteFrames();

    // (ours) Frames held.
    size_t getSpriteFrameCount() const { return _frames.size(); }

private:
    struct Entry {
        RefPtr<SpriteFrame> frame;
        std::string list;  // the loaded-list key of the list that added it
    };

    SpriteFrameCache() = default;
    std::string listKey(const std::string& plist) const;
    void addFromFile(const std::string& plist, const std::string* textureFileName);

    std::unordered_map<std::string, Entry> _frames;
    std::unordered_set<std::string> _loadedLists;
};

}  // namespace cocos2d
