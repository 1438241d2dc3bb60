#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/sdl/TerminationSignals.h"

namespace {

// A player who starts the game under a file-size limit (ulimit -f) must see a write past it fail,
// as on a full disk, and the game go on; by default the kernel's SIGXFSZ would end the process in
// the middle of that write. The write runs in a child set up as the application loop sets itself up.
TEST(TerminationSignalsTest, AWritePastTheFileSizeLimitFailsWithoutEndingTheProgram) {
    std::string folder = (std::filesystem::temp_directory_path() / "kestrova-signals-XXXXXX").string();
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    const std::string path = folder + "/big.bin";
    const pid_t child = ::fork();
    if (child == 0) {
        cocos2d::installTerminationSignalHandlers();
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(2);
        }
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            ::_exit(3);
        }
        const std::vector<char> bytes(8192, 'x');
        // The kernel writes up to the limit, then refuses the rest.
        const ssize_t first = ::write(fd, bytes.data(), bytes.size());
        const ssize_t second = ::write(fd, bytes.data(), bytes.size());
        const int error = errno;
        ::close(fd);
        ::_exit(first == 4096 && second == -1 && error == EFBIG ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    std::filesystem::remove_all(folder);
    ASSERT_FALSE(WIFSIGNALED(status)) << "ended by signal " << WTERMSIG(status);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no limit set; 3: no file; 4: the writes did not stop at the limit";
}

}  // namespace
