#pragma once

// Shared by the save tests: a real temporary folder, fixture files, a log capture and a clean game
// state.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/base/Log.h"

#include "Settings.h"
#include "UserData.h"
#include "UserDataIO.h"

namespace savetest {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        _path = pattern;
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::permissions(_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(_path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // With the trailing "/" the save code expects.
    std::string path() const { return _path + "/"; }
    std::string file(const std::string& name) const { return path() + name; }

private:
    std::string _path;
};

// The whole file; empty when it is missing or not a regular file.
inline std::string readFileText(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline std::vector<uint8_t> readFileBytes(const std::string& path) {
    const std::string text = readFileText(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

inline void writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void writeFileText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

inline std::string dataPath(const std::string& relative) {
    return std::string(KESTROVA_TEST_DATA_DIR) + "/" + relative;
}

// Bytes from a fixture of hex pairs; '#' starts a comment that runs to the end of the line.
inline std::vector<uint8_t> readHexFixture(const std::string& path) {
    std::ifstream file(path);
    if (!file) {
        throw std::runtime_error("missing fixture " + path);
    }
    std::vector<uint8_t> bytes;
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string word;
        while (words >> word) {
            bytes.push_back(static_cast<uint8_t>(std::stoul(word, nullptr, 16)));
        }
    }
    return bytes;
}

// Gives a saved copy a profile count of -2^31 and the checksum of its new bytes, as an edited file or
// a fault that rewrote the checksum leaves it: the checksum passes, the store does not parse.
inline void damageProfileCount(const TempFolder& folder, const std::string& dataName,
                               const std::string& checksumName) {
    std::vector<uint8_t> bytes = readFileBytes(folder.file(dataName));
    bytes.at(4) = 0x00;
    bytes.at(5) = 0x00;
    bytes.at(6) = 0x00;
    bytes.at(7) = 0x80;
    writeFileBytes(folder.file(dataName), bytes);
    UserDataIO::writeChecksumFile(folder.file(dataName).c_str(), folder.file(checksumName).c_str());
}

// Collects every log line while alive.
class LogCapture {
public:
    LogCapture() {
        cocos2d::setLogSink([this](cocos2d::LogLevel level, const std::string& line) {
            lines.push_back(line);
            if (level >= cocos2d::LogLevel::Warning) {
                problems.push_back(line);
            }
        });
    }
    ~LogCapture() { cocos2d::setLogSink({}); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    bool contains(const std::string& line) const {
        for (const std::string& l : lines) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }

    std::vector<std::string> lines;
    std::vector<std::string> problems;
};

// Runs body in a child process that file permissions bind as they bind a player: a root test run
// loses the capabilities that let it read and write past them. Returns the body's result, or -1
// when the child could not drop them or did not exit normally.
inline int runAsPlayer(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3] = {};
        if (::syscall(SYS_capget, &header, data) != 0) {
            ::_exit(255);
        }
        for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
            data[0].effective &= ~(1u << capability);
            data[0].permitted &= ~(1u << capability);
            data[0].inheritable &= ~(1u << capability);
        }
        if (::syscall(SYS_capset, &header, data) != 0) {
            ::_exit(255);
        }
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

// The store empty and the settings service new, as at launch.
inline void resetGameState() {
    UserData::getInstance() = UserData{};
    Settings::destroyInstance();
}

}  // namespace savetest
