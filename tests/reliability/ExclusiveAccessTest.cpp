// Two jobs on one file: while another job holds the data file, a job fails its read cleanly
// (102, or exit status 1 from the command line) and changes nothing, and once it is let go the
// job runs.

#include <gtest/gtest.h>

#include <optional>

#include "platform/FileOps.h"
#include "platform/LockedFile.h"
#include "tests/reliability/JobScene.h"

namespace wemb::testing {
namespace {

TEST(ExclusiveAccess, AJobFailsWhileAnotherHoldsTheFileAndRunsOnceItLetsGo) {
    JobScene scene;
    auto holder = platform::LockedFile::open(platform::realFileOps(), scene.dataPath());
    ASSERT_TRUE(holder);
    EXPECT_EQ(scene.run().outcome, MessageId::ReadFailed);
    const CliResult result = runCli({"--mode", "renum", scene.dataPath()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.standardError.find("amp.CE2: the file is in use by another job"),
              std::string::npos)
        << result.standardError;
    EXPECT_EQ(scene.directory().names(), std::vector<std::string>{"amp.CE2"});

    holder.reset();
    EXPECT_EQ(bytesIfPresent(scene.dataPath()), scene.original());  // Windows reads no held file
    const JobReport report = scene.run();
    EXPECT_EQ(report.outcome, MessageId::Finished);
    EXPECT_EQ(scene.brokenPromises(report), "");
}

}  // namespace
}  // namespace wemb::testing
