// The viewer's command line taken from a desktop entry file, and how a
// viewer that cannot show the document is told from one that did.

#include "DocumentViewer.h"
#include "AppFixture.h"
#include "Mainunit.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <optional>

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
    EXPECT_FALSE(DesktopDocumentViewer().Open("/no/such/QMX4600GUI_OI.PDF",
                                              [&finished](ViewerEnd) { finished = true; }));
    EXPECT_FALSE(finished);
}

TEST(DesktopEntryFile, AnEmptyNameIsNotRead) {
    EXPECT_TRUE(DesktopEntryCommand(QString(), Document).isEmpty());
}

// A desktop of the test's own: PATH holds only a scratch folder, where the
// test puts the programs the viewer looks for (xdg-mime, xdg-open) as small
// scripts. Each script notes its arguments in "<name>.args".
class FakeDesktop {
public:
    FakeDesktop() : path_(qgetenv("PATH")) { qputenv("PATH", bin_.path().toLocal8Bit()); }
    ~FakeDesktop() { qputenv("PATH", path_); }

    void Install(const QString& program, const QString& body) {
        QFile script(bin_.filePath(program));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\necho \"$@\" > '" + bin_.filePath(program + ".args") + "'\n" + body + "\n")
                         .toLocal8Bit());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString Arguments(const QString& program) const {
        QFile args(bin_.filePath(program + ".args"));
        return args.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(args.readAll()).trimmed() : QString();
    }

private:
    QTemporaryDir bin_;
    QByteArray path_;
};

struct ViewerCase {
    const char* name;
    const char* script; // the body of the fake xdg-open
    ViewerEnd end;
};

class ViewerExit : public ::testing::TestWithParam<ViewerCase> {};

// A failure status or a crash within the failure window is "cannot be
// opened"; a clean exit, or a failure after the window, is a viewer that ran.
TEST_P(ViewerExit, TellsAViewerThatFailedAtOnceFromOneThatRan) {
    FakeDesktop desktop;
    desktop.Install("xdg-open", GetParam().script);
    QTemporaryDir start;
    const QString document = start.filePath("QMX4600GUI_OI.PDF");
    QFile(document).open(QIODevice::WriteOnly);
    std::optional<ViewerEnd> end;

    ASSERT_TRUE(DesktopDocumentViewer(500).Open(document, [&end](ViewerEnd e) { end = e; }));

    ASSERT_TRUE(QTest::qWaitFor([&end] { return end.has_value(); }, 10000));
    EXPECT_EQ(*end, GetParam().end);
    EXPECT_EQ(desktop.Arguments("xdg-open"), document);
}

INSTANTIATE_TEST_SUITE_P(Viewers, ViewerExit,
                         ::testing::Values(ViewerCase{"NoMethodAvailable", "exit 3", ViewerEnd::CannotOpen},
                                           ViewerCase{"Crashed", "kill -SEGV $$", ViewerEnd::CannotOpen},
                                           ViewerCase{"HandedOnAndEnded", "exit 0", ViewerEnd::Closed},
                                           ViewerCase{"ShownThenFailed", "/bin/sleep 1; exit 3",
                                                      ViewerEnd::Closed}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopDocumentViewer, NoViewerOnThePathIsNotOpened) {
    FakeDesktop desktop;
    QTemporaryDir start;
    const QString document = start.filePath("QMX4600GUI_OI.PDF");
    QFile(document).open(QIODevice::WriteOnly);
    bool ended = false;
    EXPECT_FALSE(DesktopDocumentViewer().Open(document, [&ended](ViewerEnd) { ended = true; }));
    QTest::qWait(50);
    EXPECT_FALSE(ended);
}

// An unknown or empty answer about the default viewer leaves the document to
// xdg-open, without trying to read a desktop entry that is not there.
TEST(DesktopDocumentViewer, WithoutADefaultEntryXdgOpenIsAsked) {
    for (const char* answer : {"echo", "echo no-such-viewer.desktop", "echo ../../etc/passwd"}) {
        SCOPED_TRACE(answer);
        FakeDesktop desktop;
        desktop.Install("xdg-mime", answer);
        desktop.Install("xdg-open", "exit 0");
        QTemporaryDir start;
        const QString document = start.filePath("QMX4600GUI_OI.PDF");
        QFile(document).open(QIODevice::WriteOnly);
        static QStringList warnings;
        warnings.clear();
        const QtMessageHandler previous =
            qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
                if (type != QtDebugMsg)
                    warnings << text;
            });
        std::optional<ViewerEnd> end;

        const bool opened = DesktopDocumentViewer().Open(document, [&end](ViewerEnd e) { end = e; });
        qInstallMessageHandler(previous);

        ASSERT_TRUE(opened);
        ASSERT_TRUE(QTest::qWaitFor([&end] { return end.has_value(); }, 10000));
        EXPECT_EQ(desktop.Arguments("xdg-mime"), "query default application/pdf");
        EXPECT_EQ(desktop.Arguments("xdg-open"), document);
        EXPECT_TRUE(warnings.isEmpty()) << warnings.join('|').toStdString();
    }
}

// Help > Users Guide on a desktop without a PDF viewer.
class UsersGuideTest : public ProgramTest {
protected:
    UsersGuideTest() {
        documents_ = &desktopViewer_;
        QFile(StartFile("QMX4600GUI_OI.PDF")).open(QIODevice::WriteOnly);
    }
    FakeDesktop desktop_;
    DesktopDocumentViewer desktopViewer_;
};

TEST_F(UsersGuideTest, XdgOpenWithoutAMethodShowsTheErrorAndRestoresTheWindow) {
    desktop_.Install("xdg-open", "exit 3");
    Start();
    Main().show();

    Trigger("UsersGuide");

    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return Text("HelpfulCommentsLabel") == "Error Reading QMX4600GUI_OI.PDF"; }, 10000))
        << Text("HelpfulCommentsLabel").toStdString();
    EXPECT_FALSE(Main().isMinimized());
    EXPECT_EQ(desktop_.Arguments("xdg-open"), StartFile("QMX4600GUI_OI.PDF"));
}

TEST_F(UsersGuideTest, NoViewerAtAllShowsTheErrorAtOnce) {
    Start();
    Main().show();

    Trigger("UsersGuide");

    EXPECT_EQ(Text("HelpfulCommentsLabel"), "Error Reading QMX4600GUI_OI.PDF");
    EXPECT_FALSE(Main().isMinimized());
}

TEST_F(UsersGuideTest, AViewerThatRunsLeavesTheCommentAlone) {
    desktop_.Install("xdg-open", "exit 0");
    Start();
    Main().show();

    Trigger("UsersGuide");
    EXPECT_TRUE(Main().isMinimized());

    EXPECT_TRUE(QTest::qWaitFor([this] { return !Main().isMinimized(); }, 10000));
    EXPECT_EQ(Text("HelpfulCommentsLabel"), "Initialized OK");
}

} // namespace
