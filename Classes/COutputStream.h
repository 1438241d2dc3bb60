#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace Core {

// A byte sink with the save files' encodings on top of one raw write. Multi-byte integers are
// little-endian.
class COutputStream {
public:
    virtual ~COutputStream() = default;

    // Writes count bytes of buffer and returns count.
    virtual int32_t write(const void* buffer, int32_t count) = 0;

    void writeByte(uint8_t value);
    void writeUInt16(uint16_t value);
    void writeInt32(int32_t value);
    // Unsigned LEB128: 7 bits a byte, low group first, bit 7 set on every byte but the last.
    void writeVarUInt(uint32_t value);
    // The 4 bytes of an IEEE single, little-endian.
    void writeFloat(float value);
    // LEB128 byte count, then the bytes.
    void writeString(const std::string& value);
    // LEB128 count of 16-bit units, then each unit low byte first.
    void writeWString(const std::u16string& value);
    // A container's element count as int32.
    void writeCount(size_t count);
};

}  // namespace Core
