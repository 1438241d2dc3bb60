#include "engine/services/DesktopServices.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
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

// Runs a program with arguments (never through a shell) and gives what it printed on stdout, or
// nullopt unless it exited with status 0.
std::optional<std::string> runForOutput(const std::vector<std::string>& args) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return std::nullopt;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        std::vector<char*> argv;
        for (const auto& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        dup2(pipeEnds[1], STDOUT_FILENO);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDERR_FILENO);
        }
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    std::string output;
    char buffer[512];
    ssize_t n = 0;
    while ((n = read(pipeEnds[0], buffer, sizeof(buffer))) > 0) {
        output.append(buffer, static_cast<size_t>(n));
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return output;
}

// A string in GVariant's text form, as gsettings reads and prints it.
std::string gvariantString(const std::string& value) {
    std::string quoted = "'";
    for (const char c : value) {
        if (c == '\\' || c == '\'') {
            quoted.push_back('\\');
        }
        quoted.push_back(c);
    }
    quoted.push_back('\'');
    return quoted;
}

// Sets a key and reads it back in a new process: without a session's settings store gsettings falls
// back to a private in-memory one and still exits with 0, which no desktop ever sees.
bool setAndConfirm(const std::string& schema, const std::string& key, const std::string& value) {
    const std::string typed = gvariantString(value);
    if (!runQuietly({"gsettings", "set", schema, key, typed})) {
        return false;
    }
    const std::optional<std::string> stored = runForOutput({"gsettings", "get", schema, key});
    if (!stored) {
        return false;
    }
    std::string trimmed = *stored;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == ' ')) {
        trimmed.pop_back();
    }
    // A value holding a single quote comes back in double quotes.
    const bool plain = value.find_first_of("\\\"") == std::string::npos;
    return trimmed == typed || (plain && trimmed == "\"" + value + "\"");
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
    const fs::path folder = fs::path(destination).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        // A fresh account may have no pictures folder yet.
        fs::create_directories(folder, ec);
        if (ec) {
            logAt(LogLevel::Warning, "DesktopServices: cannot create the folder [%s]: %s", folder.c_str(),
                  ec.message().c_str());
            return "";
        }
    }
    fs::copy_file(source, destination, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        logAt(LogLevel::Warning, "DesktopServices: cannot copy [%s] to [%s]: %s", source.c_str(),
              destination.c_str(), ec.message().c_str());
        return "";
    }
    return destination;
}

std::string DesktopServices::fileUri(const std::string& absolutePath) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    uri.reserve(uri.size() + absolutePath.size() * 3);
    for (const char ch : absolutePath) {
        const auto c = static_cast<unsigned char>(ch);
        const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                          c == '.' || c == '_' || c == '~' || c == '/';
        if (keep) {
            uri.push_back(ch);
        } else {
            uri.push_back('%');
            uri.push_back(kHex[c >> 4]);
            uri.push_back(kHex[c & 0x0F]);
        }
    }
    return uri;
}

bool DesktopServices::setDesktopWallpaper(const std::string& imagePath) {
    std::error_code ec;
    if (imagePath.empty() || !fs::is_regular_file(imagePath, ec)) {
        logAt(LogLevel::Warning, "DesktopServices: no wallpaper image [%s]", imagePath.c_str());
        return false;
    }
    const std::string path = fs::absolute(imagePath, ec).lexically_normal().string();
    const std::string uri = fileUri(path);
    bool accepted = false;

    if (onPath("gsettings")) {
        struct Schema {
            const char* name;
            const char* key;
            bool takesUri;
        };
        constexpr Schema kSchemas[] = {
            {"org.gnome.desktop.background", "picture-uri", true},
            {"org.cinnamon.desktop.background", "picture-uri", true},
            {"org.mate.background", "picture-filename", false},
        };
        for (const Schema& schema : kSchemas) {
            // A schema that is not installed, or locked, is not writable: that desktop is not here.
            if (!runQuietly({"gsettings", "writable", schema.name, schema.key})) {
                continue;
            }
            const bool ok = setAndConfirm(schema.name, schema.key, schema.takesUri ? uri : path);
            if (ok) {
                runQuietly({"gsettings", "set", schema.name, "picture-options", "stretched"});
                if (schema.takesUri) {
                    // Newer GNOME reads a separate key in dark mode; set it too where it exists.
                    runQuietly({"gsettings", "set", schema.name, "picture-uri-dark", gvariantString(uri)});
                }
            }
            accepted = accepted || ok;
        }
    }
    if (onPath("plasma-apply-wallpaperimage") && runQuietly({"plasma-apply-wallpaperimage", path})) {
        accepted = true;
    }
    if (!accepted) {
        log("DesktopServices: no desktop accepted the wallpaper; the picture is saved as %s", path.c_str());
    }
    return accepted;
}

}  // namespace cocos2d
