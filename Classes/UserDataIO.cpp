#include "UserDataIO.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <zlib.h>

#include "engine/base/Log.h"

#include "CMemoryInputStream.h"
#include "CMemoryOutputStream.h"
#include "SaveFileParser.h"
#include "Settings.h"
#include "StringHelpers.h"
#include "UserData.h"
#include "UserDataIOFiles.h"
#include "WideString.h"

namespace {

constexpr const char* kPrimaryDataFile = "UserData.bin";
constexpr const char* kPrimaryChecksumFile = "CheckSum.cs";
constexpr const char* kSecondaryDataFile = "UserDataSecondary.bin";
constexpr const char* kSecondaryChecksumFile = "CheckSumSecondary.cs";
// Stores saved by earlier releases carry the checksum of their first 256 KiB only.
constexpr size_t kShortChecksumBytes = 262144;
// Far beyond any real store; a larger file is refused unread rather than taken into memory.
constexpr size_t kMaxSaveFileBytes = size_t{256} << 20;
// A checksum is at most ten digits, so only the start of its file is read.
constexpr size_t kChecksumFileBytes = 32;
// Appended to the files of a store that could not be loaded when they are moved out of the way.
constexpr const char* kKeptAsideSuffix = ".unloadable";

struct CopyNames {
    const char* data;
    const char* checksum;
    // The secondary is opened through the stream's 16-bit path form, as saves have always done.
    bool widePath;
};
constexpr CopyNames kPrimary{kPrimaryDataFile, kPrimaryChecksumFile, false};
constexpr CopyNames kSecondary{kSecondaryDataFile, kSecondaryChecksumFile, true};

// Folders whose store was on disk but could not be loaded: their files are moved aside before the
// first save writes over them.
std::set<std::string>& foldersToKeepAside() {
    static std::set<std::string> folders;
    return folders;
}

// One copy as a launch finds it: read whole, its checksum tested and, when that passes, parsed as
// the loader parses it.
struct CopyOnDisk {
    std::string dataPath;
    std::string checksumPath;
    savefiles::FileRead data;
    uint32_t stored = 0;
    uint32_t computed = 0;
    bool checksumPasses = false;
    // Why the copy does not load, worded to follow the data file's name; "" when it loads.
    std::string problem;
    // What it holds when it loads.
    UserData store;

    bool loads() const { return problem.empty(); }
};

uint32_t crcOf(const std::vector<uint8_t>& bytes, size_t count) {
    return UserDataIO::crc32(bytes.data(), static_cast<uint32_t>(std::min(count, bytes.size())));
}

// The number a checksum file holds; 0 when it is missing or holds none. problem, when given, says
// why a file that holds no number is of no use.
uint32_t readStoredChecksum(const std::string& path, std::string* problem) {
    const savefiles::FileRead file = savefiles::readFile(path, kChecksumFileBytes);
    if (!file.ok) {
        if (problem) {
            *problem = file.exists ? "cannot be checked: \"" + path + "\" cannot be read: " + file.error
                                   : "cannot be checked: its checksum file \"" + path + "\" is missing";
        }
        return 0;
    }
    const int64_t value =
        leadingInteger(std::string_view(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size()));
    return value >= 0 && value <= int64_t{UINT32_MAX} ? static_cast<uint32_t>(value) : 0;
}

// Reads a copy and tests its checksum, which may cover the whole file (what this game writes) or,
// in stores from earlier releases, the first 256 KiB only. Parses nothing and logs nothing.
CopyOnDisk readCopy(const std::string& dataPath, const std::string& checksumPath) {
    CopyOnDisk copy;
    copy.dataPath = dataPath;
    copy.checksumPath = checksumPath;
    copy.data = savefiles::readFile(dataPath, kMaxSaveFileBytes);
    if (!copy.data.ok) {
        copy.problem = copy.data.exists ? "cannot be read: " + copy.data.error : "is missing";
        return copy;
    }
    if (copy.data.overLimit) {
        copy.problem = "is larger than " + std::to_string(kMaxSaveFileBytes) + " bytes; not read";
        copy.data.ok = false;
        return copy;
    }
    std::string checksumProblem;
    copy.stored = readStoredChecksum(checksumPath, &checksumProblem);
    copy.computed = crcOf(copy.data.bytes, copy.data.bytes.size());
    if (copy.computed != copy.stored && copy.data.bytes.size() > kShortChecksumBytes) {
        const uint32_t shortForm = crcOf(copy.data.bytes, kShortChecksumBytes);
        if (shortForm == copy.stored) {
            copy.computed = shortForm;
        }
    }
    copy.checksumPasses = copy.computed == copy.stored && checksumProblem.empty();
    if (!copy.checksumPasses) {
        copy.problem = checksumProblem.empty() ? "does not match its checksum" : checksumProblem;
    }
    return copy;
}

// Parses a copy whose checksum passes; its problem says why it does not load.
void parseCopy(CopyOnDisk& copy) {
    if (!copy.checksumPasses) {
        return;
    }
    Core::CMemoryInputStream in(copy.data.bytes.data(), copy.data.bytes.size());
    copy.problem = readSaveFile(in, copy.store);
}

CopyOnDisk examineCopy(const std::string& dataPath, const std::string& checksumPath) {
    CopyOnDisk copy = readCopy(dataPath, checksumPath);
    parseCopy(copy);
    return copy;
}

enum class LoadingCopy { Primary, Secondary, None };

// Both copies of a folder as a launch finds them, each parsed once, and the one the launch loads.
struct StoreOnDisk {
    CopyOnDisk primary;
    CopyOnDisk secondary;
    LoadingCopy loading = LoadingCopy::None;
};

// The one rule that says which copy a launch loads, shared by the loader and by the save, which
// must replace that copy last. The primary, unless it does not load or both load, differ and the
// secondary was written after it: then the last save could not replace the primary (saves replace
// the copy that loads last), so the secondary holds the newer store.
LoadingCopy copyThatLoads(const CopyOnDisk& primary, const CopyOnDisk& secondary) {
    if (primary.loads() && secondary.loads()) {
        const bool secondaryNewer =
            primary.data.bytes != secondary.data.bytes && secondary.data.modified > primary.data.modified;
        return secondaryNewer ? LoadingCopy::Secondary : LoadingCopy::Primary;
    }
    if (primary.loads()) {
        return LoadingCopy::Primary;
    }
    return secondary.loads() ? LoadingCopy::Secondary : LoadingCopy::None;
}

StoreOnDisk examineStore(const std::string& folder) {
    StoreOnDisk disk;
    disk.primary = examineCopy(folder + kPrimary.data, folder + kPrimary.checksum);
    disk.secondary = readCopy(folder + kSecondary.data, folder + kSecondary.checksum);
    if (disk.secondary.checksumPasses && disk.primary.checksumPasses &&
        disk.secondary.data.bytes == disk.primary.data.bytes) {
        // The same bytes load, or fail, alike; and of two equal copies the primary is the one taken.
        disk.secondary.problem = disk.primary.problem;
    } else {
        parseCopy(disk.secondary);
    }
    disk.loading = copyThatLoads(disk.primary, disk.secondary);
    return disk;
}

// The loader's progress lines for one copy it tries, up to the last test the copy passed; the line
// that says why it fails is the caller's.
void logLoadProgress(const CopyOnDisk& copy) {
    cocos2d::log("  opening file \"%s\"...", copy.dataPath.c_str());
    if (!copy.data.ok) {
        return;
    }
    std::printf("%" PRIu32 " <- %s\n", copy.stored, copy.checksumPath.c_str());
    std::printf("compare: %lu - %lu\n", static_cast<unsigned long>(copy.computed),
                static_cast<unsigned long>(copy.stored));
    if (copy.checksumPasses) {
        std::printf("check sum is OK\n");
    }
}

// Replaces the game's store by what the copy holds.
void adoptCopy(CopyOnDisk& copy) {
    UserData::getInstance() = std::move(copy.store);
    cocos2d::log("userdata readed successfull");
}

// A copy tried in turn that does not load: its progress lines, then why not, unless it is simply not
// there (a first start, or a copy never written).
void reportRefusedCopy(const CopyOnDisk& copy) {
    logLoadProgress(copy);
    if (savefiles::nameIsTaken(copy.dataPath)) {
        cocos2d::logAt(cocos2d::LogLevel::Warning, "UserDataIO: \"%s\" %s", copy.dataPath.c_str(),
                       copy.problem.c_str());
    }
}

// A secondary that would not load while the primary did is named before the next save replaces it
// by the primary's store; nothing is said when neither of its files is there.
void reportSecondaryReplaced(const CopyOnDisk& secondary) {
    if (secondary.loads() || (!savefiles::nameIsTaken(secondary.dataPath) &&
                              !savefiles::nameIsTaken(secondary.checksumPath))) {
        return;
    }
    cocos2d::logAt(cocos2d::LogLevel::Warning,
                   "UserDataIO: \"%s\" %s; the next save replaces it with the store of \"%s\"",
                   secondary.dataPath.c_str(), secondary.problem.c_str(), kPrimaryDataFile);
}

// How writing a copy, or one of its files, ended: the file that could not be written and why, or
// nothing.
struct CopyWrite {
    std::string failedPath;
    int error = 0;

    bool written() const { return failedPath.empty(); }
};

// A full disk or a file-size limit: the other copy, of the same size, cannot fit either.
bool noRoomFor(const CopyWrite& write) {
    return write.error == ENOSPC || write.error == EFBIG || write.error == EDQUOT;
}

void logCannotWrite(const CopyWrite& write, const char* consequence) {
    cocos2d::logAt(cocos2d::LogLevel::Error, "UserDataIO: cannot write \"%s\": %s%s", write.failedPath.c_str(),
                   write.error != 0 ? std::strerror(write.error) : "the write did not complete", consequence);
}

CopyWrite writeFile(const std::string& path, const uint8_t* bytes, size_t size, bool widePath) {
    CopyWrite write;
    if (!savefiles::replaceFile(path, bytes, size, widePath, write.error)) {
        write.failedPath = path;
    }
    return write;
}

CopyWrite writeChecksum(const std::string& checksumPath, uint32_t crc) {
    const std::string digits = std::to_string(crc);
    return writeFile(checksumPath, reinterpret_cast<const uint8_t*>(digits.data()), digits.size(), false);
}

// The data file first, then its checksum: a copy cut short between the two fails its checksum
// test and the other copy loads.
CopyWrite writeCopy(const std::string& folder, const CopyNames& names, const std::vector<uint8_t>& bytes,
                    uint32_t crc) {
    const CopyWrite data = writeFile(folder + names.data, bytes.data(), bytes.size(), names.widePath);
    return data.written() ? writeChecksum(folder + names.checksum, crc) : data;
}

// Moves every file of the store that failed to load out of the way, never deleting one, and names
// them in one line. False when one could not be moved: then nothing may be written over it.
bool keepUnloadableStoreAside(const std::string& folder) {
    std::string moved;
    for (const char* name :
         {kPrimaryDataFile, kPrimaryChecksumFile, kSecondaryDataFile, kSecondaryChecksumFile}) {
        const std::string path = folder + name;
        if (!savefiles::nameIsTaken(path)) {
            continue;
        }
        std::string error;
        const std::string aside = savefiles::moveAside(path, kKeptAsideSuffix, error);
        if (aside.empty()) {
            cocos2d::logAt(
                cocos2d::LogLevel::Error,
                "UserDataIO: cannot move \"%s\" aside: %s; the game is not saved, so that the store "
                "that could not be loaded is not overwritten",
                path.c_str(), error.c_str());
            return false;
        }
        moved += (moved.empty() ? "\"" : ", \"") + aside + "\"";
    }
    if (!moved.empty()) {
        cocos2d::logAt(cocos2d::LogLevel::Warning,
                       "UserDataIO: the saved store could not be loaded and is kept aside as %s",
                       moved.c_str());
    }
    return true;
}

bool anySaveFileIsThere(const std::string& folder) {
    for (const char* name :
         {kPrimaryDataFile, kPrimaryChecksumFile, kSecondaryDataFile, kSecondaryChecksumFile}) {
        if (savefiles::nameIsTaken(folder + name)) {
            return true;
        }
    }
    return false;
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

// Loads the copy that copyThatLoads chose, with the loader's lines for each copy it tries in turn;
// false when none loads.
bool loadFromDisk(StoreOnDisk& disk) {
    if (disk.loading == LoadingCopy::Primary) {
        logLoadProgress(disk.primary);
        adoptCopy(disk.primary);
        cocos2d::log("reading ok");
        reportSecondaryReplaced(disk.secondary);
        return true;
    }
    if (disk.primary.loads()) {
        cocos2d::log("UserDataIO: \"%s\" was saved after \"%s\" and is read first", kSecondaryDataFile,
                     kPrimaryDataFile);
    } else {
        reportRefusedCopy(disk.primary);
    }
    if (disk.loading == LoadingCopy::Secondary) {
        logLoadProgress(disk.secondary);
        adoptCopy(disk.secondary);
        cocos2d::log("reading secondary userdata success!");
        return true;
    }
    reportRefusedCopy(disk.secondary);
    cocos2d::log("reading secondary userdata failed!");
    return false;
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
    StoreOnDisk disk = examineStore(folder);
    const bool loaded = loadFromDisk(disk);
    // A first start finds nothing; anything else that did not load must survive the next save.
    if (!loaded && anySaveFileIsThere(folder)) {
        foldersToKeepAside().insert(folder);
    } else {
        foldersToKeepAside().erase(folder);
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
    if (bytes.size() > kMaxSaveFileBytes) {
        // The loader would refuse it, so writing it would only replace a store that loads.
        cocos2d::logAt(cocos2d::LogLevel::Error, "UserDataIO: the store is larger than %zu bytes; not saved",
                       kMaxSaveFileBytes);
        return false;
    }
    if (foldersToKeepAside().count(folder) != 0) {
        if (!keepUnloadableStoreAside(folder)) {
            return false;
        }
        foldersToKeepAside().erase(folder);
    }
    const uint32_t crc = crcOf(bytes, bytes.size());
    // The copy that a launch would load now is replaced last, so that a save cut short at any point
    // leaves a copy that loads the previous store or the new one. That is the primary, unless an
    // earlier save was cut short, the primary could not be replaced or it does not parse: then the
    // secondary loads, and the primary goes first.
    const bool secondaryLoads = examineStore(folder).loading == LoadingCopy::Secondary;
    const CopyNames& first = secondaryLoads ? kPrimary : kSecondary;
    const CopyNames& last = secondaryLoads ? kSecondary : kPrimary;
    const CopyWrite firstWrite = writeCopy(folder, first, bytes, crc);
    if (!firstWrite.written() && noRoomFor(firstWrite)) {
        // The copy that loads is left as it is.
        logCannotWrite(firstWrite, "; the game is not saved");
        return false;
    }
    if (!firstWrite.written()) {
        logCannotWrite(firstWrite, "");
    }
    const CopyWrite lastWrite = writeCopy(folder, last, bytes, crc);
    if (!lastWrite.written()) {
        logCannotWrite(lastWrite, "");
    }
    return firstWrite.written() && lastWrite.written();
}

bool UserDataIO::loadUserFile(const char* dataPath, const char* checksumPath) {
    CopyOnDisk copy = examineCopy(dataPath, checksumPath);
    if (!copy.loads()) {
        reportRefusedCopy(copy);
        return false;
    }
    logLoadProgress(copy);
    adoptCopy(copy);
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
    const savefiles::FileRead file = savefiles::readFile(path, kMaxSaveFileBytes);
    return file.ok && !file.overLimit ? crcOf(file.bytes, file.bytes.size()) : crc32(nullptr, 0);
}

uint32_t UserDataIO::readChecksumFile(const char* path) {
    const uint32_t checksum = readStoredChecksum(path, nullptr);
    std::printf("%" PRIu32 " <- %s\n", checksum, path);
    return checksum;
}

bool UserDataIO::writeChecksumFile(const char* dataPath, const char* checksumPath) {
    const CopyWrite write = writeChecksum(checksumPath, computeFileCrc(dataPath));
    if (!write.written()) {
        logCannotWrite(write, "");
    }
    return write.written();
}
