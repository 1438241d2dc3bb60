#include "JsonDocumentCache.h"

#include <utility>

namespace {

std::unique_ptr<JsonDocumentCache>& instanceSlot() {
    static std::unique_ptr<JsonDocumentCache> instance;
    return instance;
}

}  // namespace

JsonDocumentCache& JsonDocumentCache::getInstance() {
    std::unique_ptr<JsonDocumentCache>& instance = instanceSlot();
    if (!instance) {
        instance = std::make_unique<JsonDocumentCache>();
    }
    return *instance;
}

void JsonDocumentCache::destroyInstance() {
    instanceSlot().reset();
}

JsonDocumentCache::DocumentPtr JsonDocumentCache::find(const std::string& path) const {
    const auto it = _entries.find(path);
    return it == _entries.end() ? nullptr : it->second.document;
}

void JsonDocumentCache::store(const std::string& path, std::string text, DocumentPtr document) {
    _entries[path] = Entry{std::move(text), std::move(document)};
}

void JsonDocumentCache::clear() {
    _entries.clear();
}
