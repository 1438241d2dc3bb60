#pragma once

// Readers for the files of a built resource tree, used by the resource-validation tests.
// They parse with the libraries the game uses (rapidxml, RapidJSON) and read binary headers
// with bounds checks, so a broken file becomes a problem report, never a crash.

#include <rapidjson/document.h>
#include <rapidxml.hpp>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace restest {

namespace fs = std::filesystem;

// Everything found wrong, each entry "file: what is wrong".
class Problems {
public:
    void add(const std::string& file, const std::string& what) { _items.push_back(file + ": " + what); }
    const std::vector<std::string>& items() const { return _items; }
    bool empty() const { return _items.empty(); }
    bool mentions(const std::string& text) const;
    std::string text() const;

private:
    std::vector<std::string> _items;
};

// A resource tree rooted at its "res" folder; paths are relative to it, with "/".
class Tree {
public:
    explicit Tree(fs::path res) : _res(std::move(res)) {}
    const fs::path& res() const { return _res; }
    bool exists(const std::string& rel) const;
    bool isDir(const std::string& rel) const;
    std::optional<std::string> read(const std::string& rel) const;
    // Every regular file under the tree (or under a sub-folder), sorted.
    std::vector<std::string> files(const std::string& under = "") const;

private:
    fs::path _res;
};

// An XML document parsed in place with rapidxml's default flags (as the game parses).
struct Xml {
    std::vector<char> buffer;
    rapidxml::xml_document<> doc;
    std::string error;  // empty when parsed
};
std::unique_ptr<Xml> loadXml(const Tree& tree, const std::string& rel, Problems& p, int flags = 0);
std::string attr(const rapidxml::xml_node<>* node, const char* name, bool* present = nullptr);
std::vector<rapidxml::xml_node<>*> children(const rapidxml::xml_node<>* node);

// A JSON document parsed with RapidJSON's default flags.
std::unique_ptr<rapidjson::Document> loadJson(const Tree& tree, const std::string& rel, Problems& p);

// A frame list (XML property list): frames by name and the metadata.
struct Frame {
    int x = 0, y = 0, w = 0, h = 0;
    bool rotated = false;
    int offX = 0, offY = 0;
    int srcW = -1, srcH = -1;
};
struct FrameList {
    std::map<std::string, Frame> frames;
    std::string textureFileName;
    int width = 0, height = 0;  // metadata size
};
std::optional<FrameList> loadFrameList(const Tree& tree, const std::string& rel, Problems& p);

// A property-list dictionary of plain values (particle files): key -> (type, text).
struct PlistValue {
    std::string type;  // "real", "integer", "string", "true", "false"
    std::string text;
};
std::optional<std::map<std::string, PlistValue>> loadPlistDict(const Tree& tree, const std::string& rel, Problems& p);

// Image headers and pixels.
struct ImageInfo {
    std::string format;  // "png" or "jpeg"
    int width = 0, height = 0;
    int pngColorType = -1, pngBitDepth = -1, pngInterlace = -1;
    bool jpegBaseline = false;
    int jpegComponents = 0;
};
std::optional<ImageInfo> imageInfo(const Tree& tree, const std::string& rel, Problems& p);
// Decodes an 8-bit, non-interlaced RGBA or RGB PNG into RGBA bytes (zlib inflate, the five
// filters). Returns nothing (and reports) for anything else.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;
    const std::uint8_t* at(int x, int y) const { return &rgba[(static_cast<std::size_t>(y) * width + x) * 4]; }
};
std::optional<Pixels> decodePng(const Tree& tree, const std::string& rel, Problems& p);
// The same from bytes (for fixtures and callers that already hold the file).
std::optional<Pixels> decodePngBytes(const std::string& bytes, std::string& error);
// A minimal RGBA PNG writer for fixtures.
std::string encodePngBytes(const Pixels& px);

// MPEG audio: every frame from the start (after an optional ID3v2 tag) to the end.
struct Mp3Info {
    int version = 0;  // 1 = MPEG-1
    int layer = 0;
    int sampleRate = 0;
    int channels = 0;
    std::set<int> bitrates;  // kbit/s
    int frames = 0;
    double seconds = 0.0;
    bool id3v1 = false;
};
std::optional<Mp3Info> mp3Info(const Tree& tree, const std::string& rel, Problems& p);
std::optional<Mp3Info> mp3InfoBytes(const std::string& bytes, std::string& error);

// The characters a TrueType font maps (its Unicode cmap, formats 4 and 12).
std::optional<std::set<char32_t>> fontCharacters(const Tree& tree, const std::string& rel, Problems& p);

// UTF-8 to code points; false on a malformed sequence.
bool decodeUtf8(const std::string& text, std::vector<char32_t>& out);

}  // namespace restest
