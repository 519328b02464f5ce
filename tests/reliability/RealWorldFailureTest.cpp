// Failures the file system itself produces, beside the injected ones: permissions, names taken
// by other kinds of file, and symbolic links.
//
// The tests run as root, and permission bits do not stop root: where a case relies on them, it
// checks that root's job keeps every promise (it succeeds) and that anyone else's fails cleanly.

#include <gtest/gtest.h>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <filesystem>

#include "tests/reliability/JobScene.h"

namespace wemb::testing {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// A name the save must replace taken by a directory with something in it; no one may replace
// that, so the save fails with the original in place.
void takeByADirectory(const std::string& path) {
    fs::create_directory(path);
    writeFile(path + "/inside", std::string("x"));
}

TEST(RealWorldFailures, PermissionsAndTakenNamesKeepEveryPromise) {
#ifdef _WIN32
    const bool root = true;  // no permission bits that only stop others
#else
    const bool root = geteuid() == 0;
#endif
    const struct {
        const char* situation;
        void (*arrange)(const JobScene&);
        MessageId asRoot;
        MessageId asUser;
    } cases[] = {
#ifndef _WIN32  // a read-only directory is only a hint on Windows
        {"read-only directory",
         [](const JobScene& s) { chmod(s.directory().path().string().c_str(), 0555); },
         MessageId::Finished, MessageId::WriteFailed},
#endif
        // Replacing a file needs only the directory's permission, so a read-only data file is
        // numbered; its replacement keeps the read-only bits.
        {"read-only data file", [](const JobScene& s) { chmod(s.dataPath().c_str(), 0444); },
         MessageId::Finished, MessageId::Finished},
        {"backup name taken by a read-only file",
         [](const JobScene& s) {
             writeFile(s.backupPath(), std::string("old backup"));
             chmod(s.backupPath().c_str(), 0444);
         },
         MessageId::Finished, MessageId::Finished},
        {"backup name taken by a directory",
         [](const JobScene& s) { takeByADirectory(s.backupPath()); }, MessageId::WriteFailed,
         MessageId::WriteFailed},
        {"a sheet's name taken by a directory",
         [](const JobScene& s) { takeByADirectory(s.directory().file("amp.CE2-02")); },
         MessageId::WriteFailed, MessageId::WriteFailed},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.situation);
        const JobScene scene;
        row.arrange(scene);
        const mode_t dataMode = modeOf(scene.dataPath());
        const JobReport report = scene.run();
        fs::permissions(scene.directory().path(), fs::perms::owner_all, fs::perm_options::add);
        EXPECT_EQ(report.outcome, root ? row.asRoot : row.asUser);
        EXPECT_EQ(scene.brokenPromises(report), "");
        EXPECT_EQ(modeOf(scene.dataPath()), dataMode);
    }
}

#ifndef _WIN32  // links are for administrators on Windows
// The link is followed: its target is numbered and backed up beside the target, and the link
// stays a link to it.
TEST(RealWorldFailures, ASymbolicLinkIsFollowedAndStaysALink) {
    const JobScene target;
    const TempDirectory links;
    const fs::path relative = fs::relative(target.dataPath(), links.path());
    for (const fs::path& pointsAt : {fs::path(target.dataPath()), relative}) {
        SCOPED_TRACE(pointsAt);
        fs::remove(target.backupPath());
        writeFile(target.dataPath(), target.original());
        fs::create_symlink(pointsAt, links.file("drawing.CE2"));
        const JobReport report = JobScene::runOn(links.file("drawing.CE2"));
        EXPECT_EQ(report.outcome, MessageId::Finished);
        EXPECT_EQ(target.brokenPromises(report), "");
        EXPECT_EQ(fs::read_symlink(links.file("drawing.CE2")), pointsAt);
        EXPECT_EQ(links.names(), std::vector<std::string>{"drawing.CE2"});
        fs::remove(links.file("drawing.CE2"));
    }
}
#endif

}  // namespace
}  // namespace wemb::testing
