#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include <rapidjson/document.h>

// Parsed UI and level descriptions by file path (the exact string asked for), shared with the
// loaders that use them. Every loader keeps a share of its own document, so emptying the cache
// never pulls a document from under a living loader: the next request just reads the file again.
class JsonDocumentCache {
public:
    using DocumentPtr = std::shared_ptr<const rapidjson::Document>;

    static JsonDocumentCache& getInstance();
    // Tests start clean: the next getInstance builds an empty cache.
    static void destroyInstance();

    // Null when the path is not held.
    DocumentPtr find(const std::string& path) const;
    void store(const std::string& path, std::string text, DocumentPtr document);
    // Lets go of every text and document.
    void clear();
    size_t size() const { return _entries.size(); }

private:
    struct Entry {
        std::string text;
        DocumentPtr document;
    };
    std::unordered_map<std::string, Entry> _entries;
};
