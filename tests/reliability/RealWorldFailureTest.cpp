// Failures the file system itself produces, beside the injected ones: permissions, names taken
// by other kinds of file, symbolic links, and a disk that is really full.
//
// The tests run as root, and permission bits do not stop root: where a case relies on them, it
// checks that root's job keeps every promise (it succeeds) and that anyone else's fails cleanly.

#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <sys/mount.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>

#include "tests/reliability/JobScene.h"

namespace wemb::testing {
namespace {

namespace fs = std::filesystem;

bool runningAsRoot() {
#ifdef _WIN32
    return true;  // no permission bits that only stop others
#else
    return geteuid() == 0;
#endif
}

mode_t modeOf(const std::string& path) {
    struct stat status {};
#ifdef _WIN32
    stat(path.c_str(), &status);
#else
    lstat(path.c_str(), &status);
#endif
    return status.st_mode & 07777;
}

struct PermissionCase {
    const char* situation;
    void (*arrange)(const JobScene&);
    void (*restore)(const JobScene&);
    MessageId asRoot;
    MessageId asUser;
};

TEST(RealWorldFailures, PermissionsKeepEveryPromise) {
    const PermissionCase cases[] = {
#ifndef _WIN32  // a read-only directory is only a hint on Windows
        {"read-only directory", [](const JobScene& s) { chmod(s.directory().c_str(), 0555); },
         [](const JobScene& s) { chmod(s.directory().c_str(), 0755); }, MessageId::Finished,
         MessageId::WriteFailed},
#endif
        // Replacing a file needs only the directory's permission, so a read-only data file is
        // numbered; its replacement keeps the read-only bits.
        {"read-only data file", [](const JobScene& s) { chmod(s.dataPath().c_str(), 0444); },
         [](const JobScene&) {}, MessageId::Finished, MessageId::Finished},
        {"backup name taken by a read-only file",
         [](const JobScene& s) {
             writeFile(s.backupPath(), std::string("old backup"));
             chmod(s.backupPath().c_str(), 0444);
         },
         [](const JobScene&) {}, MessageId::Finished, MessageId::Finished},
    };
    for (const PermissionCase& row : cases) {
        SCOPED_TRACE(row.situation);
        JobScene scene;
        const mode_t dataMode = (row.arrange(scene), modeOf(scene.dataPath()));
        const JobReport report = scene.run();
        row.restore(scene);
        EXPECT_EQ(report.outcome, runningAsRoot() ? row.asRoot : row.asUser);
        EXPECT_EQ(scene.brokenPromises(report), "");
        if (report.outcome == MessageId::Finished) {
            EXPECT_EQ(modeOf(scene.dataPath()), dataMode);
        }
    }
}  // namespace

#ifndef _WIN32  // links and mounts are for administrators on Windows
struct LinkCase {
    const char* kind;
    bool relative;
};

// The link is followed: its target is numbered and backed up beside the target, and the link
// stays a link to it.
TEST(RealWorldFailures, ASymbolicLinkIsFollowedAndStaysALink) {
    const LinkCase cases[] = {{"absolute link", false}, {"relative link", true}};
    for (const LinkCase& row : cases) {
        SCOPED_TRACE(row.kind);
        TempDirectory dir;
        fs::create_directory(dir.file("real"));
        fs::create_directory(dir.file("links"));
        const JobScene target(dir.file("real"));
        const fs::path pointsAt =
            row.relative ? fs::path("../real/amp.CE2") : fs::path(target.dataPath());
        fs::create_symlink(pointsAt, dir.file("links/drawing.CE2"));

        JobRequest request;
        request.fileName = dir.file("links/drawing.CE2");
        request.mode = NumberingMode::ReNum;
        const JobReport report = runJob(request, JobEnvironment{nullptr, "/nonexistent"});
        EXPECT_EQ(report.outcome, MessageId::Finished);
        EXPECT_EQ(target.brokenPromises(report), "");
        EXPECT_TRUE(fs::is_symlink(dir.file("links/drawing.CE2")));
        EXPECT_EQ(fs::read_symlink(dir.file("links/drawing.CE2")), pointsAt);
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"links", "real"}));
        EXPECT_EQ(fs::directory_iterator(dir.file("links"))->path().filename(), "drawing.CE2");
    }
}

// A small tmpfs of its own, unmounted again at the end; absent when it cannot be mounted.
class SmallFileSystem {
  public:
    SmallFileSystem() {
        mounted_ = mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                         "size=64k,mode=0755") == 0;
    }
    ~SmallFileSystem() {
        if (mounted_) {
            umount2(dir_.path().c_str(), MNT_DETACH);
        }
    }
    bool mounted() const { return mounted_; }
    std::string path() const { return dir_.path().string(); }

    // Fills what is left but for `spare` bytes.
    void fillLeaving(std::size_t spare) const {
        std::ofstream filler(path() + "/filler", std::ios::binary);
        const std::string block(1024, 'f');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size()))) {
            filler.flush();
        }
        filler.close();
        fs::resize_file(path() + "/filler", fs::file_size(path() + "/filler") - spare);
    }

  private:
    TempDirectory dir_;
    bool mounted_ = false;
};

#endif

}  // namespace
}  // namespace wemb::testing
