#include "CInputStream.h"

#include <bit>

namespace Core {
namespace {

constexpr const char* kPastTheEnd = "a count or length runs past its end";

}  // namespace

uint8_t CInputStream::readByte() {
    uint8_t value = 0;
    read(&value, 1);
    return value;
}

uint16_t CInputStream::readUInt16() {
    uint8_t bytes[2] = {0, 0};
    read(bytes, 2);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

int32_t CInputStream::readInt32() {
    uint8_t bytes[4] = {0, 0, 0, 0};
    read(bytes, 4);
    const uint32_t value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return static_cast<int32_t>(value);
}

uint32_t CInputStream::readVarUInt() {
    uint32_t value = 0;
    for (int group = 0; group < 5; ++group) {
        const uint8_t byte = readByte();
        // The fifth byte carries bits 28 to 31 only; anything more would shift past bit 31.
        if (group == 4 && (byte & 0xF0) != 0) {
            markFailed("a length is wider than 32 bits");
            return 0;
        }
        value |= static_cast<uint32_t>(byte & 0x7F) << (7 * group);
        if ((byte & 0x80) == 0) {
            return value;
        }
    }
    return value;
}

float CInputStream::readFloat() {
    return std::bit_cast<float>(static_cast<uint32_t>(readInt32()));
}

void CInputStream::readString(std::string& out) {
    out.clear();
    const uint32_t length = readVarUInt();
    if (length == 0) {
        return;
    }
    if (length > bytesLeft()) {
        markFailed(kPastTheEnd);
        return;
    }
    out.resize(length);
    read(out.data(), static_cast<int32_t>(length));
}

void CInputStream::readWString(std::u16string& out) {
    out.clear();
    const uint32_t units = readVarUInt();
    if (units == 0) {
        return;
    }
    if (static_cast<uint64_t>(units) * 2 > bytesLeft()) {
        markFailed(kPastTheEnd);
        return;
    }
    out.reserve(units);
    for (uint32_t i = 0; i < units; ++i) {
        out.push_back(static_cast<char16_t>(readUInt16()));
    }
}

int32_t CInputStream::readCount(uint32_t minElementBytes) {
    const int32_t count = readInt32();
    if (count < 0) {
        markFailed("a count is negative");
        return 0;
    }
    if (count == 0) {
        return 0;
    }
    if (static_cast<uint64_t>(count) * minElementBytes > bytesLeft()) {
        markFailed(kPastTheEnd);
        return 0;
    }
    return count;
}

}  // namespace Core
