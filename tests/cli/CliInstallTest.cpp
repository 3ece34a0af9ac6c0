// An installation staged in a folder of its own (DESTDIR), as a package is
// built from it: the programs and delivered files where they belong, and the
// installed command-line program finding its installed register map when the
// folder it runs in has none.

#include "CliFixture.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class CliInstallTest : public CliFixture {};

TEST_F(CliInstallTest, InstalledProgramsAndFilesAndTheInstalledMap) {
    ASSERT_EQ(StageInstallation(folder.Path("stage")), "");
    const std::string root = folder.Path("stage/usr/");
    for (const char* file :
         {"bin/qmx4600-tool", "bin/qmx4600-sim", "bin/qmx4600-cli", "bin/qmx4600-launcher",
          "share/qmx4600/QMX4600.addr", "share/qmx4600/QMX4600Init.cfg",
          "share/qmx4600/QMX4600BassManOne.cfg", "share/qmx4600/JAZZ48.EQ46XX",
          "share/qmx4600/LoudnessFlat.LD46xx", "share/qmx4600/Drc1MusicModerate48k.DRC46xx",
          "share/qmx4600/QMX4600GUI_OI.PDF", "share/qmx4600/QMX4600EQ.PDF", "share/qmx4600/GreenMultiply.BMP",
          "share/qmx4600/QMX4600BassMan4Ch.jpg", "lib/udev/rules.d/70-qmx4600-i2c-bridges.rules",
          "share/man/man1/qmx4600-tool.1", "share/man/man1/qmx4600-sim.1", "share/man/man1/qmx4600-cli.1"})
        EXPECT_TRUE(std::filesystem::is_regular_file(root + file)) << file;
    // The desktop entry, its description and its icon, where desktops look,
    // and accepted by the desktop's own checkers.
    const std::string id = "io.qmx4600.ConfigTool";
    for (const std::string file :
         {"share/applications/" + id + ".desktop", "share/metainfo/" + id + ".metainfo.xml",
          "share/icons/hicolor/scalable/apps/" + id + ".svg", "share/icons/hicolor/16x16/apps/" + id + ".png",
          "share/icons/hicolor/48x48/apps/" + id + ".png", "share/icons/hicolor/256x256/apps/" + id + ".png"})
        EXPECT_TRUE(std::filesystem::is_regular_file(root + file)) << file;
    EXPECT_EQ(QImage(QString::fromStdString(root + "share/icons/hicolor/48x48/apps/" + id + ".png")).size(),
              QSize(48, 48));
    const struct {
        const char* program;
        QStringList arguments;
    } checks[] = {
        {"desktop-file-validate", {QString::fromStdString(root + "share/applications/" + id + ".desktop")}},
        {"appstreamcli",
         {"validate", "--no-net", QString::fromStdString(root + "share/metainfo/" + id + ".metainfo.xml")}},
    };
    for (const auto& check : checks) {
        QProcess process;
        process.start(check.program, check.arguments);
        ASSERT_TRUE(process.waitForFinished(60000)) << check.program << " did not run";
        EXPECT_EQ(process.exitCode(), 0)
            << check.program << ": " << process.readAllStandardOutput().toStdString()
            << process.readAllStandardError().toStdString();
    }
    const std::string entry = ReadTextFile(root + "share/applications/" + id + ".desktop").value_or("");
    EXPECT_NE(entry.find("\nExec=qmx4600-launcher\n"), std::string::npos) << entry;
    EXPECT_TRUE(std::filesystem::is_regular_file(root + "bin/qmx4600-launcher"));

    // Nothing the tool writes while it runs is delivered.
    EXPECT_FALSE(std::filesystem::exists(root + "share/qmx4600/QMX4600TempFile.cfg"));
    EXPECT_FALSE(std::filesystem::exists(root + "share/qmx4600/DataLog.txt"));

    // The test folder holds a map of its own; a fresh folder has none.
    std::filesystem::create_directory(folder.Path("work"));
    ChangeOnDevice("WRITE 1b d9 4 00 00 00 50");
    CliRun run = RunProgram(root + "bin/qmx4600-cli", {"read", "d9", "--json"}, folder.Path("work"));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Json(run)["name"].toString(), "r_master_vol");
    EXPECT_EQ(Json(run)["bytes"].toString(), "00 00 00 50");

    // The installed simulator, started in a folder without a map, finds the
    // installed one too, and the installed program reaches it.
    const std::string installedSocket = folder.Path("installed.sock");
    SimulatorProcess installed(root + "bin/qmx4600-sim", installedSocket);
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path("work"));
    const bool started = installed.Start({"--quiet"});
    std::filesystem::current_path(here);
    ASSERT_TRUE(started) << "the installed qmx4600-sim did not start";
    ::setenv("QMX4600_SIM_SOCKET", installedSocket.c_str(), 1);
    run = RunProgram(root + "bin/qmx4600-cli", {"dump"}, folder.Path("work"));
    ::setenv("QMX4600_SIM_SOCKET", socketPath.c_str(), 1);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Lines(run.out).size(), 256u);

    run = RunProgram(root + "bin/qmx4600-cli", {"--help"}, folder.Path("work"));
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: qmx4600-cli")) << run.out;
}

} // namespace
