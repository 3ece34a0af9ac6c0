#include "DocumentViewer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QString DefaultDesktopEntry(const QString& mimeType) {
    QProcess query;
    query.start("xdg-mime", {"query", "default", mimeType});
    if (!query.waitForFinished(3000) || query.exitCode() != 0)
        return {};
    // A desktop entry is named by its file name alone; an empty answer or a
    // path names none.
    const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (entry.isEmpty() || entry.contains('/'))
        return {};
    return QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
}

// Expands the field codes of one word of an Exec line: the file or URL
// codes become the document, "%%" a percent sign, the others nothing.
QString ExpandFieldCodes(const QString& word, const QString& path, bool& placed) {
    QString expanded;
    for (int i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            expanded += word[i];
            continue;
        }
        const QChar code = word[++i];
        if (code == '%') {
            expanded += '%';
        } else if (QString("fFuU").contains(code)) {
            expanded += path;
            placed = true;
        }
    }
    return expanded;
}

} // namespace

QStringList DesktopEntryCommand(const QString& desktopFile, const QString& path) {
    if (desktopFile.isEmpty())
        return {};
    QFile file(desktopFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    QString exec;
    bool inEntry = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.startsWith("Exec="))
            exec = line.mid(5);
    }
    QStringList command;
    bool placed = false;
    for (const QString& word : QProcess::splitCommand(exec)) {
        const QString expanded = ExpandFieldCodes(word, path, placed);
        if (!expanded.isEmpty())
            command << expanded;
    }
    if (!command.isEmpty() && !placed)
        command << path;
    return command;
}

bool DesktopDocumentViewer::Open(const QString& path, std::function<void(ViewerEnd)> ended) {
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable())
        return false;
    const QString mimeType = QMimeDatabase().mimeTypeForFile(path).name();
    QStringList command = DesktopEntryCommand(DefaultDesktopEntry(mimeType), path);
    if (command.isEmpty())
        command = {"xdg-open", path};
    auto* viewer = new QProcess;
    viewer->setProgram(command.takeFirst());
    viewer->setArguments(command);
    QElapsedTimer running;
    running.start();
    const int failureWindow = failureWindowMs_;
    QObject::connect(viewer, &QProcess::finished, viewer,
                     [viewer, ended, running, failureWindow](int status, QProcess::ExitStatus exit) {
                         const bool failed = exit == QProcess::CrashExit || status != 0;
                         ended(failed && !running.hasExpired(failureWindow) ? ViewerEnd::CannotOpen
                                                                            : ViewerEnd::Closed);
                         viewer->deleteLater();
                     });
    viewer->start();
    // A program that is missing or cannot be run fails here at once.
    if (!viewer->waitForStarted(5000)) {
        delete viewer;
        return false;
    }
    return true;
}
