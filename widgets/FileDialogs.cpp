#include "FileDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace {

QString RunDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    const QString folder = request.folder.isEmpty() ? QDir::currentPath() : request.folder;
    QFileDialog dialog(parent, request.title, folder);
    // The program's own dialogs look like the rest of the program, and the
    // program asks its own overwrite question before it replaces a file.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // A preset holding a wildcard ("*.cfg") is the filter the user starts with.
    const bool presetIsPattern = request.fileName.contains('*') || request.fileName.contains('?');
    if (presetIsPattern)
        dialog.setNameFilters({request.fileName, QStringLiteral("All files (*)")});
    if (!request.fileName.isEmpty() && !presetIsPattern)
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

QString QtFileDialogs::GetOpenFileName(QWidget* parent, const FileDialogRequest& request) {
    return RunDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::GetSaveFileName(QWidget* parent, const FileDialogRequest& request) {
    return RunDialog(parent, request, QFileDialog::AcceptSave);
}

std::string LocalFileName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}
