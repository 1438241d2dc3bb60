#include "UserDataIOFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CDataOutputStream.h"
#include "WideString.h"

namespace savefiles {

namespace {

constexpr const char* kTemporarySuffix = ".tmp";
// Kept-aside names tried before giving up; far more than a player's folder will ever hold.
constexpr int kMaxAsideNames = 1000;

FileOperationObserver& observer() {
    static FileOperationObserver instance;
    return instance;
}

void done(const char* operation, const std::string& path) {
    if (observer()) {
        // The reason of a failure that follows must still be the file system's.
        const int error = errno;
        observer()(operation, path);
        errno = error;
    }
}

// Reaches the disk before the rename makes it visible, so a power cut cannot leave a renamed but
// empty file.
void syncPath(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
        done("sync", path);
    }
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

FileRead readFile(const std::string& path, size_t limit) {
    FileRead result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        result.exists = errno != ENOENT && errno != ENOTDIR;
        result.error = std::strerror(errno);
        return result;
    }
    result.exists = true;
    struct stat status {};
    if (::fstat(fd, &status) == 0) {
        result.modified = static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    }
    // One byte past the limit tells a file of exactly limit bytes from a larger one.
    std::vector<uint8_t> bytes;
    size_t got = 0;
    int error = 0;
    while (true) {
        if (bytes.size() < got + 65536) {
            bytes.resize(std::min(got + 65536, limit + 1));
        }
        if (got == bytes.size()) {
            break;
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (error != 0) {
        result.error = std::strerror(error);
        return result;
    }
    result.overLimit = got > limit;
    bytes.resize(std::min(got, limit));
    result.bytes = std::move(bytes);
    result.ok = true;
    done("read", path);
    return result;
}

bool nameIsTaken(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 || (errno != ENOENT && errno != ENOTDIR);
}

bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size, bool widePath, int& error) {
    const std::string temporary = path + kTemporarySuffix;
    auto out = std::make_shared<Core::CDataOutputStream>();
    errno = 0;
    const bool opened = widePath ? out->open(widen(temporary)) : out->open(temporary);
    if (opened) {
        done("create", temporary);
    }
    bool ok = opened;
    size_t written = 0;
    while (ok && written < size) {
        const size_t chunk = std::min<size_t>(size - written, 1u << 30);
        out->write(bytes + written, static_cast<int32_t>(chunk));
        written += chunk;
        ok = !out->failed();
        done("write", temporary);
    }
    if (opened) {
        out->close();
        ok = ok && !out->failed();
        done("close", temporary);
    }
    if (ok) {
        syncPath(temporary, O_RDONLY);
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
        if (ok) {
            done("rename", temporary + " -> " + path);
        }
    }
    if (!ok) {
        error = errno;
        if (opened && std::remove(temporary.c_str()) == 0) {
            done("remove", temporary);
        }
        return false;
    }
    syncPath(folderOf(path), O_RDONLY | O_DIRECTORY);
    return true;
}

std::string moveAside(const std::string& path, const std::string& suffix, std::string& error) {
    for (int number = 1; number <= kMaxAsideNames; ++number) {
        const std::string aside =
            path + suffix + (number == 1 ? std::string() : "." + std::to_string(number));
        if (nameIsTaken(aside)) {
            continue;
        }
        if (std::rename(path.c_str(), aside.c_str()) != 0) {
            error = std::strerror(errno);
            return {};
        }
        done("rename", path + " -> " + aside);
        syncPath(folderOf(path), O_RDONLY | O_DIRECTORY);
        return aside;
    }
    error = "every name for it is taken";
    return {};
}

void setFileOperationObserver(FileOperationObserver next) {
    observer() = std::move(next);
}

}  // namespace savefiles
