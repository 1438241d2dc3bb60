#pragma once

#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace assetgen {

// The generator's output folder (<build>/Resources/res). Every file goes through here: a file is
// rewritten only when its bytes change, two outputs of one name are an error, and the list of
// written names lets a later run delete what is no longer generated.
class Output {
public:
    explicit Output(std::filesystem::path root) : _root(std::move(root)) {}

    void write(const std::string& relPath, const std::vector<unsigned char>& bytes);
    void writeText(const std::string& relPath, std::string_view text);

    std::set<std::string> written() const;
    std::size_t changedCount() const;
    const std::filesystem::path& root() const { return _root; }

private:
    std::filesystem::path _root;
    mutable std::mutex _mutex;
    std::set<std::string> _written;
    std::size_t _changed = 0;
};

}  // namespace assetgen
