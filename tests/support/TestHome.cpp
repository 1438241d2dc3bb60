#include "TestHome.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace testing {

namespace fs = std::filesystem;

namespace {

struct Root {
    std::string path;
    pid_t owner = 0;
};

Root& root() {
    static Root made;
    return made;
}

// A forked child that ends through exit() must not take its parent's folder with it.
void removeRoot() {
    if (::getpid() == root().owner) {
        std::error_code ignored;
        fs::remove_all(root().path, ignored);
    }
}

const std::string& rootFolder() {
    Root& r = root();
    if (r.path.empty()) {
        std::string pattern = (fs::temp_directory_path() / "kestrova-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("kestrova test: cannot make a folder under the temporary folder");
            std::abort();
        }
        r.path = pattern;
        r.owner = ::getpid();
        std::atexit(removeRoot);
    }
    return r.path;
}

void point(const char* variable, const fs::path& folder) {
    fs::create_directories(folder);
    ::setenv(variable, folder.c_str(), 1);
}

}  // namespace

void useOwnHome() {
    const fs::path home = fs::path(rootFolder()) / "home";
    point("HOME", home);
    point("XDG_DATA_HOME", home / ".local" / "share");
    point("XDG_CONFIG_HOME", home / ".config");
    point("XDG_CACHE_HOME", home / ".cache");
    point("XDG_STATE_HOME", home / ".local" / "state");
}

const std::string& scratchFolder() {
    static const std::string folder = [] {
        const fs::path made = fs::path(rootFolder()) / "scratch";
        fs::create_directories(made);
        return made.string();
    }();
    return folder;
}

}  // namespace testing
