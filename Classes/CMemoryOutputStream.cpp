#include "CMemoryOutputStream.h"

namespace Core {

int32_t CMemoryOutputStream::write(const void* buffer, int32_t count) {
    if (count > 0) {
        const auto* bytes = static_cast<const uint8_t*>(buffer);
        _bytes.insert(_bytes.end(), bytes, bytes + count);
    }
    return count;
}

}  // namespace Core
