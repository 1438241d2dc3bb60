#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "engine/base/Ref.h"
#include "engine/renderer/Texture2D.h"

namespace cocos2d {

class Image;

// Textures by key (the full path from FileUtils). Removals drop only the cache's reference: a sprite
// keeps the texture it holds.
class TextureCache : public Ref {
public:
    static TextureCache* create();
    ~TextureCache() override;

    // Synchronous. A missing or undecodable file gives null and one log line naming the file.
    Texture2D* addImage(const std::string& path);
    // Uploads an image under the key (replacing nothing that is cached already).
    Texture2D* addImage(Image* image, const std::string& key);
    // One worker thread decodes; upload and callback run on the main thread in request order, never
    // inside this call. The callback always comes: with null for a path that names no file or does not
    // decode; with the cached texture on the next frame when the key is cached already.
    void addImageAsync(const std::string& path, const std::function<void(Texture2D*)>& callback);
    // Cancels nothing already requested; kept for callers that unbind their callbacks.
    void unbindAllImageAsync() {}

    Texture2D* getTextureForKey(const std::string& key) const;
    void removeTexture(Texture2D* texture);
    // A relative key resolves like a load; an unknown key does nothing.
    void removeTextureForKey(const std::string& key);
    void removeAllTextures();
    // Drops the textures that only the cache holds.
    void removeUnusedTextures();
    // One line per texture (key, references, pixels), then a total.
    std::string getCachedTextureInfo() const;
    size_t getTextureCount() const { return _textures.size(); }

    // (ours) A small opaque white texture for untextured sprites and solid colours.
    Texture2D* getWhiteTexture();
    // (ours) Async requests not yet completed.
    size_t pendingAsyncLoads() const;

private:
    struct AsyncState;

    TextureCache();
    std::string resolveKey(const std::string& path) const;

    std::unordered_map<std::string, Texture2D*> _textures;
    Texture2D* _white = nullptr;
    std::shared_ptr<AsyncState> _async;
};

}  // namespace cocos2d
