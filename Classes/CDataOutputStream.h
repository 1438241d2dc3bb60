#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "COutputStream.h"

namespace Core {

// Writes a file in binary mode. A write or close that fails leaves the stream failed; callers that
// must know whether the file is complete check failed() after closing.
class CDataOutputStream : public COutputStream {
public:
    int32_t write(const void* buffer, int32_t count) override;

    // Flushes and closes the file; a failure to do so marks the stream failed.
    virtual void close();
    // Opens path for writing, truncating it; returns whether a file is open.
    virtual bool open(const std::string& path);
    // The same with a path of 16-bit units, each narrowed to its low 8 bits.
    virtual bool open(const std::u16string& path);
    // Writes count zero bytes.
    virtual uint32_t skip(uint32_t count);

    bool failed() const { return _file.fail(); }

private:
    std::ofstream _file;
};

}  // namespace Core
