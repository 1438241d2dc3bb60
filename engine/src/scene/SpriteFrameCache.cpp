#include "engine/scene/SpriteFrameCache.h"

#include <cmath>
#include <iterator>
#include <vector>

#include "base/PropertyList.h"
#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Texture2D.h"
#include "engine/renderer/TextureCache.h"
#include "engine/scene/Sprite.h"

namespace cocos2d {
namespace {

SpriteFrameCache*& instanceSlot() {
    static SpriteFrameCache* instance = nullptr;
    return instance;
}

SpriteFrame* lookupFrame(const std::string& name) {
    return SpriteFrameCache::getInstance()->getSpriteFrameByName(name);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string withPngExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return path + ".png";
    }
    return path.substr(0, dot) + ".png";
}

struct ParsedFrame {
    Rect rect;
    bool rotated = false;
    Vec2 offset;
    Size originalSize;
};

// Reads one frame's dict; false with the reason when it cannot be used.
bool readFrame(const plist::Value& dict, int textureWide, int textureHigh, ParsedFrame& out,
               std::string& why) {
    if (dict.type != plist::Value::Type::Dict) {
        why = "not a dict";
        return false;
    }
    const plist::Value* frame = dict.find("frame");
    double r[4];
    if (!frame) {
        why = "no frame rectangle";
        return false;
    }
    if (frame->type != plist::Value::Type::String || !plist::toNumbers(frame->text, 4, r)) {
        why = "frame is not {{x,y},{w,h}}";
        return false;
    }
    if (r[0] < 0 || r[1] < 0 || r[2] <= 0 || r[3] <= 0) {
        why = "frame rectangle is empty or negative";
        return false;
    }
    if (const plist::Value* rotated = dict.find("rotated")) {
        if (rotated->type == plist::Value::Type::Bool) {
            out.rotated = rotated->boolean;
        } else {
            double flag = 0;
            if (!plist::toNumber(rotated->text, flag)) {
                why = "rotated is not true or false";
                return false;
            }
            out.rotated = flag != 0;
        }
    }
    // A rotated frame occupies h x w pixels of the sheet.
    const double sheetW = out.rotated ? r[3] : r[2];
    const double sheetH = out.rotated ? r[2] : r[3];
    if (r[0] + sheetW > textureWide || r[1] + sheetH > textureHigh) {
        why = "frame lies outside the image";
        return false;
    }
    out.rect = Rect(static_cast<float>(r[0]), static_cast<float>(r[1]), static_cast<float>(r[2]),
                    static_cast<float>(r[3]));
    out.offset = Vec2::ZERO;
    if (const plist::Value* offset = dict.find("offset")) {
        double o[2];
        if (offset->type != plist::Value::Type::String || !plist::toNumbers(offset->text, 2, o) ||
            std::fabs(o[0]) > textureWide || std::fabs(o[1]) > textureHigh) {
            why = "offset is not {x,y}";
            return false;
        }
        out.offset = Vec2(static_cast<float>(o[0]), static_cast<float>(o[1]));
    }
    out.originalSize = out.rect.size;
    if (const plist::Value* source = dict.find("sourceSize")) {
        double s[2];
        if (source->type != plist::Value::Type::String || !plist::toNumbers(source->text, 2, s) ||
            s[0] <= 0 || s[1] <= 0 || s[0] > 1e6 || s[1] > 1e6) {
            why = "sourceSize is not {w,h}";
            return false;
        }
        out.originalSize = Size(static_cast<float>(s[0]), static_cast<float>(s[1]));
    }
    return true;
}

}  // namespace

SpriteFrameCache* SpriteFrameCache::getInstance() {
    SpriteFrameCache*& instance = instanceSlot();
    if (!instance) {
        instance = new SpriteFrameCache();
        Sprite::setSpriteFrameLookup(&lookupFrame);
        // Frames hold textures; they go when the director tears down.
        Director::getInstance()->addTeardownHandler([] { SpriteFrameCache::destroyInstance(); });
    }
    return instance;
}

void SpriteFrameCache::destroyInstance() {
    SpriteFrameCache*& instance = instanceSlot();
    if (instance) {
        Sprite::setSpriteFrameLookup(nullptr);
        delete instance;
        instance = nullptr;
    }
}

std::string SpriteFrameCache::listKey(const std::string& plist) const {
    return FileUtils::getInstance()->fullPathForFilename(plist);
}

void SpriteFrameCache::addSpriteFramesWithFile(const std::string& plist) {
    addFromFile(plist, nullptr);
}

void SpriteFrameCache::addSpriteFramesWithFile(const std::string& plist, const std::string& textureFileName) {
    addFromFile(plist, &textureFileName);
}

bool SpriteFrameCache::isSpriteFramesWithFileLoaded(const std::string& plist) const {
    const std::string key = listKey(plist);
    return !key.empty() && _loadedLists.count(key) != 0;
}

void SpriteFrameCache::addFromFile(const std::string& plist, const std::string* textureFileName) {
    const std::string key = listKey(plist);
    if (key.empty()) {
        logAt(LogLevel::Warning, "SpriteFrameCache: frame list [%s] not found", plist.c_str());
        return;
    }
    if (_loadedLists.count(key) != 0) {
        return;
    }
    FileUtils* files = FileUtils::getInstance();
    const std::string text = files->getStringFromFile(key);
    plist::Value root;
    std::string error;
    if (!plist::parse(text, root, error)) {
        logAt(LogLevel::Warning, "SpriteFrameCache: frame list [%s] is malformed: %s", plist.c_str(),
              error.c_str());
        return;
    }
    const plist::Value* frames = root.find("frames");
    if (!frames || frames->type != plist::Value::Type::Dict) {
        logAt(LogLevel::Warning, "SpriteFrameCache: frame list [%s] is malformed: no frames dict",
              plist.c_str());
        return;
    }

    std::string image;
    if (textureFileName) {
        image = *textureFileName;
    } else {
        const plist::Value* metadata = root.find("metadata");
        const plist::Value* name = metadata ? metadata->find("textureFileName") : nullptr;
        if (name && name->type == plist::Value::Type::String && !name->text.empty()) {
            image = folderOf(plist) + name->text;
        } else {
            image = withPngExtension(plist);
        }
    }
    if (!files->isFileExist(image)) {
        logAt(LogLevel::Warning, "SpriteFrameCache: image [%s] of frame list [%s] not found", image.c_str(),
              plist.c_str());
        return;
    }
    Texture2D* texture = Director::getInstance()->getTextureCache()->addImage(image);
    if (!texture) {
        logAt(LogLevel::Warning, "SpriteFrameCache: image [%s] of frame list [%s] could not be loaded",
              image.c_str(), plist.c_str());
        return;
    }

    size_t skipped = 0;
    std::string firstSkipped;
    for (size_t i = 0; i < frames->keys.size() && i < frames->values.size(); ++i) {
        const std::string& name = frames->keys[i];
        const plist::Value& dict = frames->values[i];
        ParsedFrame parsed;
        std::string why;
        if (name.empty()) {
            why = "no name";
        } else if (!readFrame(dict, texture->getPixelsWide(), texture->getPixelsHigh(), parsed, why)) {
            // reported below
        } else {
            if (_frames.count(name) == 0) {
                SpriteFrame* frame = SpriteFrame::create(texture, parsed.rect, parsed.rotated, parsed.offset,
                                                         parsed.originalSize);
                if (frame) {
                    _frames.emplace(name, Entry{RefPtr<SpriteFrame>(frame), key});
                }
            }
            continue;
        }
        if (skipped++ == 0) {
            firstSkipped = "'" + name + "': " + why;
        }
    }
    _loadedLists.insert(key);
    if (skipped > 0) {
        logAt(LogLevel::Warning, "SpriteFrameCache: frame list [%s]: skipped %zu frame(s), first %s",
              plist.c_str(), skipped, firstSkipped.c_str());
    }
}

SpriteFrame* SpriteFrameCache::getSpriteFrameByName(const std::string& name) const {
    auto found = _frames.find(name);
    return found == _frames.end() ? nullptr : found->second.frame.get();
}

void SpriteFrameCache::removeSpriteFramesFromFile(const std::string& plist) {
    const std::string key = listKey(plist);
    if (key.empty()) {
        return;
    }
    // By owner, not by re-reading the file: a name this list lost to an earlier list stays with that
    // list, and the list's frames go even after removeUnusedSpriteFrames forgot the list.
    for (auto it = _frames.begin(); it != _frames.end();) {
        it = it->second.list == key ? _frames.erase(it) : std::next(it);
    }
    _loadedLists.erase(key);
}

void SpriteFrameCache::removeUnusedSpriteFrames() {
    for (auto it = _frames.begin(); it != _frames.end();) {
        it = it->second.frame->getReferenceCount() == 1 ? _frames.erase(it) : std::next(it);
    }
    _loadedLists.clear();
}

void SpriteFrameCache::removeSpriteFrames() {
    _frames.clear();
    _loadedLists.clear();
}

}  // namespace cocos2d
