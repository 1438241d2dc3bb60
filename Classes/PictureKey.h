#pragma once

#include <string>

// A picture by its country's path and its own path.
struct PictureKey {
    std::string country;
    std::string picture;

    bool operator==(const PictureKey&) const = default;
};
