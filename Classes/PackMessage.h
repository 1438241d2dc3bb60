#pragma once

#include <string>

// One curator chat message of a content pack.
struct PackMessage {
    std::string messageId;
    std::string speakerId;
    std::string toCountryId;

    bool operator==(const PackMessage&) const = default;
};
