#include "COutputStream.h"

#include <bit>
#include <cassert>
#include <limits>
#include <vector>

namespace Core {

void COutputStream::writeByte(uint8_t value) {
    write(&value, 1);
}

void COutputStream::writeUInt16(uint16_t value) {
    const uint8_t bytes[2] = {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
    write(bytes, 2);
}

void COutputStream::writeInt32(int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(bits & 0xFF), static_cast<uint8_t>((bits >> 8) & 0xFF),
                              static_cast<uint8_t>((bits >> 16) & 0xFF), static_cast<uint8_t>(bits >> 24)};
    write(bytes, 4);
}

void COutputStream::writeVarUInt(uint32_t value) {
    uint8_t bytes[5];
    int32_t length = 0;
    while (value >= 0x80) {
        bytes[length++] = static_cast<uint8_t>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    bytes[length++] = static_cast<uint8_t>(value);
    write(bytes, length);
}

void COutputStream::writeFloat(float value) {
    writeInt32(static_cast<int32_t>(std::bit_cast<uint32_t>(value)));
}

void COutputStream::writeString(const std::string& value) {
    assert(value.size() <= std::numeric_limits<int32_t>::max());
    writeVarUInt(static_cast<uint32_t>(value.size()));
    if (!value.empty()) {
        write(value.data(), static_cast<int32_t>(value.size()));
    }
}

void COutputStream::writeWString(const std::u16string& value) {
    assert(value.size() <= std::numeric_limits<int32_t>::max() / 2);
    writeVarUInt(static_cast<uint32_t>(value.size()));
    if (value.empty()) {
        return;
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(value.size() * 2);
    for (const char16_t unit : value) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(unit) >> 8));
    }
    write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void COutputStream::writeCount(size_t count) {
    assert(count <= static_cast<size_t>(std::numeric_limits<int32_t>::max()));
    writeInt32(static_cast<int32_t>(count));
}

}  // namespace Core
