#include "CDataOutputStream.h"

#include "WideString.h"

namespace Core {

int32_t CDataOutputStream::write(const void* buffer, int32_t count) {
    if (count > 0) {
        _file.write(static_cast<const char*>(buffer), count);
    }
    return count;
}

void CDataOutputStream::close() {
    if (_file.is_open()) {
        _file.close();
    }
}

bool CDataOutputStream::open(const std::string& path) {
    _file.close();
    _file.clear();
    _file.open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!_file.is_open()) {
        _file.setstate(std::ios::failbit);
        return false;
    }
    return true;
}

bool CDataOutputStream::open(const std::u16string& path) {
    return open(narrow(path));
}

uint32_t CDataOutputStream::skip(uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        _file.put('\0');
    }
    return count;
}

}  // namespace Core
