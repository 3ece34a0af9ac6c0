#pragma once

#include "DocumentViewer.h"
#include "FileDialogs.h"
#include "MessageBoxes.h"
#include "Program.h"
#include "SimulatedQmx4600.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// File dialogs answered from a script: each call takes the next answer
// (empty = cancelled) and records what was asked.
class ScriptedFileDialogs : public IFileDialogs {
public:
    std::deque<QString> answers;
    std::vector<FileDialogRequest> requests;

    QString GetOpenFileName(QWidget*, const FileDialogRequest& request) override { return Next(request); }
    QString GetSaveFileName(QWidget*, const FileDialogRequest& request) override { return Next(request); }

private:
    QString Next(const FileDialogRequest& request) {
        requests.push_back(request);
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class ScriptedMessageBoxes : public IMessageBoxes {
public:
    HrCheckAnswer hrCheckAnswer = HrCheckAnswer::No;
    std::vector<QString> hrCheckQuestions;
    std::vector<QString> errors;
    std::vector<QString> messages;

    HrCheckAnswer AskHrCheck(QWidget*, const QString& message) override {
        hrCheckQuestions.push_back(message);
        return hrCheckAnswer;
    }
    void ShowError(QWidget*, const QString& message) override { errors.push_back(message); }
    void ShowMessage(QWidget*, const QString& message) override { messages.push_back(message); }
};

// The message boxes of the test program's application object.
ScriptedMessageBoxes& AppBoxes();

class ScriptedViewer : public IDocumentViewer {
public:
    bool opens = true;
    QString openedPath;
    std::function<void(ViewerEnd)> ended;

    bool Open(const QString& path, std::function<void(ViewerEnd)> whenEnded) override {
        openedPath = path;
        ended = std::move(whenEnded);
        return opens;
    }
};

// A start directory holding the delivered data files, the whole program
// started in it against a simulated device, and its windows at hand.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest();
    ~ProgramTest() override;

    // Copies a delivered data file into the start directory.
    void Deliver(const QString& fileName);
    // Copies a file made at build time (pictures) into the start directory.
    void DeliverBuilt(const QString& fileName);
    QString StartFile(const QString& fileName) const { return startDir_.filePath(fileName); }
    // Starts the program; `prepare` sets up the device before the adapter is handed over.
    void Start(const std::function<void(SimulatedQmx4600&)>& prepare = {}, bool adapterCreated = true);

    template <class T> T* Find(const char* name) const {
        T* found = nullptr;
        for (QWidget* top : TopWindows())
            if ((found = top->objectName() == name ? qobject_cast<T*>(top) : top->findChild<T*>(name)))
                return found;
        ADD_FAILURE() << "no control named " << name;
        return nullptr;
    }
    void Click(const char* buttonName);
    void Trigger(const char* actionName);
    QString Text(const char* labelName) const;

    // Calls of one kind that reached the device since the last Take.
    std::vector<SimulatedQmx4600::Call> TakeCalls() { return sim_->TakeCalls(); }
    static std::vector<SimulatedQmx4600::Call> Writes(const std::vector<SimulatedQmx4600::Call>& calls);
    static std::vector<SimulatedQmx4600::Call> Reads(const std::vector<SimulatedQmx4600::Call>& calls);

    TMainForm& Main() { return program_->MainForm(); }

    QTemporaryDir temp_;
    QDir startDir_;
    QString previousDir_;
    SimulatedQmx4600* sim_ = nullptr;
    ScriptedFileDialogs dialogs_;
    ScriptedViewer viewer_;
    // The viewer the program is started with.
    IDocumentViewer* documents_ = &viewer_;
    std::unique_ptr<TProgram> program_;

private:
    std::vector<QWidget*> TopWindows() const;
};

// "aa bb cc" for a byte string, for readable assertions.
std::string HexBytes(const std::vector<uint8_t>& bytes);
