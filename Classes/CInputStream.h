#pragma once

#include <cstdint>
#include <string>

namespace Core {

// A byte source with the save files' encodings on top of one raw read. Reads never throw: a read
// past the end of the data yields zeros and marks the stream failed, so a caller can refuse a short
// or damaged file after parsing it instead of checking every value.
class CInputStream {
public:
    virtual ~CInputStream() = default;

    // Fills buffer with count bytes and returns count. Bytes the data does not hold are left as they
    // were and the stream is marked failed.
    virtual int32_t read(void* buffer, int32_t count) = 0;

    // Bytes left before the end of the data; bounds every count and length read from it.
    virtual uint64_t bytesLeft() const = 0;

    // True once a read ran past the end or a value could not be valid.
    bool failed() const { return _failed; }
    // Why the stream first failed, in words for a log line; "" while it has not.
    const char* failureReason() const { return _failureReason; }

    uint8_t readByte();
    uint16_t readUInt16();
    int32_t readInt32();
    // Unsigned LEB128 of at most 5 bytes; longer or wider encodings mark the stream failed.
    uint32_t readVarUInt();
    // The 4 bytes of an IEEE single, little-endian.
    float readFloat();
    void readString(std::string& out);
    void readWString(std::u16string& out);

    // A container's int32 element count. No writer stores a negative count, so one marks the stream
    // failed and gives 0, as does a count whose elements, each at least minElementBytes long, cannot
    // fit in the bytes left.
    int32_t readCount(uint32_t minElementBytes);

protected:
    // Only the first reason is kept: what follows a failure is read from misaligned data.
    void markFailed(const char* reason = "it ends inside a record") {
        if (!_failed) {
            _failed = true;
            _failureReason = reason;
        }
    }

private:
    bool _failed = false;
    const char* _failureReason = "";
};

}  // namespace Core
