#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "CInputStream.h"

namespace Core {

// Reads a file in binary mode.
class CDataInputStream : public CInputStream {
public:
    int32_t read(void* buffer, int32_t count) override;
    uint64_t bytesLeft() const override;

    // Opens path for reading. Only a regular file opens; returns whether one is open.
    virtual bool open(const std::string& path);
    // The same with a path of 16-bit units, each narrowed to its low 8 bits.
    virtual bool open(const std::u16string& path);
    // Drops up to count bytes; returns how many were there to drop.
    virtual uint32_t skip(uint32_t count);

private:
    std::ifstream _file;
    uint64_t _size = 0;
    uint64_t _position = 0;
};

}  // namespace Core
