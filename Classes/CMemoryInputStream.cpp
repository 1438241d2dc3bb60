#include "CMemoryInputStream.h"

#include <algorithm>
#include <cstring>

namespace Core {

int32_t CMemoryInputStream::read(void* buffer, int32_t count) {
    if (count <= 0) {
        return count;
    }
    const size_t wanted = static_cast<size_t>(count);
    const size_t available = std::min(wanted, _size - _position);
    if (available > 0) {
        std::memcpy(buffer, _data + _position, available);
        _position += available;
    }
    if (available < wanted) {
        markFailed();
    }
    return count;
}

}  // namespace Core
