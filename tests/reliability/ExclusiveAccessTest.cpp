// Two jobs on one file: while one holds the data file, a second fails its read cleanly (102, or
// exit status 1 from the command line) and changes nothing. The holder is a child process that
// locks the file and waits on a pipe; nothing sleeps.

#include <fcntl.h>
#include <gtest/gtest.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <utility>

#include "tests/reliability/JobScene.h"

namespace wemb::testing {
namespace {

void expectUntouched(const JobScene& scene) {
    EXPECT_EQ(bytesIfPresent(scene.dataPath()), scene.original());
    EXPECT_EQ(scene.names(), std::set<std::string>{"amp.CE2"});
}

#ifdef _WIN32
// Another program that has the file open, sharing it for reading and writing as an editor
// does; Windows refuses the job's open that shares neither.
class LockingChild {
  public:
    explicit LockingChild(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr)) {}
    ~LockingChild() { release(); }
    bool locked() const { return handle_ != INVALID_HANDLE_VALUE; }
    void release() {
        if (locked()) {
            CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
        }
    }

  private:
    HANDLE handle_;
};
#else
// A child that locks the file, says so through one pipe and holds the lock until the other
// pipe is closed.
class LockingChild {
  public:
    explicit LockingChild(const std::string& path) {
        int ready[2];
        int release[2];
        if (pipe(ready) != 0 || pipe(release) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(release[1]);
            const int fd = ::open(path.c_str(), O_RDONLY);
            const char locked = (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0) ? 'y' : 'n';
            (void)!::write(ready[1], &locked, 1);
            char ignored;
            (void)!::read(release[0], &ignored, 1);  // returns when the parent closes its end
            _exit(0);
        }
        close(ready[1]);
        close(release[0]);
        releaseFd_ = release[1];
        char locked = 'n';
        locked_ = ::read(ready[0], &locked, 1) == 1 && locked == 'y';
        close(ready[0]);
    }
    ~LockingChild() { release(); }

    bool locked() const { return locked_; }
    void release() {
        if (releaseFd_ >= 0) {
            close(releaseFd_);
            releaseFd_ = -1;
            int status = 0;
            waitpid(pid_, &status, 0);
        }
    }

  private:
    pid_t pid_ = -1;
    int releaseFd_ = -1;
    bool locked_ = false;
};
#endif

TEST(ExclusiveAccess, AJobFailsWhileAnotherProcessHoldsTheFileAndRunsOnceItLetsGo) {
    JobScene scene;
    LockingChild holder(scene.dataPath());
    ASSERT_TRUE(holder.locked());
    EXPECT_EQ(scene.run().outcome, MessageId::ReadFailed);
    expectUntouched(scene);
    const CliResult result = runCli({"--mode", "renum", scene.dataPath()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.standardError.find("amp.CE2: the file is in use by another job"),
              std::string::npos)
        << result.standardError;
    expectUntouched(scene);

    holder.release();
    const JobReport report = scene.run();
    EXPECT_EQ(report.outcome, MessageId::Finished);
    EXPECT_EQ(scene.brokenPromises(report), "");
}

}  // namespace
}  // namespace wemb::testing
