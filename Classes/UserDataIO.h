#pragma once

#include <cstdint>
#include <string>

// Loads and saves the user-data store. The store is written twice, "UserData.bin" and
// "UserDataSecondary.bin", each beside a checksum file ("CheckSum.cs", "CheckSumSecondary.cs") that
// holds the CRC-32 of its data file as decimal text. The folder argument is the writable folder and
// ends with "/": file names are appended to it as they are.
class UserDataIO {
public:
    // Both in the writable folder (Settings::getWritablePath).
    static void loadUserData();
    static bool saveUserData();

    // Loads the copy that passes its checksum, version and a complete parse, else keeps the store as
    // it was; then makes sure a current profile exists. Each copy is read and parsed once. The
    // primary loads, unless it does not or both copies load, differ and the secondary was written
    // after it: then the last save could not replace the primary, and the secondary holds the newer
    // store. A secondary that is there but would not load while the primary did is named in one line
    // with its reason, since the next save replaces it. When files were there but none loaded, the
    // next save first moves them aside (see saveUserData).
    static void loadUserData(const std::string& folder);

    // Serialises the store once and writes each copy under a temporary name that replaces the old
    // file only when complete; its checksum file is replaced after it. The copy a launch would load
    // now, decided by the loader's own rule over both copies parsed as it parses them, is replaced
    // last. A copy that cannot be written keeps its previous pair. When the last load found files
    // in the folder but could load none of them, they are first renamed with the suffix
    // ".unloadable" (never deleted, never overwriting an earlier one) and named in one log line;
    // when that fails nothing is written. Returns whether both copies were written.
    static bool saveUserData(const std::string& folder);

    // Loads one data file into the store when it passes; the store is untouched otherwise. Its
    // checksum passes when it is that of the whole file, as saves write it, or that of the file's
    // first 256 KiB, which larger stores saved by earlier releases carry. A data file that is there
    // but does not load logs one line with its reason (unreadable, no checksum file, checksum
    // mismatch, version, damage).
    static bool loadUserFile(const char* dataPath, const char* checksumPath);

    // CRC-32 as zlib and IEEE 802.3 define it; the one checksum routine of the save files.
    static uint32_t crc32(const uint8_t* bytes, uint32_t length);
    // CRC-32 of the whole file; 0, the checksum of nothing, when it cannot be read.
    static uint32_t computeFileCrc(const char* path);
    // The unsigned decimal number at the start of the file; 0 when missing, unreadable or holding none.
    static uint32_t readChecksumFile(const char* path);
    // Replaces checksumPath by the checksum of dataPath as decimal digits with no line break, as a
    // save writes it; false (with one log line) when it could not be written.
    static bool writeChecksumFile(const char* dataPath, const char* checksumPath);
};
