#include "FileDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

enum class Mode { Open, Save };

struct DialogCase {
    const char* what;
    Mode mode;
    const char* typed;  // name the user picks in the folder; nullptr cancels
    const char* result; // name returned, relative to the folder; "" for none
};

class FileDialogsTest : public ::testing::TestWithParam<DialogCase> {
protected:
    FileDialogsTest() {
        QFile existing(folder.filePath("Saved.cfg"));
        existing.open(QIODevice::WriteOnly);
        existing.write("X0f ff\n");
    }

    // Answers the dialog once it runs, as a user would; anything else asking
    // on top of it (an overwrite question of the dialog's own) is noted and
    // turned away.
    void AnswerWhenShown(const DialogCase& c) {
        QTimer::singleShot(0, [this, c] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "no file dialog is shown";
                return;
            }
            seen.title = dialog->windowTitle();
            seen.folder = dialog->directory().absolutePath();
            seen.suffix = dialog->defaultSuffix();
            seen.filter = dialog->selectedNameFilter();
            if (c.typed == nullptr) {
                dialog->reject();
                return;
            }
            QTimer::singleShot(0, [this] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                    askedAgain = true;
                    box->reject();
                }
            });
            dialog->selectFile(c.typed);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            if (dialog->isVisible())
                dialog->reject();
        });
    }

    QTemporaryDir folder;
    struct {
        QString title, folder, suffix, filter;
    } seen;
    bool askedAgain = false;
};

TEST_P(FileDialogsTest, AsksWithTheRequestAndReturnsTheChoice) {
    const DialogCase& c = GetParam();
    const FileDialogRequest request{c.mode == Mode::Open ? "Load Config File" : "Save Config File", "CFG",
                                    "*.cfg", folder.path()};
    QtFileDialogs dialogs;
    AnswerWhenShown(c);

    const QString chosen = c.mode == Mode::Open ? dialogs.GetOpenFileName(nullptr, request)
                                                : dialogs.GetSaveFileName(nullptr, request);

    EXPECT_EQ(seen.title, request.title);
    EXPECT_EQ(seen.folder, QDir(folder.path()).absolutePath());
    EXPECT_EQ(seen.suffix, "CFG");
    EXPECT_EQ(seen.filter, "*.cfg");
    EXPECT_FALSE(askedAgain) << "the program asks its own overwrite question";
    EXPECT_EQ(chosen, *c.result ? folder.filePath(c.result) : QString());
}

INSTANTIATE_TEST_SUITE_P(Choices, FileDialogsTest,
                         ::testing::Values(DialogCase{"OpenExisting", Mode::Open, "Saved.cfg", "Saved.cfg"},
                                           DialogCase{"OpenCancelled", Mode::Open, nullptr, ""},
                                           DialogCase{"SaveNewGetsTheSuffix", Mode::Save, "Bass", "Bass.CFG"},
                                           DialogCase{"SaveOverExisting", Mode::Save, "Saved.cfg",
                                                      "Saved.cfg"},
                                           DialogCase{"SaveCancelled", Mode::Save, nullptr, ""}),
                         [](const auto& info) { return std::string(info.param.what); });

} // namespace
