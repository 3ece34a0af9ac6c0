// The viewer's command line taken from a desktop entry file.

#include "DocumentViewer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct EntryCase {
    const char* name;
    const char* entry;
    QStringList command;
};

const QString Document = "/start/QMX4600GUI_OI.PDF";

class DesktopEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(DesktopEntry, GivesTheViewerCommandForTheDocument) {
    QTemporaryDir dir;
    QFile file(dir.filePath("viewer.desktop"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Text));
    file.write(GetParam().entry);
    file.close();
    EXPECT_EQ(DesktopEntryCommand(file.fileName(), Document), GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DesktopEntry,
    ::testing::Values(
        EntryCase{"FileCode", "[Desktop Entry]\nName=Viewer\nExec=viewer %f\n", {"viewer", Document}},
        EntryCase{"UrlListCode", "[Desktop Entry]\nExec=viewer --new %U\n", {"viewer", "--new", Document}},
        EntryCase{
            "CodeInsideAWord", "[Desktop Entry]\nExec=viewer --file=%f\n", {"viewer", "--file=" + Document}},
        EntryCase{"OtherCodesDropped", "[Desktop Entry]\nExec=viewer %i %c %f\n", {"viewer", Document}},
        EntryCase{"PercentSign",
                  "[Desktop Entry]\nExec=viewer --zoom=100%% %f\n",
                  {"viewer", "--zoom=100%", Document}},
        EntryCase{"NoCodeAppendsTheDocument", "[Desktop Entry]\nExec=viewer\n", {"viewer", Document}},
        EntryCase{"QuotedProgram",
                  "[Desktop Entry]\nExec=\"/opt/my viewer/bin\" %f\n",
                  {"/opt/my viewer/bin", Document}},
        EntryCase{"OnlyTheMainEntryCounts",
                  "[Desktop Entry]\nExec=viewer %f\n[Desktop Action New]\nExec=viewer --window %f\n",
                  {"viewer", Document}},
        EntryCase{"NoCommand", "[Desktop Entry]\nName=Viewer\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopEntryFile, MissingFileGivesNoCommand) {
    EXPECT_TRUE(DesktopEntryCommand("/no/such/viewer.desktop", Document).isEmpty());
}

TEST(DesktopDocumentViewer, AMissingDocumentIsNotOpened) {
    bool finished = false;
    EXPECT_FALSE(
        DesktopDocumentViewer().Open("/no/such/QMX4600GUI_OI.PDF", [&finished] { finished = true; }));
    EXPECT_FALSE(finished);
}

} // namespace
