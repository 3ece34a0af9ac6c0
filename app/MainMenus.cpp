// The main menu's actions: configuration files, the data log, the register
// window and the user's guide.

#include "Mainunit.h"

#include "DocumentViewer.h"
#include "FileDialogs.h"
#include "FsDetection.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace {

const FileDialogRequest ConfigFileDialog{QString(), "CFG", "*.cfg", QString()};

} // namespace

void TMainForm::ShowProblems(const QString& prefix, const std::vector<std::string>& problems) {
    if (!problems.empty())
        SetComment(prefix + QString::fromStdString(ProblemSummary(problems)));
}

void TMainForm::WriteSoftMute(uint8_t value) {
    table_->SetData(TVolume::SoftMuteRegister, std::span<const uint8_t>(&value, 1));
    table_->WriteRegister(TVolume::SoftMuteRegister);
}

void TMainForm::ConfigFileLClick() {
    try {
        const QString file = fileDialogs_.GetOpenFileName(this, ConfigFileDialog);
        // All channels stay muted while the file rewrites the processing.
        WriteSoftMute(0xFF);
        if (!file.isEmpty())
            ShowProblems(file + ": ", table_->LoadConfigFile(LocalFileName(file)).problems);
        UpdateGainIndicators();
        WriteSoftMute(0x00);
        RefreshAll();
    } catch (...) {
    }
}

void TMainForm::ConfigFileSClick() {
    try {
        const QString file = fileDialogs_.GetSaveFileName(this, ConfigFileDialog);
        if (!file.isEmpty() && table_->SaveConfigFile(LocalFileName(file)) == SaveOutcome::Failed)
            SetComment("Not saved: cannot write " + file);
    } catch (...) {
    }
}

void TMainForm::SelectDataLoggerClick() {
    dataLog_->ToggleLog([this](const std::string& text) { SetComment(QString::fromStdString(text)); });
}

void TMainForm::SelectDeBugGUIClick() {
    if (!registerWindow_)
        return;
    registerWindow_->show();
    registerWindow_->raise();
    registerWindow_->activateWindow();
}

void TMainForm::ConfigCompareClick() {
    if (!compareWindow_)
        return;
    compareWindow_->show();
    compareWindow_->raise();
    compareWindow_->activateWindow();
}

// A document opens in the desktop's viewer; the tool gets out of the way
// until the viewer is closed. A viewer that fails at once is reported as the
// document not opening, and the window comes back.
void TMainForm::OpenDocument(const std::string& fileName) {
    const QString failure = "Error Reading " + QString::fromStdString(fileName);
    QPointer<TMainForm> window(this);
    const bool started =
        documents_.Open(InStartDirectory(QString::fromStdString(fileName)), [window, failure](ViewerEnd end) {
            if (!window)
                return;
            if (end == ViewerEnd::CannotOpen)
                window->SetComment(failure);
            window->showNormal();
        });
    if (!started) {
        SetComment(failure);
        return;
    }
    showMinimized();
}

void TMainForm::Au() {
    OpenDocument(UsersGuideName);
}

void TMainForm::BuildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("FileMenu");
    QMenu* load = file->addMenu("&Load");
    QAction* loadConfig = load->addAction("&Config File", QKeySequence("Ctrl+Alt+L"));
    loadConfig->setObjectName("ConfigFileL");
    ConnectGuarded(loadConfig, &QAction::triggered, &TMainForm::ConfigFileLClick);
    QMenu* saveAs = file->addMenu("&Save As");
    QAction* saveConfig = saveAs->addAction("Config File", QKeySequence("Ctrl+Alt+S"));
    saveConfig->setObjectName("ConfigFileS");
    ConnectGuarded(saveConfig, &QAction::triggered, &TMainForm::ConfigFileSClick);
    QAction* exit = file->addAction("e&Xit", QKeySequence("Ctrl+Alt+X"));
    exit->setObjectName("exit");
    ConnectGuarded(exit, &QAction::triggered, &TMainForm::exitClick);

    QMenu* tools = menuBar()->addMenu("&Tools");
    tools->setObjectName("ToolsMenu");
    QAction* dataLog = tools->addAction("Data Log");
    dataLog->setObjectName("SelectDataLogger");
    ConnectGuarded(dataLog, &QAction::triggered, &TMainForm::SelectDataLoggerClick);
    QAction* registers = tools->addAction("&Register Read/Write", QKeySequence("Ctrl+Alt+R"));
    registers->setObjectName("SelectDeBugGUI");
    ConnectGuarded(registers, &QAction::triggered, &TMainForm::SelectDeBugGUIClick);
    QAction* fsDetect = tools->addAction("Automatic Fs Detection (On/Off)");
    fsDetect->setObjectName("AutomaticFsDetection");
    ConnectGuarded(fsDetect, &QAction::triggered,
                   [](TMainForm* main) { main->fsDetection_->AutomaticFsDetectionClick(); });
    QAction* compare = tools->addAction("Configuration Compare");
    compare->setObjectName("ConfigCompare");
    ConnectGuarded(compare, &QAction::triggered, &TMainForm::ConfigCompareClick);

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("HelpMenu");
    QAction* guide = help->addAction("&Users Guide", QKeySequence("Ctrl+Alt+U"));
    guide->setObjectName("UsersGuide");
    ConnectGuarded(guide, &QAction::triggered, &TMainForm::Au);
}
