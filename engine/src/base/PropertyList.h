#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cocos2d {
namespace plist {

// One value of an XML property list. Numbers keep their text; the readers below convert and check it.
struct Value {
    enum class Type { String, Real, Integer, Bool, Dict, Array, Other };

    Type type = Type::Other;
    std::string text;
    bool boolean = false;
    // A dict, in file order: keys[i] names values[i]. (Two vectors, since a pair cannot hold the
    // still incomplete Value.)
    std::vector<std::string> keys;
    std::vector<Value> values;
    std::vector<Value> items;  // an array

    // The first entry with the key, or null (also when this is no dict).
    const Value* find(const std::string& key) const;
};

// Elements nested deeper than this, <plist> included, are refused: our lists nest five levels (plist,
// dict, frames, a frame, its values).
constexpr int kMaxDepth = 32;

// Parses `<plist><dict>...</dict></plist>` (the root may be any value). False with `error` set on
// malformed XML (rapidxml's message), a structure that is no property list, or nesting deeper than
// kMaxDepth. Never throws.
bool parse(const std::string& xml, Value& root, std::string& error);

// The whole text as one finite number; surrounding spaces allowed.
bool toNumber(const std::string& text, double& out);
// "{{x,y},{w,h}}", "{x,y}" and the like: braces and spaces dropped, split at commas, exactly `count`
// finite numbers.
bool toNumbers(const std::string& text, size_t count, double* out);

}  // namespace plist
}  // namespace cocos2d
