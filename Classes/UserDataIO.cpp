#include "UserDataIO.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include "engine/base/Log.h"

#include "CDataInputStream.h"
#include "CDataOutputStream.h"
#include "CMemoryOutputStream.h"
#include "SaveFileParser.h"
#include "Settings.h"
#include "UserData.h"
#include "WideString.h"

namespace {

constexpr const char* kPrimaryDataFile = "UserData.bin";
constexpr const char* kPrimaryChecksumFile = "CheckSum.cs";
constexpr const char* kSecondaryDataFile = "UserDataSecondary.bin";
constexpr const char* kSecondaryChecksumFile = "CheckSumSecondary.cs";
constexpr const char* kTemporarySuffix = ".tmp";
constexpr size_t kCrcChunkBytes = 262144;

// Reaches the disk before the rename makes it visible, so a power cut cannot leave a renamed but
// empty file.
void syncPath(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Replaces path by bytes through a temporary file in the same folder. The old file stays as it was
// unless the new one was written and closed without error.
bool replaceFile(const std::string& folder, const std::string& path, const uint8_t* bytes, size_t size,
                 bool widePath) {
    const std::string temporary = path + kTemporarySuffix;
    auto out = std::make_shared<Core::CDataOutputStream>();
    const bool opened = widePath ? out->open(widen(temporary)) : out->open(temporary);
    bool ok = opened;
    size_t written = 0;
    while (ok && written < size) {
        const size_t chunk = std::min<size_t>(size - written, 1u << 30);
        out->write(bytes + written, static_cast<int32_t>(chunk));
        written += chunk;
        ok = !out->failed();
    }
    if (opened) {
        out->close();
        ok = ok && !out->failed();
    }
    if (ok) {
        syncPath(temporary, O_RDONLY);
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    }
    if (!ok) {
        const int error = errno;
        if (opened) {
            std::remove(temporary.c_str());
        }
        cocos2d::logAt(cocos2d::LogLevel::Error, "UserDataIO: cannot write \"%s\": %s", path.c_str(),
                       std::strerror(error));
        return false;
    }
    syncPath(folder.empty() ? std::string(".") : folder, O_RDONLY | O_DIRECTORY);
    return true;
}

bool writeCopy(const std::string& folder, const char* dataName, const char* checksumName,
               const std::vector<uint8_t>& bytes, uint32_t crc, bool widePath) {
    if (!replaceFile(folder, folder + dataName, bytes.data(), bytes.size(), widePath)) {
        return false;
    }
    const std::string digits = std::to_string(crc);
    return replaceFile(folder, folder + checksumName, reinterpret_cast<const uint8_t*>(digits.data()),
                       digits.size(), false);
}

uint32_t crcOfBytes(const std::vector<uint8_t>& bytes) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t chunk = std::min(bytes.size() - done, kCrcChunkBytes);
        crc = ::crc32(crc, bytes.data() + done, static_cast<uInt>(chunk));
        done += chunk;
    }
    return static_cast<uint32_t>(crc);
}

uint32_t parseChecksumText(const char* text) {
    const char* c = text;
    while (*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r' || *c == '\f' || *c == '\v') {
        ++c;
    }
    uint64_t value = 0;
    for (; *c >= '0' && *c <= '9'; ++c) {
        value = value * 10 + static_cast<uint64_t>(*c - '0');
        if (value > UINT32_MAX) {
            return 0;
        }
    }
    return static_cast<uint32_t>(value);
}

// The number a checksum file holds; 0 when it is missing or holds none. A checksum is at most ten
// digits, so only the start of the file is read.
uint32_t readChecksumQuietly(const char* path) {
    std::ifstream file(path);
    char text[32] = {};
    if (file.is_open()) {
        file.read(text, sizeof(text) - 1);
    }
    return parseChecksumText(text);
}

bool checksumMatches(const std::string& dataPath, const std::string& checksumPath) {
    std::error_code error;
    return std::filesystem::is_regular_file(dataPath, error) &&
           UserDataIO::computeFileCrc(dataPath.c_str()) == readChecksumQuietly(checksumPath.c_str());
}

// A profile that the current name names, so that a damaged or edited save cannot leave the player
// on an empty "ghost" profile that hides the real ones.
void ensureCurrentUserExists() {
    UserData& store = UserData::getInstance();
    if (store.profiles.count(store.currentUserName) != 0) {
        return;
    }
    std::vector<std::u16string> names;
    Settings::getInstance().getUserNames(names, true);
    std::u16string chosen = names.empty() ? std::u16string() : names.front();
    cocos2d::logAt(cocos2d::LogLevel::Warning,
                   "UserDataIO: current player \"%s\" has no profile; \"%s\" is current instead",
                   narrow(store.currentUserName).c_str(), narrow(chosen).c_str());
    store.currentUserName = std::move(chosen);
}

}  // namespace

void UserDataIO::loadUserData() {
    loadUserData(Settings::getInstance().getWritablePath());
}

bool UserDataIO::saveUserData() {
    return saveUserData(Settings::getInstance().getWritablePath());
}

void UserDataIO::loadUserData(const std::string& folder) {
    cocos2d::log("UserDataIO::loadUserData");
    const std::string primary = folder + kPrimaryDataFile;
    const std::string primaryChecksum = folder + kPrimaryChecksumFile;
    const std::string secondary = folder + kSecondaryDataFile;
    const std::string secondaryChecksum = folder + kSecondaryChecksumFile;
    if (loadUserFile(primary.c_str(), primaryChecksum.c_str())) {
        cocos2d::log("reading ok");
    } else if (loadUserFile(secondary.c_str(), secondaryChecksum.c_str())) {
        cocos2d::log("reading secondary userdata success!");
    } else {
        cocos2d::log("reading secondary userdata failed!");
    }
    Settings::getInstance().ensureDefaultUser();
    ensureCurrentUserExists();
}

bool UserDataIO::saveUserData(const std::string& folder) {
    cocos2d::log("UserDataIO::saveUserData");
    auto buffer = std::make_shared<Core::CMemoryOutputStream>();
    buffer->writeInt32(kSaveFormatVersion);
    UserData::getInstance().write(buffer);
    const std::vector<uint8_t>& bytes = buffer->bytes();
    const uint32_t crc = crcOfBytes(bytes);
    // The copy that a launch would load now is replaced last, so that a save cut short at any point
    // leaves one copy that loads the previous store or the new one. After an earlier save was cut
    // short the secondary may be the only good copy, and then the primary goes first.
    const std::string primaryPath = folder + kPrimaryDataFile;
    const std::string primaryChecksumPath = folder + kPrimaryChecksumFile;
    if (checksumMatches(primaryPath, primaryChecksumPath)) {
        const bool secondaryOk =
            writeCopy(folder, kSecondaryDataFile, kSecondaryChecksumFile, bytes, crc, true);
        const bool primaryOk = writeCopy(folder, kPrimaryDataFile, kPrimaryChecksumFile, bytes, crc, false);
        return primaryOk && secondaryOk;
    }
    const bool primaryOk = writeCopy(folder, kPrimaryDataFile, kPrimaryChecksumFile, bytes, crc, false);
    const bool secondaryOk = writeCopy(folder, kSecondaryDataFile, kSecondaryChecksumFile, bytes, crc, true);
    return primaryOk && secondaryOk;
}

bool UserDataIO::loadUserFile(const char* dataPath, const char* checksumPath) {
    auto in = std::make_shared<Core::CDataInputStream>();
    cocos2d::log("  opening file \"%s\"...", dataPath);
    if (!in->open(std::string(dataPath))) {
        return false;
    }
    const uint32_t computed = computeFileCrc(dataPath);
    const uint32_t stored = readChecksumFile(checksumPath);
    std::printf("compare: %lu - %lu\n", static_cast<unsigned long>(computed),
                static_cast<unsigned long>(stored));
    if (computed != stored) {
        cocos2d::logAt(cocos2d::LogLevel::Warning, "UserDataIO: \"%s\" does not match its checksum",
                       dataPath);
        return false;
    }
    std::printf("check sum is OK\n");
    UserData loaded;
    if (!parseSaveFile(*in, loaded, dataPath)) {
        return false;
    }
    UserData::getInstance() = std::move(loaded);
    cocos2d::log("userdata readed successfull");
    return true;
}

uint32_t UserDataIO::crc32(const uint8_t* bytes, uint32_t length) {
    uLong crc = ::crc32(0L, Z_NULL, 0);
    if (length > 0) {
        crc = ::crc32(crc, bytes, length);
    }
    return static_cast<uint32_t>(crc);
}

uint32_t UserDataIO::computeFileCrc(const char* path) {
    std::ifstream file(path, std::ios::in | std::ios::binary);
    uLong crc = ::crc32(0L, Z_NULL, 0);
    if (!file.is_open()) {
        return static_cast<uint32_t>(crc);
    }
    std::vector<char> chunk(kCrcChunkBytes);
    while (file.good()) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::streamsize got = file.gcount();
        if (got <= 0) {
            break;
        }
        crc = ::crc32(crc, reinterpret_cast<const Bytef*>(chunk.data()), static_cast<uInt>(got));
    }
    return static_cast<uint32_t>(crc);
}

uint32_t UserDataIO::readChecksumFile(const char* path) {
    const uint32_t checksum = readChecksumQuietly(path);
    std::printf("%" PRIu32 " <- %s\n", checksum, path);
    return checksum;
}

void UserDataIO::writeChecksumFile(const char* dataPath, const char* checksumPath) {
    const std::string digits = std::to_string(computeFileCrc(dataPath));
    std::string path = checksumPath;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    replaceFile(folder, path, reinterpret_cast<const uint8_t*>(digits.data()), digits.size(), false);
}
