#pragma once

#include <stdexcept>
#include <string>

namespace assetgen {

// A recipe or an output that cannot be made. The message is the one line the build prints:
// the file, where in it, and what is wrong.
class GenError : public std::runtime_error {
public:
    explicit GenError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace assetgen
