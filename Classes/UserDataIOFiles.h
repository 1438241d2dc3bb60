#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The file operations under the save code: reads that say why they failed, replacing a file so that
// it is never seen half written, and moving files aside without overwriting anything.
namespace savefiles {

struct FileRead {
    // False only when there is no file of that name; an unreadable one exists.
    bool exists = false;
    // The file was opened and read to its end, or to the limit asked for.
    bool ok = false;
    // The file holds more than the limit asked for; bytes then holds the first limit bytes.
    bool overLimit = false;
    std::vector<uint8_t> bytes;
    // Nanoseconds since the epoch of the file's last change, when it was read.
    int64_t modified = 0;
    // Why the file could not be read ("Permission denied", "Is a directory"); empty when ok.
    std::string error;
};

// Reads at most limit bytes of path.
FileRead readFile(const std::string& path, size_t limit);

// Whether something (a file, a folder, a link) has that name; true as well when that cannot be
// told, so that callers who must not lose a file stay on the safe side.
bool nameIsTaken(const std::string& path);

// Replaces path by bytes through a temporary file beside it, synced before the rename makes it
// visible. The old file stays as it was unless the new one was written whole, and a temporary file
// it created is removed whatever stopped it (a full disk, a file-size limit, a short write). On
// failure returns false with error set to the errno value that stopped it, or 0 when the stream
// named none; logs nothing. widePath opens the temporary file through the stream's 16-bit path form.
bool replaceFile(const std::string& path, const uint8_t* bytes, size_t size, bool widePath, int& error);

// Renames path to path + suffix, or to path + suffix + ".2", ".3", ... the first name that is free,
// so an earlier file kept aside is never overwritten. Returns the new name, or "" with error set.
std::string moveAside(const std::string& path, const std::string& suffix, std::string& error);

// Called after each file operation of these functions: a file read, or created, written,
// closed, synced, renamed or removed, or a folder synced; path names what it acted on. Tests count
// the reads and stop a save after each step in turn; the game sets none. An empty observer removes
// it.
using FileOperationObserver = std::function<void(const char* operation, const std::string& path)>;
void setFileOperationObserver(FileOperationObserver observer);

}  // namespace savefiles
