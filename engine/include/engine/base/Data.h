#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cocos2d {

// A byte buffer, copied and compared as a value. Empty means "no data" (a missing file).
class Data {
public:
    Data() = default;
    Data(const unsigned char* bytes, size_t size) : _bytes(bytes, bytes + size) {}
    explicit Data(std::vector<unsigned char> bytes) : _bytes(std::move(bytes)) {}

    const unsigned char* getBytes() const { return _bytes.empty() ? nullptr : _bytes.data(); }
    unsigned char* getBytes() { return _bytes.empty() ? nullptr : _bytes.data(); }
    size_t getSize() const { return _bytes.size(); }
    bool isNull() const { return _bytes.empty(); }

    void copy(const unsigned char* bytes, size_t size) { _bytes.assign(bytes, bytes + size); }
    void clear() { _bytes.clear(); }
    std::string toString() const { return std::string(_bytes.begin(), _bytes.end()); }

    bool operator==(const Data& other) const { return _bytes == other._bytes; }

private:
    std::vector<unsigned char> _bytes;
};

}  // namespace cocos2d
