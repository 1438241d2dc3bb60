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

    // Loads the first copy that passes its checksum, version and a complete parse, else keeps the
    // store as it was; then makes sure a current profile exists.
    static void loadUserData(const std::string& folder);

    // Serialises the store once and writes each copy under a temporary name that replaces the old
    // file only when complete; its checksum file is replaced after it. A copy that cannot be
    // written keeps its previous pair. Returns whether both copies were written.
    static bool saveUserData(const std::string& folder);

    // Loads one data file into the store when it passes; the store is untouched otherwise.
    static bool loadUserFile(const char* dataPath, const char* checksumPath);

    // CRC-32 as zlib and IEEE 802.3 define it.
    static uint32_t crc32(const uint8_t* bytes, uint32_t length);
    // CRC-32 of the whole file; 0, the checksum of nothing, when it cannot be read.
    static uint32_t computeFileCrc(const char* path);
    // The unsigned decimal number at the start of the file; 0 when missing or holding none.
    static uint32_t readChecksumFile(const char* path);
    // Writes the checksum of dataPath into checksumPath as decimal digits with no line break.
    static void writeChecksumFile(const char* dataPath, const char* checksumPath);
};
