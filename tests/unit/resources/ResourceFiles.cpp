#include "ResourceFiles.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace restest {

bool Problems::mentions(const std::string& text) const {
    return std::any_of(_items.begin(), _items.end(), [&](const std::string& s) { return s.find(text) != std::string::npos; });
}

std::string Problems::text() const {
    std::ostringstream s;
    for (const auto& i : _items) s << "  " << i << "\n";
    return s.str();
}

bool Tree::exists(const std::string& rel) const {
    std::error_code ec;
    return fs::is_regular_file(_res / rel, ec);
}

bool Tree::isDir(const std::string& rel) const {
    std::error_code ec;
    return fs::is_directory(_res / rel, ec);
}

std::optional<std::string> Tree::read(const std::string& rel) const {
    std::ifstream in(_res / rel, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> Tree::files(const std::string& under) const {
    std::vector<std::string> out;
    std::error_code ec;
    fs::path base = under.empty() ? _res : _res / under;
    if (!fs::is_directory(base, ec)) return out;
    for (auto it = fs::recursive_directory_iterator(base, ec); !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it->is_regular_file()) out.push_back(fs::relative(it->path(), _res).generic_string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::unique_ptr<Xml> loadXml(const Tree& tree, const std::string& rel, Problems& p, int flags) {
    auto text = tree.read(rel);
    if (!text) {
        p.add(rel, "missing");
        return nullptr;
    }
    auto x = std::make_unique<Xml>();
    x->buffer.assign(text->begin(), text->end());
    x->buffer.push_back('\0');
    try {
        if (flags == rapidxml::parse_no_entity_translation) x->doc.parse<rapidxml::parse_no_entity_translation>(x->buffer.data());
        else x->doc.parse<0>(x->buffer.data());
    } catch (const rapidxml::parse_error& e) {
        p.add(rel, std::string("XML does not parse: ") + e.what());
        return nullptr;
    }
    return x;
}

std::string attr(const rapidxml::xml_node<>* node, const char* name, bool* present) {
    const rapidxml::xml_attribute<>* a = node ? node->first_attribute(name) : nullptr;
    if (present) *present = a != nullptr;
    return a ? std::string(a->value(), a->value_size()) : std::string();
}

std::vector<rapidxml::xml_node<>*> children(const rapidxml::xml_node<>* node) {
    std::vector<rapidxml::xml_node<>*> out;
    if (!node) return out;
    for (auto* c = node->first_node(); c; c = c->next_sibling()) {
        if (c->type() == rapidxml::node_element) out.push_back(c);
    }
    return out;
}

std::unique_ptr<rapidjson::Document> loadJson(const Tree& tree, const std::string& rel, Problems& p) {
    auto text = tree.read(rel);
    if (!text) {
        p.add(rel, "missing");
        return nullptr;
    }
    auto doc = std::make_unique<rapidjson::Document>();
    doc->Parse(text->c_str(), text->size());
    if (doc->HasParseError()) {
        p.add(rel, "JSON does not parse (error " + std::to_string(doc->GetParseError()) + " at offset " +
                       std::to_string(doc->GetErrorOffset()) + ")");
        return nullptr;
    }
    if (!doc->IsObject()) {
        p.add(rel, "the top level is not an object");
        return nullptr;
    }
    return doc;
}

namespace {

std::vector<int> numbersIn(const std::string& s) {
    std::vector<int> out;
    std::string cur;
    for (char c : s) {
        if ((c >= '0' && c <= '9') || c == '-' || c == '.') {
            cur += c;
        } else if (!cur.empty()) {
            out.push_back(static_cast<int>(std::strtod(cur.c_str(), nullptr)));
            cur.clear();
        }
    }
    if (!cur.empty()) out.push_back(static_cast<int>(std::strtod(cur.c_str(), nullptr)));
    return out;
}

// The <dict> child of a <key> whose text is `name`, within a dict.
rapidxml::xml_node<>* valueOf(rapidxml::xml_node<>* dict, const char* name) {
    if (!dict) return nullptr;
    for (auto* k = dict->first_node("key"); k; k = k->next_sibling("key")) {
        if (std::string(k->value(), k->value_size()) == name) {
            auto* v = k->next_sibling();
            while (v && v->type() != rapidxml::node_element) v = v->next_sibling();
            return v;
        }
    }
    return nullptr;
}

}  // namespace

std::optional<FrameList> loadFrameList(const Tree& tree, const std::string& rel, Problems& p) {
    auto x = loadXml(tree, rel, p);
    if (!x) return std::nullopt;
    auto* plist = x->doc.first_node("plist");
    auto* top = plist ? plist->first_node("dict") : nullptr;
    if (!top) {
        p.add(rel, "not a property list (no plist/dict)");
        return std::nullopt;
    }
    FrameList list;
    auto* frames = valueOf(top, "frames");
    if (!frames || std::string(frames->name()) != "dict") {
        p.add(rel, "has no frames dictionary");
        return std::nullopt;
    }
    for (auto* k = frames->first_node("key"); k; k = k->next_sibling("key")) {
        std::string name(k->value(), k->value_size());
        auto* d = k->next_sibling();
        while (d && d->type() != rapidxml::node_element) d = d->next_sibling();
        if (!d || std::string(d->name()) != "dict") {
            p.add(rel, "frame '" + name + "' has no dictionary");
            continue;
        }
        Frame f;
        auto* fr = valueOf(d, "frame");
        std::vector<int> r = fr ? numbersIn(std::string(fr->value(), fr->value_size())) : std::vector<int>{};
        if (r.size() != 4) {
            p.add(rel, "frame '" + name + "' has no {{x,y},{w,h}} rectangle");
            continue;
        }
        f.x = r[0];
        f.y = r[1];
        f.w = r[2];
        f.h = r[3];
        if (auto* rot = valueOf(d, "rotated")) f.rotated = std::string(rot->name()) == "true";
        if (auto* off = valueOf(d, "offset")) {
            auto o = numbersIn(std::string(off->value(), off->value_size()));
            if (o.size() == 2) {
                f.offX = o[0];
                f.offY = o[1];
            }
        }
        if (auto* ss = valueOf(d, "sourceSize")) {
            auto o = numbersIn(std::string(ss->value(), ss->value_size()));
            if (o.size() == 2) {
                f.srcW = o[0];
                f.srcH = o[1];
            }
        }
        if (!list.frames.emplace(name, f).second) p.add(rel, "frame '" + name + "' is listed twice");
    }
    if (auto* meta = valueOf(top, "metadata")) {
        if (auto* t = valueOf(meta, "textureFileName")) list.textureFileName.assign(t->value(), t->value_size());
        if (auto* s = valueOf(meta, "size")) {
            auto o = numbersIn(std::string(s->value(), s->value_size()));
            if (o.size() == 2) {
                list.width = o[0];
                list.height = o[1];
            }
        }
    }
    return list;
}

std::optional<std::map<std::string, PlistValue>> loadPlistDict(const Tree& tree, const std::string& rel, Problems& p) {
    auto x = loadXml(tree, rel, p);
    if (!x) return std::nullopt;
    auto* plist = x->doc.first_node("plist");
    auto* dict = plist ? plist->first_node("dict") : nullptr;
    if (!dict) {
        p.add(rel, "not a property list (no plist/dict)");
        return std::nullopt;
    }
    std::map<std::string, PlistValue> out;
    for (auto* k = dict->first_node("key"); k; k = k->next_sibling("key")) {
        auto* v = k->next_sibling();
        while (v && v->type() != rapidxml::node_element) v = v->next_sibling();
        if (!v) {
            p.add(rel, "key '" + std::string(k->value(), k->value_size()) + "' has no value");
            continue;
        }
        out[std::string(k->value(), k->value_size())] = {v->name(), std::string(v->value(), v->value_size())};
    }
    return out;
}

namespace {

std::uint32_t be32(const std::string& b, std::size_t at) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16) |
           (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}
std::uint32_t be16(const std::string& b, std::size_t at) {
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 8) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1]));
}

const char kPngSig[8] = {'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};

}  // namespace

std::optional<ImageInfo> imageInfo(const Tree& tree, const std::string& rel, Problems& p) {
    auto b = tree.read(rel);
    if (!b) {
        p.add(rel, "missing");
        return std::nullopt;
    }
    ImageInfo info;
    if (b->size() >= 33 && std::memcmp(b->data(), kPngSig, 8) == 0 && b->compare(12, 4, "IHDR") == 0) {
        info.format = "png";
        info.width = static_cast<int>(be32(*b, 16));
        info.height = static_cast<int>(be32(*b, 20));
        info.pngBitDepth = static_cast<unsigned char>((*b)[24]);
        info.pngColorType = static_cast<unsigned char>((*b)[25]);
        info.pngInterlace = static_cast<unsigned char>((*b)[28]);
        return info;
    }
    if (b->size() >= 4 && static_cast<unsigned char>((*b)[0]) == 0xFF && static_cast<unsigned char>((*b)[1]) == 0xD8) {
        info.format = "jpeg";
        std::size_t at = 2;
        while (at + 4 <= b->size()) {
            if (static_cast<unsigned char>((*b)[at]) != 0xFF) break;
            unsigned marker = static_cast<unsigned char>((*b)[at + 1]);
            std::uint32_t len = be16(*b, at + 2);
            if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
                if (at + 10 > b->size()) break;
                info.jpegBaseline = marker == 0xC0;
                info.height = static_cast<int>(be16(*b, at + 5));
                info.width = static_cast<int>(be16(*b, at + 7));
                info.jpegComponents = static_cast<unsigned char>((*b)[at + 9]);
                return info;
            }
            if (marker == 0xDA || len < 2) break;
            at += 2 + len;
        }
        p.add(rel, "JPEG without a frame header");
        return std::nullopt;
    }
    p.add(rel, "neither a PNG nor a JPEG");
    return std::nullopt;
}

std::optional<Pixels> decodePngBytes(const std::string& b, std::string& error) {
    if (b.size() < 33 || std::memcmp(b.data(), kPngSig, 8) != 0) {
        error = "not a PNG";
        return std::nullopt;
    }
    std::size_t at = 8;
    int w = 0, h = 0, depth = 0, type = -1, interlace = 0;
    std::string idat;
    bool ended = false;
    while (at + 12 <= b.size()) {
        std::uint32_t len = be32(b, at);
        if (len > b.size() - at - 12) {
            error = "truncated chunk";
            return std::nullopt;
        }
        std::string tag = b.substr(at + 4, 4);
        if (tag == "IHDR" && len >= 13) {
            w = static_cast<int>(be32(b, at + 8));
            h = static_cast<int>(be32(b, at + 12));
            depth = static_cast<unsigned char>(b[at + 16]);
            type = static_cast<unsigned char>(b[at + 17]);
            interlace = static_cast<unsigned char>(b[at + 20]);
        } else if (tag == "IDAT") {
            idat.append(b, at + 8, len);
        } else if (tag == "IEND") {
            ended = true;
            break;
        }
        at += 12 + len;
    }
    if (!ended) {
        error = "no IEND chunk";
        return std::nullopt;
    }
    if (depth != 8 || (type != 6 && type != 2) || interlace != 0 || w <= 0 || h <= 0 || w > 8192 || h > 8192) {
        error = "not an 8-bit non-interlaced RGB(A) PNG";
        return std::nullopt;
    }
    int bpp = type == 6 ? 4 : 3;
    std::size_t stride = static_cast<std::size_t>(w) * bpp;
    std::vector<std::uint8_t> raw((stride + 1) * h);
    uLongf rawLen = static_cast<uLongf>(raw.size());
    if (uncompress(raw.data(), &rawLen, reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size())) != Z_OK ||
        rawLen != raw.size()) {
        error = "image data does not inflate to its size";
        return std::nullopt;
    }
    Pixels px;
    px.width = w;
    px.height = h;
    px.rgba.resize(static_cast<std::size_t>(w) * h * 4);
    std::vector<std::uint8_t> prev(stride, 0), cur(stride);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* line = &raw[(stride + 1) * y];
        std::uint8_t filter = line[0];
        for (std::size_t i = 0; i < stride; ++i) {
            int a = i >= static_cast<std::size_t>(bpp) ? cur[i - bpp] : 0;
            int up = prev[i];
            int c = i >= static_cast<std::size_t>(bpp) ? prev[i - bpp] : 0;
            int pred = 0;
            switch (filter) {
                case 0: pred = 0; break;
                case 1: pred = a; break;
                case 2: pred = up; break;
                case 3: pred = (a + up) / 2; break;
                case 4: {
                    int pp = a + up - c, pa = std::abs(pp - a), pb = std::abs(pp - up), pc = std::abs(pp - c);
                    pred = (pa <= pb && pa <= pc) ? a : (pb <= pc ? up : c);
                    break;
                }
                default: error = "unknown row filter"; return std::nullopt;
            }
            cur[i] = static_cast<std::uint8_t>(line[1 + i] + pred);
        }
        for (int x = 0; x < w; ++x) {
            std::uint8_t* o = &px.rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            o[0] = cur[x * bpp];
            o[1] = cur[x * bpp + 1];
            o[2] = cur[x * bpp + 2];
            o[3] = bpp == 4 ? cur[x * bpp + 3] : 255;
        }
        std::swap(prev, cur);
    }
    return px;
}

std::optional<Pixels> decodePng(const Tree& tree, const std::string& rel, Problems& p) {
    auto b = tree.read(rel);
    if (!b) {
        p.add(rel, "missing");
        return std::nullopt;
    }
    std::string error;
    auto px = decodePngBytes(*b, error);
    if (!px) p.add(rel, "PNG does not decode: " + error);
    return px;
}

std::string encodePngBytes(const Pixels& px) {
    auto put32 = [](std::string& s, std::uint32_t v) {
        for (int i = 3; i >= 0; --i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    auto chunk = [&](std::string& out, const char* tag, const std::string& data) {
        put32(out, static_cast<std::uint32_t>(data.size()));
        std::string td = std::string(tag, 4) + data;
        out += td;
        put32(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(td.data()), static_cast<uInt>(td.size()))));
    };
    std::string out(kPngSig, 8), ihdr;
    put32(ihdr, static_cast<std::uint32_t>(px.width));
    put32(ihdr, static_cast<std::uint32_t>(px.height));
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);
    chunk(out, "IHDR", ihdr);
    std::string raw;
    for (int y = 0; y < px.height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(px.at(0, y)), static_cast<std::size_t>(px.width) * 4);
    }
    uLongf len = compressBound(static_cast<uLong>(raw.size()));
    std::string z(len, '\0');
    compress(reinterpret_cast<Bytef*>(z.data()), &len, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    z.resize(len);
    chunk(out, "IDAT", z);
    chunk(out, "IEND", "");
    return out;
}

std::optional<Mp3Info> mp3InfoBytes(const std::string& b, std::string& error) {
    static const int kBitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    static const int kRates[4] = {44100, 48000, 32000, 0};
    std::size_t at = 0, end = b.size();
    if (end >= 10 && b.compare(0, 3, "ID3") == 0) {
        std::size_t size = ((b[6] & 0x7F) << 21) | ((b[7] & 0x7F) << 14) | ((b[8] & 0x7F) << 7) | (b[9] & 0x7F);
        at = 10 + size;
    }
    Mp3Info info;
    if (end >= 128 && b.compare(end - 128, 3, "TAG") == 0) {
        info.id3v1 = true;
        end -= 128;
    }
    bool first = true;
    while (at + 4 <= end) {
        std::uint32_t h = be32(b, at);
        if ((h >> 21) != 0x7FF) {
            error = "no MPEG frame at offset " + std::to_string(at);
            return std::nullopt;
        }
        int version = (h >> 19) & 3, layer = (h >> 17) & 3, bri = (h >> 12) & 15, sri = (h >> 10) & 3;
        int pad = (h >> 9) & 1, mode = (h >> 6) & 3;
        if (version != 3 || layer != 1 || kBitrates[bri] == 0 || kRates[sri] == 0) {
            error = "frame at offset " + std::to_string(at) + " is not MPEG-1 Layer III";
            return std::nullopt;
        }
        int bitrate = kBitrates[bri], rate = kRates[sri], channels = mode == 3 ? 1 : 2;
        std::size_t len = static_cast<std::size_t>(144 * bitrate * 1000 / rate + pad);
        if (at + len > end) {
            error = "frame at offset " + std::to_string(at) + " is cut short";
            return std::nullopt;
        }
        if (first) {
            info.version = 1;
            info.layer = 3;
            info.sampleRate = rate;
            info.channels = channels;
        } else if (rate != info.sampleRate || channels != info.channels) {
            error = "frame at offset " + std::to_string(at) + " changes rate or channels";
            return std::nullopt;
        }
        // An Info/Xing frame at the start carries the stream's totals, not audio.
        std::size_t side = channels == 1 ? 17 : 32;
        bool tagFrame = first && at + 4 + side + 4 <= end &&
                        (b.compare(at + 4 + side, 4, "Info") == 0 || b.compare(at + 4 + side, 4, "Xing") == 0);
        if (!tagFrame) {
            info.bitrates.insert(bitrate);
            ++info.frames;
        }
        first = false;
        at += len;
    }
    if (info.frames == 0) {
        error = "no audio frames";
        return std::nullopt;
    }
    info.seconds = info.frames * 1152.0 / info.sampleRate;
    return info;
}

std::optional<Mp3Info> mp3Info(const Tree& tree, const std::string& rel, Problems& p) {
    auto b = tree.read(rel);
    if (!b) {
        p.add(rel, "missing");
        return std::nullopt;
    }
    std::string error;
    auto info = mp3InfoBytes(*b, error);
    if (!info) p.add(rel, "not a valid MP3: " + error);
    return info;
}

std::optional<std::set<char32_t>> fontCharacters(const Tree& tree, const std::string& rel, Problems& p) {
    auto b = tree.read(rel);
    if (!b) {
        p.add(rel, "missing");
        return std::nullopt;
    }
    const std::string& f = *b;
    auto fail = [&](const std::string& why) -> std::optional<std::set<char32_t>> {
        p.add(rel, "not a readable TrueType font: " + why);
        return std::nullopt;
    };
    if (f.size() < 12) return fail("too short");
    std::uint32_t numTables = be16(f, 4);
    std::size_t cmap = 0, cmapLen = 0;
    for (std::uint32_t i = 0; i < numTables; ++i) {
        std::size_t rec = 12 + 16 * i;
        if (rec + 16 > f.size()) return fail("table directory truncated");
        if (f.compare(rec, 4, "cmap") == 0) {
            cmap = be32(f, rec + 8);
            cmapLen = be32(f, rec + 12);
        }
    }
    if (cmap == 0 || cmap + cmapLen > f.size() || cmapLen < 4) return fail("no cmap table");
    std::uint32_t subtables = be16(f, cmap + 2);
    std::size_t best4 = 0, best12 = 0;
    for (std::uint32_t i = 0; i < subtables; ++i) {
        std::size_t rec = cmap + 4 + 8 * i;
        if (rec + 8 > cmap + cmapLen) return fail("cmap truncated");
        std::uint32_t platform = be16(f, rec), encoding = be16(f, rec + 2);
        std::size_t off = cmap + be32(f, rec + 4);
        if (off + 4 > f.size()) continue;
        std::uint32_t format = be16(f, off);
        if (format == 12 && (platform == 3 || platform == 0)) best12 = off;
        if (format == 4 && ((platform == 3 && encoding == 1) || platform == 0)) best4 = off;
    }
    std::set<char32_t> chars;
    if (best12) {
        if (best12 + 16 > f.size()) return fail("format 12 truncated");
        std::uint32_t groups = be32(f, best12 + 12);
        if (best12 + 16 + static_cast<std::size_t>(groups) * 12 > f.size()) return fail("format 12 truncated");
        for (std::uint32_t g = 0; g < groups; ++g) {
            std::size_t at = best12 + 16 + 12 * g;
            std::uint32_t s = be32(f, at), e = be32(f, at + 4);
            for (std::uint32_t c = s; c <= e && c < 0x110000 && e - s < 0x20000; ++c) chars.insert(c);
        }
        return chars;
    }
    if (!best4) return fail("no Unicode cmap subtable");
    std::size_t o = best4;
    if (o + 14 > f.size()) return fail("format 4 truncated");
    std::uint32_t segX2 = be16(f, o + 6);
    std::size_t ends = o + 14, starts = ends + segX2 + 2, deltas = starts + segX2, ranges = deltas + segX2;
    if (ranges + segX2 > f.size()) return fail("format 4 truncated");
    for (std::uint32_t s = 0; s < segX2 / 2; ++s) {
        std::uint32_t e = be16(f, ends + 2 * s), st = be16(f, starts + 2 * s);
        std::uint32_t delta = be16(f, deltas + 2 * s), ro = be16(f, ranges + 2 * s);
        for (std::uint32_t c = st; c <= e && c != 0xFFFF; ++c) {
            std::uint32_t glyph;
            if (ro == 0) {
                glyph = (c + delta) & 0xFFFF;
            } else {
                std::size_t at = ranges + 2 * s + ro + 2 * (c - st);
                if (at + 2 > f.size()) break;
                glyph = be16(f, at);
                if (glyph) glyph = (glyph + delta) & 0xFFFF;
            }
            if (glyph) chars.insert(c);
        }
    }
    return chars;
}

bool decodeUtf8(const std::string& s, std::vector<char32_t>& out) {
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        int n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (int k = 1; k < n; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc >> 6) != 2) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        out.push_back(cp);
        i += n;
    }
    return true;
}

}  // namespace restest
