#include "engine/platform/FileUtils.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

#include "engine/base/Log.h"
#include "engine/platform/Application.h"

namespace cocos2d {
namespace {

namespace fs = std::filesystem;

FileUtils*& instanceSlot() {
    static FileUtils* instance = nullptr;
    return instance;
}

std::string withSlash(std::string path) {
    if (!path.empty() && path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) {
        return home;
    }
    if (const passwd* pw = getpwuid(getuid())) {
        if (pw->pw_dir) {
            return pw->pw_dir;
        }
    }
    return "/tmp";
}

bool readWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

FileUtils* FileUtils::getInstance() {
    FileUtils*& instance = instanceSlot();
    if (!instance) {
        instance = new FileUtils();
    }
    return instance;
}

void FileUtils::destroyInstance() {
    FileUtils*& instance = instanceSlot();
    delete instance;
    instance = nullptr;
}

FileUtils::FileUtils() : _resourceRoot(defaultResourceRoot()) {}

std::string FileUtils::defaultResourceRoot() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return withSlash((fs::current_path(ec) / "Resources").string());
    }
    const fs::path beside = exe.parent_path() / "Resources";
    if (fs::is_directory(beside, ec)) {
        return withSlash(beside.string());
    }
    const fs::path installed = (exe.parent_path() / ".." / "share" / "kestrova" / "Resources").lexically_normal();
    if (fs::is_directory(installed, ec)) {
        return withSlash(installed.string());
    }
    return withSlash(beside.string());
}

void FileUtils::addSearchPath(const std::string& path, bool front) {
    const std::string entry = withSlash(path);
    if (front) {
        _searchPaths.insert(_searchPaths.begin(), entry);
    } else {
        _searchPaths.push_back(entry);
    }
    _fullPathCache.clear();
}

void FileUtils::setSearchPaths(const std::vector<std::string>& paths) {
    _searchPaths.clear();
    for (const auto& path : paths) {
        _searchPaths.push_back(withSlash(path));
    }
    _fullPathCache.clear();
}

void FileUtils::setResourceRoot(const std::string& root) {
    _resourceRoot = withSlash(root);
    _fullPathCache.clear();
}

void FileUtils::purgeCachedEntries() {
    _fullPathCache.clear();
}

bool FileUtils::isAbsolutePath(const std::string& path) const {
    return !path.empty() && path[0] == '/';
}

std::string FileUtils::fullPathForFilename(const std::string& filename) const {
    if (filename.empty()) {
        return "";
    }
    if (isAbsolutePath(filename)) {
        return isRegularFile(filename) ? filename : "";
    }
    auto cached = _fullPathCache.find(filename);
    if (cached != _fullPathCache.end()) {
        return cached->second;
    }
    std::vector<std::string> folders;
    folders.push_back(_resourceRoot);
    for (const auto& searchPath : _searchPaths) {
        folders.push_back(isAbsolutePath(searchPath) ? searchPath : _resourceRoot + searchPath);
    }
    for (const auto& folder : folders) {
        const std::string candidate = fs::path(folder + filename).lexically_normal().string();
        if (isRegularFile(candidate)) {
            _fullPathCache.emplace(filename, candidate);
            return candidate;
        }
    }
    return "";
}

bool FileUtils::isFileExist(const std::string& filename) const {
    return !fullPathForFilename(filename).empty();
}

bool FileUtils::isDirectoryExist(const std::string& dirPath) const {
    std::error_code ec;
    if (isAbsolutePath(dirPath)) {
        return fs::is_directory(dirPath, ec);
    }
    if (fs::is_directory(_resourceRoot + dirPath, ec)) {
        return true;
    }
    for (const auto& searchPath : _searchPaths) {
        const std::string folder = isAbsolutePath(searchPath) ? searchPath : _resourceRoot + searchPath;
        if (fs::is_directory(folder + dirPath, ec)) {
            return true;
        }
    }
    return false;
}

std::string FileUtils::getStringFromFile(const std::string& filename) const {
    const std::string path = fullPathForFilename(filename);
    std::string contents;
    if (path.empty()) {
        logAt(LogLevel::Warning, "FileUtils: [%s] not found", filename.c_str());
        return contents;
    }
    if (!readWholeFile(path, contents)) {
        logAt(LogLevel::Warning, "FileUtils: [%s] could not be read", path.c_str());
        contents.clear();
    }
    return contents;
}

Data FileUtils::getDataFromFile(const std::string& filename) const {
    const std::string path = fullPathForFilename(filename);
    if (path.empty()) {
        logAt(LogLevel::Warning, "FileUtils: [%s] not found", filename.c_str());
        return Data();
    }
    std::string contents;
    if (!readWholeFile(path, contents)) {
        logAt(LogLevel::Warning, "FileUtils: [%s] could not be read", path.c_str());
        return Data();
    }
    return Data(reinterpret_cast<const unsigned char*>(contents.data()), contents.size());
}

std::string FileUtils::getWritablePath() const {
    std::string base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (xdg && xdg[0] == '/') {
        base = xdg;
    } else {
        base = homeFolder() + "/.local/share";
    }
    const std::string path = withSlash(withSlash(base) + Application::getAppName());
    if (path != _createdWritablePath) {
        std::error_code ec;
        fs::create_directories(path, ec);
        if (ec) {
            logAt(LogLevel::Error, "FileUtils: cannot create writable folder [%s]: %s", path.c_str(),
                  ec.message().c_str());
        } else {
            _createdWritablePath = path;
        }
    }
    return path;
}

}  // namespace cocos2d
