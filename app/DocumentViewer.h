#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// How a viewer started for a document ended.
enum class ViewerEnd {
    // The viewer ran and has ended (or handed the document on and ended).
    Closed,
    // The viewer failed at once: it could not start, crashed, or exited with
    // a failure status within its first moments (xdg-open exits 3 when the
    // desktop has no viewer for the type).
    CannotOpen,
};

// Opens a document with the desktop's default viewer for its type. While the
// viewer runs the caller's event loop goes on; `ended` runs once the viewer
// has ended, and says how.
class IDocumentViewer {
public:
    virtual ~IDocumentViewer() = default;
    // False, and `ended` never runs, when the document is not there or no
    // viewer program can be started for it.
    virtual bool Open(const QString& path, std::function<void(ViewerEnd)> ended) = 0;
};

// The command line that the desktop entry file starts a viewer with for
// `path`; empty when the file holds no command or its name is empty.
QStringList DesktopEntryCommand(const QString& desktopFile, const QString& path);

class DesktopDocumentViewer : public IDocumentViewer {
public:
    // A viewer that exits with a failure status within this time of starting
    // could not show the document. One that fails later was seen by the user
    // and ended in its own way.
    static constexpr int DefaultFailureWindowMs = 2000;

    explicit DesktopDocumentViewer(int failureWindowMs = DefaultFailureWindowMs)
        : failureWindowMs_(failureWindowMs) {}

    bool Open(const QString& path, std::function<void(ViewerEnd)> ended) override;

private:
    int failureWindowMs_;
};
