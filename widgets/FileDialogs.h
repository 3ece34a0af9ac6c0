#pragma once

#include <QString>

#include <string>

class QWidget;

// A chosen file's name as the C++ library opens it (the system's encoding).
std::string LocalFileName(const QString& fileName);

struct FileDialogRequest {
    QString title;
    QString defaultSuffix; // "CFG"
    QString fileName;      // preset of the file-name box, "*.cfg"
    QString folder;        // where the dialog opens; empty for the current folder
};

// File open and save dialogs, behind an interface so that tests can answer
// them. An empty result means the user cancelled.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
};

class QtFileDialogs : public IFileDialogs {
public:
    QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) override;
};
