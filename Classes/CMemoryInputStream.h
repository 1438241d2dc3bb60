#pragma once

#include <cstddef>
#include <cstdint>

#include "CInputStream.h"

namespace Core {

// Reads from bytes held by the caller, who keeps them alive while the stream is used.
class CMemoryInputStream : public CInputStream {
public:
    CMemoryInputStream(const uint8_t* data, size_t size) : _data(data), _size(size) {}

    int32_t read(void* buffer, int32_t count) override;
    uint64_t bytesLeft() const override { return _size - _position; }

private:
    const uint8_t* _data;
    size_t _size;
    size_t _position = 0;
};

}  // namespace Core
