#include "core/Output.h"

#include <fstream>
#include <iterator>

#include "core/Error.h"

namespace assetgen {

namespace fs = std::filesystem;

void Output::write(const std::string& relPath, const std::vector<unsigned char>& bytes) {
    if (relPath.empty() || relPath.front() == '/' || relPath.find("..") != std::string::npos) {
        throw GenError("output path '" + relPath + "' leaves the output folder");
    }
    {
        std::lock_guard<std::mutex> lock(_mutex);
        if (!_written.insert(relPath).second) throw GenError("output '" + relPath + "' is made twice");
    }
    fs::path path = _root / relPath;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec) throw GenError("cannot create folder for '" + relPath + "': " + ec.message());
    {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            std::vector<unsigned char> old((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (old == bytes) return;
        }
    }
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw GenError("cannot write '" + relPath + "'");
    }
    fs::rename(temp, path, ec);
    if (ec) throw GenError("cannot write '" + relPath + "': " + ec.message());
    std::lock_guard<std::mutex> lock(_mutex);
    ++_changed;
}

void Output::writeText(const std::string& relPath, std::string_view text) {
    write(relPath, std::vector<unsigned char>(text.begin(), text.end()));
}

std::set<std::string> Output::written() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _written;
}

std::size_t Output::changedCount() const {
    std::lock_guard<std::mutex> lock(_mutex);
    return _changed;
}

}  // namespace assetgen
