#include "platform/instance_lock.h"

#include "platform/user_name.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace harlune {
namespace {

// A child process that takes the lock, reports the outcome through a pipe ('1' held,
// '0' refused) and then waits until it is killed.
struct LockHolder {
    pid_t pid = -1;
    char outcome = '?';

    explicit LockHolder(const std::string& path) {
        int fds[2];
        EXPECT_EQ(::pipe(fds), 0);
        pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            InstanceLock lock(path);
            const char c = lock.tryAcquire() && lock.held() ? '1' : '0';
            (void)!::write(fds[1], &c, 1);
            for (;;)
                ::pause();
        }
        ::close(fds[1]);
        EXPECT_EQ(::read(fds[0], &outcome, 1), 1);
        ::close(fds[0]);
    }
    void kill9() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            pid = -1;
        }
    }
    ~LockHolder() { kill9(); }
};

TEST(InstanceLock, SecondProcessIsRefusedUntilTheHolderDies) {
    test::TempDir dir;
    const std::string path = dir.file("Harlune-test.lock");

    LockHolder first(path);
    ASSERT_EQ(first.outcome, '1');

    InstanceLock here(path);
    EXPECT_FALSE(here.tryAcquire());
    EXPECT_FALSE(here.held());
    LockHolder second(path);
    EXPECT_EQ(second.outcome, '0');

    first.kill9(); // no clean-up runs: the system must drop the lock
    EXPECT_TRUE(here.tryAcquire());
    EXPECT_TRUE(here.held());

    LockHolder third(path);
    EXPECT_EQ(third.outcome, '0');
}

TEST(InstanceLock, ReleaseLetsTheNextOneIn) {
    test::TempDir dir;
    const std::string path = dir.file("x.lock");
    InstanceLock a(path), b(path);
    ASSERT_TRUE(a.tryAcquire());
    EXPECT_FALSE(b.tryAcquire());
    a.release();
    EXPECT_TRUE(b.tryAcquire());
    EXPECT_TRUE(b.held());
}

TEST(InstanceLock, UnusableLockFileDoesNotBlockTheStart) {
    test::TempDir dir;
    InstanceLock lock(dir.file("missing-folder/x.lock"));
    EXPECT_TRUE(lock.tryAcquire());
    EXPECT_FALSE(lock.held());
    EXPECT_FALSE(lock.error().empty());
}

TEST(InstanceLock, DefaultPathIsPerUserInTheRuntimeFolder) {
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    const std::string saved = old ? old : "";
    ::setenv("XDG_RUNTIME_DIR", "/run/user/4711", 1);
    const std::string path = defaultInstanceLockPath();
    if (old)
        ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else
        ::unsetenv("XDG_RUNTIME_DIR");

    EXPECT_EQ(path.rfind("/run/user/4711/Harlune-", 0), 0u) << path;
    EXPECT_EQ(path.substr(path.size() - 5), ".lock");
    EXPECT_FALSE(Benutzername().empty());
    EXPECT_NE(path.find(Benutzername()), std::string::npos) << path;
}

} // namespace
} // namespace harlune
