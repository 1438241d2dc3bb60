#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "Profile.h"

namespace Core {
class CInputStream;
class COutputStream;
}  // namespace Core

// All saved state: every player's profile and the current player's name. The game has one store
// (getInstance); loading parses into a separate value and replaces the store only when complete.
struct UserData {
    // Keyed by the profile's name.
    std::unordered_map<std::u16string, Profile> profiles;
    std::u16string currentUserName;

    static UserData& getInstance();

    // The store without the version, which the caller writes first.
    void write(const std::shared_ptr<Core::COutputStream>& out) const;
    // Empties the store and fills it; each profile is filed under its own name, a later one
    // replacing an earlier one of that name. The caller tests in->failed() afterwards.
    void read(const std::shared_ptr<Core::CInputStream>& in);

    bool operator==(const UserData&) const = default;
};
