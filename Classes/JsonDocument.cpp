#include "JsonDocument.h"

#include <cstdint>

#include <rapidjson/encodedstream.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include "engine/base/Log.h"

namespace {

using rapidjson::SizeType;

// Hands every event on to the document being built and refuses a container past the bound.
class DepthBoundHandler {
public:
    explicit DepthBoundHandler(rapidjson::Document& document) : _document(document) {}

    bool Null() { return _document.Null(); }
    bool Bool(bool value) { return _document.Bool(value); }
    bool Int(int value) { return _document.Int(value); }
    bool Uint(unsigned value) { return _document.Uint(value); }
    bool Int64(int64_t value) { return _document.Int64(value); }
    bool Uint64(uint64_t value) { return _document.Uint64(value); }
    bool Double(double value) { return _document.Double(value); }
    bool RawNumber(const char* text, SizeType length, bool copy) {
        return _document.RawNumber(text, length, copy);
    }
    bool String(const char* text, SizeType length, bool copy) { return _document.String(text, length, copy); }
    bool Key(const char* text, SizeType length, bool copy) { return _document.Key(text, length, copy); }
    bool StartObject() { return enter() && _document.StartObject(); }
    bool EndObject(SizeType members) { return leave() && _document.EndObject(members); }
    bool StartArray() { return enter() && _document.StartArray(); }
    bool EndArray(SizeType elements) { return leave() && _document.EndArray(elements); }

private:
    bool enter() { return ++_depth <= kMaxJsonDepth; }
    bool leave() {
        --_depth;
        return true;
    }

    rapidjson::Document& _document;
    int _depth = 0;
};

}  // namespace

std::shared_ptr<rapidjson::Document> parseJsonDocument(const std::string& path, const std::string& text) {
    auto document = std::make_shared<rapidjson::Document>();
    rapidjson::ParseResult result;
    auto parse = [&text, &result](rapidjson::Document& target) {
        rapidjson::MemoryStream bytes(text.data(), text.size());
        rapidjson::EncodedInputStream<rapidjson::UTF8<>, rapidjson::MemoryStream> input(bytes);
        DepthBoundHandler handler(target);
        rapidjson::Reader reader;
        result = reader.Parse<rapidjson::kParseIterativeFlag>(input, handler);
        return !result.IsError();
    };
    document->Populate(parse);
    if (result.IsError()) {
        cocos2d::log("Parsing JSON document '%s' returned error: %d", path.c_str(),
                     static_cast<int>(result.Code()));
        return nullptr;
    }
    return document;
}
