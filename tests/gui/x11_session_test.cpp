// The tests' own X server never outlives the test process, however that process ends.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

// Last: Xlib's macros would break the headers above.
#include "x11_session.h"

namespace kvr::test {
namespace {

// Waits for a process that is not our child to end, without polling on a timer.
bool endsWithin(int pid, int milliseconds) {
    const int fd = int(syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) return errno == ESRCH;  // already gone
    pollfd p{fd, POLLIN, 0};
    const bool ended = poll(&p, 1, milliseconds) == 1;
    close(fd);
    return ended;
}

TEST(XvfbServer, EndsWhenTheTestProcessIsKilled) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t testProcess = fork();
    ASSERT_GE(testProcess, 0);
    if (testProcess == 0) {
        // A stand-in for a test: starts its server, says which process it is, and is killed.
        close(fds[0]);
        XvfbServer x;
        const int server = x.ok() ? x.pid() : -1;
        if (write(fds[1], &server, sizeof server) != sizeof server) _exit(1);
        pause();
        _exit(0);
    }
    close(fds[1]);
    int server = -1;
    const bool told = read(fds[0], &server, sizeof server) == sizeof server;
    close(fds[0]);
    kill(testProcess, SIGKILL);
    waitpid(testProcess, nullptr, 0);
    ASSERT_TRUE(told && server > 0) << "Xvfb could not be started";
    const bool ended = endsWithin(server, 10000);
    if (!ended) kill(server, SIGKILL);
    EXPECT_TRUE(ended) << "Xvfb " << server << " outlived its test";
}

}  // namespace
}  // namespace kvr::test
