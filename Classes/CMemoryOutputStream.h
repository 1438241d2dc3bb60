#pragma once

#include <cstdint>
#include <vector>

#include "COutputStream.h"

namespace Core {

// Collects the written bytes in memory, so a store is serialised once and written to both save files.
class CMemoryOutputStream : public COutputStream {
public:
    int32_t write(const void* buffer, int32_t count) override;

    const std::vector<uint8_t>& bytes() const { return _bytes; }

private:
    std::vector<uint8_t> _bytes;
};

}  // namespace Core
