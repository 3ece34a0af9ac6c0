// The installed launcher: it prepares the user's working folder from the
// delivered files, leaves a file the user changed alone, and starts the tool
// (offscreen) in that folder.

#include "CliFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

class LauncherTest : public CliFixture {
protected:
    void SetUp() override {
        CliFixture::SetUp();
        ASSERT_EQ(StageInstallation(folder.Path("stage")), "");
    }

    const std::string delivered = folder.Path("stage/usr/share/qmx4600");
    const std::string work = folder.Path("xdg/qmx4600");

    // Runs the launcher (from the folder the test runs in) and waits until the
    // tool runs in place of it in the working folder; false when that did not
    // happen in time or the launcher ended.
    bool LaunchAndSeeTheTool(std::string& seen) {
        QProcess launcher;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", QString::fromStdString(folder.Path("xdg")));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        launcher.setProcessEnvironment(environment);
        launcher.setWorkingDirectory(QString::fromStdString(folder.Path("")));
        launcher.start(QString::fromStdString(folder.Path("stage/usr/bin/qmx4600-launcher")), {});
        if (!launcher.waitForStarted(10000)) {
            seen = "launcher did not start";
            return false;
        }
        const std::string proc = "/proc/" + std::to_string(launcher.processId());
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        bool found = false;
        while (!found && std::chrono::steady_clock::now() < end) {
            std::error_code error;
            const fs::path exe = fs::read_symlink(proc + "/exe", error);
            const fs::path cwd = fs::read_symlink(proc + "/cwd", error);
            found = exe.filename() == "qmx4600-tool" && cwd == fs::path(work);
            seen = exe.string() + " in " + cwd.string();
            // Returns at once when the launcher ends, which is a failure.
            if (!found && launcher.waitForFinished(100)) {
                seen += "; ended: " + launcher.readAllStandardError().toStdString();
                return false;
            }
        }
        launcher.terminate();
        if (!launcher.waitForFinished(10000))
            launcher.kill();
        launcher.waitForFinished(10000);
        return found;
    }
};

TEST_F(LauncherTest, PreparesAFreshWorkingFolderAndStartsTheToolThere) {
    std::string seen;
    ASSERT_TRUE(LaunchAndSeeTheTool(seen)) << seen;
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(delivered)) {
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ++files;
        EXPECT_EQ(ReadTextFile(work + "/" + name), ReadTextFile(entry.path().string()));
    }
    EXPECT_GT(files, 40);
    EXPECT_TRUE(fs::exists(work + "/QMX4600GUI_OI.PDF"));
}

TEST_F(LauncherTest, LeavesAChangedFileAloneAndUpdatesOneStillAsDelivered) {
    fs::create_directories(work + "/.delivered");
    // The user's own register image: kept, the delivered one put beside it.
    folder.WriteFile("xdg/qmx4600/QMX4600Init.cfg", "X0f ff\n");
    // A preset an earlier version delivered and the user never touched.
    folder.WriteFile("xdg/qmx4600/QMX4600BassManOne.cfg", "X49 00 80 00 00\n");
    folder.WriteFile("xdg/qmx4600/.delivered/QMX4600BassManOne.cfg", "X49 00 80 00 00\n");

    std::string seen;
    ASSERT_TRUE(LaunchAndSeeTheTool(seen)) << seen;
    EXPECT_EQ(ReadTextFile(work + "/QMX4600Init.cfg"), "X0f ff\n");
    EXPECT_EQ(ReadTextFile(work + "/QMX4600Init-delivered.cfg"),
              ReadTextFile(delivered + "/QMX4600Init.cfg"));
    EXPECT_EQ(ReadTextFile(work + "/QMX4600BassManOne.cfg"),
              ReadTextFile(delivered + "/QMX4600BassManOne.cfg"));
    EXPECT_FALSE(fs::exists(work + "/QMX4600BassManOne-delivered.cfg"));

    // Started again, nothing the user has is touched.
    ASSERT_TRUE(LaunchAndSeeTheTool(seen)) << seen;
    EXPECT_EQ(ReadTextFile(work + "/QMX4600Init.cfg"), "X0f ff\n");
}

} // namespace
