#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// Opens a document with the desktop's default viewer for its type. While the
// viewer runs the caller's event loop goes on; `finished` runs once the
// viewer has ended.
class IDocumentViewer {
public:
    virtual ~IDocumentViewer() = default;
    // False when the document or a viewer for it cannot be opened.
    virtual bool Open(const QString& path, std::function<void()> finished) = 0;
};

// The command line that the desktop entry file starts a viewer with for
// `path`; empty when the file holds no command.
QStringList DesktopEntryCommand(const QString& desktopFile, const QString& path);

class DesktopDocumentViewer : public IDocumentViewer {
public:
    bool Open(const QString& path, std::function<void()> finished) override;
};
