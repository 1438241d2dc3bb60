#include "CDataInputStream.h"

#include <filesystem>
#include <system_error>

#include "WideString.h"

namespace Core {

int32_t CDataInputStream::read(void* buffer, int32_t count) {
    if (count <= 0) {
        return count;
    }
    std::streamsize got = 0;
    if (_file.is_open() && _file.good()) {
        _file.read(static_cast<char*>(buffer), count);
        got = _file.gcount();
    }
    _position += static_cast<uint64_t>(got);
    if (got < count) {
        markFailed();
    }
    return count;
}

uint64_t CDataInputStream::bytesLeft() const {
    return _position < _size ? _size - _position : 0;
}

bool CDataInputStream::open(const std::string& path) {
    _file.close();
    _file.clear();
    _size = 0;
    _position = 0;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        _file.setstate(std::ios::failbit);
        return false;
    }
    _file.open(path, std::ios::in | std::ios::binary);
    if (!_file.is_open()) {
        _file.setstate(std::ios::failbit);
        return false;
    }
    const auto size = std::filesystem::file_size(path, error);
    _size = error ? 0 : static_cast<uint64_t>(size);
    return true;
}

bool CDataInputStream::open(const std::u16string& path) {
    return open(narrow(path));
}

uint32_t CDataInputStream::skip(uint32_t count) {
    uint32_t dropped = 0;
    while (dropped < count && _file.good() && _file.get() != std::ifstream::traits_type::eof()) {
        ++dropped;
        ++_position;
    }
    return dropped;
}

}  // namespace Core
