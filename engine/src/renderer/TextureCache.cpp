#include "engine/renderer/TextureCache.h"

#include <condition_variable>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

#include "engine/base/Director.h"
#include "engine/base/Log.h"
#include "engine/base/RefPtr.h"
#include "engine/base/Scheduler.h"
#include "engine/base/StringUtils.h"
#include "engine/platform/FileUtils.h"
#include "engine/renderer/Image.h"

namespace cocos2d {

// The decoder thread and its queue. Requests are decoded in order; each completion is posted to the
// main thread in the same order, so callbacks keep request order even when some need no decoding.
struct TextureCache::AsyncState {
    struct Request {
        std::string path;      // as asked, for the log line
        std::string key;       // full path, "" when no file was found
        bool decode = false;   // false: the key was cached at request time, or there is no file
        RefPtr<Texture2D> cached;  // the texture cached at request time (moved, never copied, off the main thread)
        std::function<void(Texture2D*)> callback;
        std::string error;  // a decoding failure, logged on the main thread
    };

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Request> queue;
    bool quit = false;
    size_t pending = 0;  // requested and not yet completed (main thread only)
    TextureCache* owner = nullptr;  // main thread only; null once the cache is gone
    Scheduler* scheduler = nullptr;  // outlives the cache: the director releases the cache first
    std::thread worker;

    void run(std::shared_ptr<AsyncState> self) {
        for (;;) {
            Request request;
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [this] { return quit || !queue.empty(); });
                if (quit) {
                    return;
                }
                request = std::move(queue.front());
                queue.pop_front();
            }
            Image* image = nullptr;
            if (request.decode) {
                std::ifstream in(request.key, std::ios::binary);
                std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                auto* decoded = new (std::nothrow) Image();
                if (decoded && decoded->initWithImageData(bytes.data(), bytes.size(), request.path, &request.error)) {
                    image = decoded;
                } else {
                    delete decoded;
                }
            }
            // Shared, so that copies of the completion never touch the texture's (non-atomic) count here.
            auto shared = std::make_shared<Request>(std::move(request));
            auto complete = [self, shared, image]() { self->complete(*shared, image); };
            scheduler->runOnMainThread(std::move(complete));
        }
    }

    void complete(Request& request, Image* image) {
        RefPtr<Image> holder;
        if (image) {
            holder = image;
            image->release();  // the holder keeps the only reference
        }
        if (pending > 0) {
            --pending;
        }
        Texture2D* texture = request.cached.get();
        if (!texture && owner && !request.key.empty()) {
            texture = owner->getTextureForKey(request.key);
            if (!texture && image) {
                texture = owner->addImage(image, request.key);
            }
        }
        if (!request.error.empty()) {
            logAt(LogLevel::Warning, "%s", request.error.c_str());
        } else if (!texture && request.key.empty() && owner) {
            logAt(LogLevel::Warning, "TextureCache: [%s] not found", request.path.c_str());
        }
        if (request.callback) {
            request.callback(texture);
        }
    }
};

TextureCache* TextureCache::create() {
    auto* cache = new (std::nothrow) TextureCache();
    if (cache) {
        cache->autorelease();
    }
    return cache;
}

TextureCache::TextureCache() : _async(std::make_shared<AsyncState>()) {
    _async->owner = this;
    _async->scheduler = Director::getInstance()->getScheduler();
}

TextureCache::~TextureCache() {
    {
        std::lock_guard<std::mutex> lock(_async->mutex);
        _async->quit = true;
        _async->owner = nullptr;
    }
    _async->wake.notify_all();
    if (_async->worker.joinable()) {
        _async->worker.join();
    }
    for (auto& entry : _textures) {
        entry.second->release();
    }
    _textures.clear();
    if (_white) {
        _white->release();
    }
}

std::string TextureCache::resolveKey(const std::string& path) const {
    if (path.empty()) {
        return "";
    }
    if (_textures.count(path)) {
        return path;
    }
    return FileUtils::getInstance()->fullPathForFilename(path);
}

Texture2D* TextureCache::addImage(const std::string& path) {
    const std::string key = resolveKey(path);
    if (key.empty()) {
        logAt(LogLevel::Warning, "TextureCache: [%s] not found", path.c_str());
        return nullptr;
    }
    if (Texture2D* cached = getTextureForKey(key)) {
        return cached;
    }
    Image image;
    if (!image.initWithImageFile(key)) {
        return nullptr;
    }
    return addImage(&image, key);
}

Texture2D* TextureCache::addImage(Image* image, const std::string& key) {
    if (!image || key.empty()) {
        return nullptr;
    }
    if (Texture2D* cached = getTextureForKey(key)) {
        return cached;
    }
    Texture2D* texture = Texture2D::create();
    if (!texture) {
        return nullptr;
    }
    texture->setPath(key);
    if (!texture->initWithImage(image)) {
        logAt(LogLevel::Warning, "TextureCache: [%s] could not be uploaded", key.c_str());
        return nullptr;
    }
    texture->retain();
    _textures.emplace(key, texture);
    return texture;
}

void TextureCache::addImageAsync(const std::string& path, const std::function<void(Texture2D*)>& callback) {
    AsyncState::Request request;
    request.path = path;
    request.key = resolveKey(path);
    request.cached = request.key.empty() ? nullptr : getTextureForKey(request.key);
    request.decode = !request.key.empty() && !request.cached;
    request.callback = callback;
    ++_async->pending;
    {
        std::lock_guard<std::mutex> lock(_async->mutex);
        _async->queue.push_back(std::move(request));
        if (!_async->worker.joinable()) {
            _async->worker = std::thread([state = _async] { state->run(state); });
        }
    }
    _async->wake.notify_one();
}

size_t TextureCache::pendingAsyncLoads() const {
    return _async->pending;
}

Texture2D* TextureCache::getTextureForKey(const std::string& key) const {
    auto found = _textures.find(key);
    if (found != _textures.end()) {
        return found->second;
    }
    if (!key.empty() && key[0] != '/') {
        const std::string full = FileUtils::getInstance()->fullPathForFilename(key);
        found = _textures.find(full);
        if (found != _textures.end()) {
            return found->second;
        }
    }
    return nullptr;
}

void TextureCache::removeTexture(Texture2D* texture) {
    if (!texture) {
        return;
    }
    for (auto it = _textures.begin(); it != _textures.end(); ++it) {
        if (it->second == texture) {
            _textures.erase(it);
            texture->release();
            return;
        }
    }
}

void TextureCache::removeTextureForKey(const std::string& key) {
    auto found = _textures.find(key);
    if (found == _textures.end() && !key.empty() && key[0] != '/') {
        found = _textures.find(FileUtils::getInstance()->fullPathForFilename(key));
    }
    if (found == _textures.end()) {
        return;
    }
    Texture2D* texture = found->second;
    _textures.erase(found);
    texture->release();
}

void TextureCache::removeAllTextures() {
    auto textures = std::move(_textures);
    _textures.clear();
    for (auto& entry : textures) {
        entry.second->release();
    }
}

void TextureCache::removeUnusedTextures() {
    for (auto it = _textures.begin(); it != _textures.end();) {
        if (it->second->getReferenceCount() == 1) {
            Texture2D* texture = it->second;
            it = _textures.erase(it);
            texture->release();
        } else {
            ++it;
        }
    }
}

std::string TextureCache::getCachedTextureInfo() const {
    std::string info;
    size_t totalBytes = 0;
    for (const auto& entry : _textures) {
        const Texture2D* t = entry.second;
        const size_t bytes = static_cast<size_t>(t->getPixelsWide()) * t->getPixelsHigh() * 4;
        totalBytes += bytes;
        info += StringUtils::format("\"%s\" rc=%u id=%u %d x %d @ 32 bpp => %zu KB\n", entry.first.c_str(),
                                    t->getReferenceCount(), t->getName(), t->getPixelsWide(), t->getPixelsHigh(),
                                    bytes / 1024);
    }
    info += StringUtils::format("TextureCache dumpDebugInfo: %zu textures, for %zu KB (%.2f MB)\n", _textures.size(),
                                totalBytes / 1024, totalBytes / (1024.0 * 1024.0));
    return info;
}

Texture2D* TextureCache::getWhiteTexture() {
    if (!_white) {
        // A few texels so linear sampling at any coordinate stays white.
        static const unsigned char kWhite[4 * 4 * 4] = {
            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
        _white = Texture2D::create();
        if (_white) {
            _white->setPath("<white>");
            _white->initWithData(kWhite, 4, 4);
            _white->retain();
        }
    }
    return _white;
}

}  // namespace cocos2d
