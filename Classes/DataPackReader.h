#pragma once

#include <string>

struct Profile;

// Reads the content packs into a profile: the list "<folder>/packs.xml" names the packs, and each
// entry reads the pack file "<folder>/pack.xml". A pack whose version the profile already holds is
// not read again; every entry merges the texts of the pack folder into the text table.
class DataPackReader {
public:
    static DataPackReader& getInstance();

    // Appends each pack the profile does not hold yet, with its countries, pictures and messages,
    // and inserts the missing progress records of its countries and pictures with their starting
    // state. Records the profile already has keep their state. Malformed or missing files are
    // logged and add nothing.
    void load(const std::string& folder, const std::string& language, Profile& profile);

    // Whether the profile holds a pack of the pack file's version.
    bool isPackInstalled(const std::string& folder, const std::string& name, const Profile& profile);
    // The pack file's "packVersion"; "" when the file is missing, malformed or has none.
    std::string getPackVersion(const std::string& folder, const std::string& name);
};
