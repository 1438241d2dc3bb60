#include "engine/services/DesktopServices.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "engine/base/Log.h"

namespace cocos2d {
namespace {

namespace fs = std::filesystem;

std::string home() {
    const char* h = std::getenv("HOME");
    return h && *h ? h : "/tmp";
}

// One value of user-dirs.dirs: XDG_PICTURES_DIR="$HOME/Pictures" (quoted, $HOME at the start only).
std::string readUserDir(const std::string& file, const std::string& key) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.compare(0, key.size() + 1, key + "=") != 0) {
            continue;
        }
        std::string value = line.substr(key.size() + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.compare(0, 5, "$HOME") == 0) {
            value = home() + value.substr(5);
        }
        if (value.empty() || value[0] != '/') {
            return "";  // the format allows only absolute paths or $HOME-relative ones
        }
        while (value.size() > 1 && value.back() == '/') {
            value.pop_back();
        }
        return value;
    }
    return "";
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    if (!path) {
        return false;
    }
    std::string dirs = path;
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = dirs.find(':', start);
        const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return false;
}

// Runs a program with arguments (never through a shell); true on exit status 0.
bool runQuietly(const std::vector<std::string>& args) {
    const pid_t pid = fork();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        std::vector<char*> argv;
        for (const auto& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::string DesktopServices::getPicturesFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string configDir = (config && config[0] == '/') ? std::string(config) : home() + "/.config";
    const std::string fromFile = readUserDir(configDir + "/user-dirs.dirs", "XDG_PICTURES_DIR");
    if (!fromFile.empty() && fromFile != home()) {
        return fromFile;
    }
    return home() + "/Pictures";
}

std::string DesktopServices::copyFile(const std::string& source, const std::string& destination) {
    std::error_code ec;
    if (source.empty() || destination.empty()) {
        return "";
    }
    fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        logAt(LogLevel::Warning, "DesktopServices: cannot copy [%s] to [%s]: %s", source.c_str(),
              destination.c_str(), ec.message().c_str());
        return "";
    }
    return destination;
}

bool DesktopServices::setDesktopWallpaper(const std::string& imagePath) {
    static bool loggedUnavailable = false;
    if (imagePath.empty() || !fs::is_regular_file(imagePath)) {
        logAt(LogLevel::Warning, "DesktopServices: no wallpaper image [%s]", imagePath.c_str());
        return false;
    }
    const std::string schema = "org.gnome.desktop.background";
    if (onPath("gsettings") && runQuietly({"gsettings", "writable", schema, "picture-uri"})) {
        const std::string uri = "file://" + fs::absolute(imagePath).string();
        const bool ok = runQuietly({"gsettings", "set", schema, "picture-uri", uri}) &&
                        runQuietly({"gsettings", "set", schema, "picture-options", "stretched"});
        // Newer desktops read a separate key in dark mode; set it too when it exists.
        runQuietly({"gsettings", "set", schema, "picture-uri-dark", uri});
        if (ok) {
            return true;
        }
    }
    if (!loggedUnavailable) {
        loggedUnavailable = true;
        log("DesktopServices: setting the desktop wallpaper is not available on this desktop");
    }
    return false;
}

}  // namespace cocos2d
