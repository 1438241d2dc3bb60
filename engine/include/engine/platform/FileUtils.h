#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/base/Data.h"

namespace cocos2d {

// Finds resource files. A relative name is looked up in the resource root itself, then in each search
// path in order (relative search paths are resolved against the root); the first file that exists wins.
// Names are case-sensitive. An absolute name is used as it is.
//
// The resource root is "Resources/" next to the executable, else "../share/kestrova/Resources/"
// relative to it.
class FileUtils {
public:
    static FileUtils* getInstance();
    static void destroyInstance();

    // Appended (or put first with front = true).
    void addSearchPath(const std::string& path, bool front = false);
    void setSearchPaths(const std::vector<std::string>& paths);
    const std::vector<std::string>& getSearchPaths() const { return _searchPaths; }

    // (ours) For tests and tools; ends with "/".
    void setResourceRoot(const std::string& root);
    const std::string& getResourceRoot() const { return _resourceRoot; }

    // The full path, or "" when no file is found.
    std::string fullPathForFilename(const std::string& filename) const;
    bool isFileExist(const std::string& filename) const;
    bool isDirectoryExist(const std::string& dirPath) const;
    bool isAbsolutePath(const std::string& path) const;

    // The whole file as bytes; "" and one log line when it is missing or unreadable.
    std::string getStringFromFile(const std::string& filename) const;
    // The whole file; empty and one log line when it is missing or unreadable.
    Data getDataFromFile(const std::string& filename) const;

    // $XDG_DATA_HOME/<app>/, else $HOME/.local/share/<app>/, always ending in "/"; the folder and its
    // parents are created on the first call after the environment changes.
    std::string getWritablePath() const;

    // Forgets resolved paths (after files appeared or moved).
    void purgeCachedEntries();

private:
    FileUtils();
    static std::string defaultResourceRoot();

    std::string _resourceRoot;
    std::vector<std::string> _searchPaths;
    mutable std::unordered_map<std::string, std::string> _fullPathCache;
    mutable std::string _createdWritablePath;
};

}  // namespace cocos2d
