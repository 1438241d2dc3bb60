#pragma once

#include <rapidjson/document.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/Color.h"

namespace assetgen {

// One parsed recipe file. Recipes are small JSON documents; every reader below names the file
// and the place in it when something is missing or of the wrong type.
class RecipeFile {
public:
    static std::shared_ptr<const RecipeFile> load(const std::filesystem::path& path, const std::string& displayName);
    const std::string& name() const { return _name; }
    const rapidjson::Value& root() const { return _doc; }

private:
    std::string _name;
    rapidjson::Document _doc;
};

// A JSON object of a recipe, with typed readers. Every key read is remembered, so that
// finish() can reject keys nobody reads (a misspelt key fails the build instead of being lost).
class RecipeNode {
public:
    RecipeNode(std::shared_ptr<const RecipeFile> file, const rapidjson::Value* value, std::string where);

    static RecipeNode rootOf(const std::shared_ptr<const RecipeFile>& file);

    bool has(const char* key) const;
    RecipeNode object(const char* key) const;
    std::optional<RecipeNode> optObject(const char* key) const;
    std::vector<RecipeNode> objects(const char* key) const;      // required array of objects
    std::vector<RecipeNode> optObjects(const char* key) const;   // absent: empty
    double number(const char* key) const;
    double number(const char* key, double fallback) const;
    int integer(const char* key) const;
    int integer(const char* key, int fallback) const;
    std::string text(const char* key) const;
    std::string text(const char* key, const std::string& fallback) const;
    std::vector<std::string> texts(const char* key) const;       // absent: empty
    std::vector<double> numbers(const char* key) const;          // absent: empty
    bool flag(const char* key, bool fallback) const;
    Rgb color(const char* key) const;
    Rgb color(const char* key, const Rgb& fallback) const;
    std::vector<Rgb> colors(const char* key) const;              // absent: empty

    // Throws when the object holds a key that no reader asked for.
    void finish() const;
    [[noreturn]] void fail(const std::string& message) const;
    const std::string& where() const { return _where; }
    const std::string& fileName() const { return _file->name(); }

private:
    const rapidjson::Value* member(const char* key) const;
    const rapidjson::Value& required(const char* key) const;

    std::shared_ptr<const RecipeFile> _file;
    const rapidjson::Value* _value;
    std::string _where;
    std::shared_ptr<std::set<std::string>> _used;
};

}  // namespace assetgen
