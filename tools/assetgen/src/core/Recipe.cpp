#include "core/Recipe.h"

#include <rapidjson/error/en.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "core/Error.h"

namespace assetgen {

std::shared_ptr<const RecipeFile> RecipeFile::load(const std::filesystem::path& path, const std::string& displayName) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw GenError(displayName + ": cannot read the recipe");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto file = std::make_shared<RecipeFile>();
    file->_name = displayName;
    file->_doc.Parse(text.c_str(), text.size());
    if (file->_doc.HasParseError()) {
        throw GenError(displayName + ": malformed JSON at offset " + std::to_string(file->_doc.GetErrorOffset()) +
                       ": " + rapidjson::GetParseError_En(file->_doc.GetParseError()));
    }
    if (!file->_doc.IsObject()) throw GenError(displayName + ": the recipe must be a JSON object");
    return file;
}

RecipeNode::RecipeNode(std::shared_ptr<const RecipeFile> file, const rapidjson::Value* value, std::string where)
    : _file(std::move(file)), _value(value), _where(std::move(where)), _used(std::make_shared<std::set<std::string>>()) {
    if (!_value->IsObject()) fail("expected an object");
}

RecipeNode RecipeNode::rootOf(const std::shared_ptr<const RecipeFile>& file) {
    return RecipeNode(file, &file->root(), "");
}

void RecipeNode::fail(const std::string& message) const {
    throw GenError(_file->name() + ": " + (_where.empty() ? std::string() : _where + ": ") + message);
}

const rapidjson::Value* RecipeNode::member(const char* key) const {
    _used->insert(key);
    auto it = _value->FindMember(key);
    return it == _value->MemberEnd() ? nullptr : &it->value;
}

const rapidjson::Value& RecipeNode::required(const char* key) const {
    const rapidjson::Value* v = member(key);
    if (!v) fail(std::string("missing \"") + key + "\"");
    return *v;
}

bool RecipeNode::has(const char* key) const { return member(key) != nullptr; }

static std::string child(const std::string& where, const std::string& key) {
    return where.empty() ? key : where + "." + key;
}

RecipeNode RecipeNode::object(const char* key) const {
    const rapidjson::Value& v = required(key);
    if (!v.IsObject()) fail(std::string("\"") + key + "\" must be an object");
    return RecipeNode(_file, &v, child(_where, key));
}

std::optional<RecipeNode> RecipeNode::optObject(const char* key) const {
    if (!has(key)) return std::nullopt;
    return object(key);
}

std::vector<RecipeNode> RecipeNode::objects(const char* key) const {
    const rapidjson::Value& v = required(key);
    if (!v.IsArray()) fail(std::string("\"") + key + "\" must be an array");
    std::vector<RecipeNode> out;
    for (rapidjson::SizeType i = 0; i < v.Size(); ++i) {
        std::string w = child(_where, key) + "[" + std::to_string(i) + "]";
        if (!v[i].IsObject()) fail(w + " must be an object");
        out.emplace_back(_file, &v[i], w);
    }
    return out;
}

std::vector<RecipeNode> RecipeNode::optObjects(const char* key) const {
    if (!has(key)) return {};
    return objects(key);
}

double RecipeNode::number(const char* key) const {
    const rapidjson::Value& v = required(key);
    if (!v.IsNumber()) fail(std::string("\"") + key + "\" must be a number");
    double d = v.GetDouble();
    if (!std::isfinite(d)) fail(std::string("\"") + key + "\" must be finite");
    return d;
}

double RecipeNode::number(const char* key, double fallback) const { return has(key) ? number(key) : fallback; }

int RecipeNode::integer(const char* key) const {
    const rapidjson::Value& v = required(key);
    if (!v.IsInt()) fail(std::string("\"") + key + "\" must be an integer");
    return v.GetInt();
}

int RecipeNode::integer(const char* key, int fallback) const { return has(key) ? integer(key) : fallback; }

std::string RecipeNode::text(const char* key) const {
    const rapidjson::Value& v = required(key);
    if (!v.IsString()) fail(std::string("\"") + key + "\" must be a string");
    return std::string(v.GetString(), v.GetStringLength());
}

std::string RecipeNode::text(const char* key, const std::string& fallback) const {
    return has(key) ? text(key) : fallback;
}

std::vector<std::string> RecipeNode::texts(const char* key) const {
    std::vector<std::string> out;
    if (!has(key)) return out;
    const rapidjson::Value& v = required(key);
    if (!v.IsArray()) fail(std::string("\"") + key + "\" must be an array of strings");
    for (const auto& e : v.GetArray()) {
        if (!e.IsString()) fail(std::string("\"") + key + "\" must be an array of strings");
        out.emplace_back(e.GetString(), e.GetStringLength());
    }
    return out;
}

std::vector<double> RecipeNode::numbers(const char* key) const {
    std::vector<double> out;
    if (!has(key)) return out;
    const rapidjson::Value& v = required(key);
    if (!v.IsArray()) fail(std::string("\"") + key + "\" must be an array of numbers");
    for (const auto& e : v.GetArray()) {
        if (!e.IsNumber()) fail(std::string("\"") + key + "\" must be an array of numbers");
        out.push_back(e.GetDouble());
    }
    return out;
}

bool RecipeNode::flag(const char* key, bool fallback) const {
    if (!has(key)) return fallback;
    const rapidjson::Value& v = required(key);
    if (!v.IsBool()) fail(std::string("\"") + key + "\" must be true or false");
    return v.GetBool();
}

Rgb RecipeNode::color(const char* key) const {
    std::string t = text(key);
    Rgb c;
    if (!parseHexColor(t, c)) fail(std::string("\"") + key + "\" must be a colour \"#rrggbb\", not \"" + t + "\"");
    return c;
}

Rgb RecipeNode::color(const char* key, const Rgb& fallback) const { return has(key) ? color(key) : fallback; }

std::vector<Rgb> RecipeNode::colors(const char* key) const {
    std::vector<Rgb> out;
    for (const std::string& t : texts(key)) {
        Rgb c;
        if (!parseHexColor(t, c)) fail(std::string("\"") + key + "\" holds \"" + t + "\", not a colour \"#rrggbb\"");
        out.push_back(c);
    }
    return out;
}

void RecipeNode::finish() const {
    for (auto it = _value->MemberBegin(); it != _value->MemberEnd(); ++it) {
        std::string key(it->name.GetString(), it->name.GetStringLength());
        if (!_used->count(key)) fail("unknown key \"" + key + "\"");
    }
}

}  // namespace assetgen
