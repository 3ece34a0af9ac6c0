#include "Mainunit.h"

#include "BlockPanel.h"
#include "ClockPanel.h"
#include "DrcPanel.h"
#include "LoudnessPanel.h"
#include "TonePanel.h"
#include "ConfigControlPanel.h"
#include "EqPanel.h"
#include "DataFiles.h"
#include "FileDialogs.h"
#include "FsDetection.h"
#include "Gainformunit.h"
#include "MixerPanel.h"
#include "BassManPanel.h"
#include "I2cunit.h"
#include "Look.h"
#include "MessageBoxes.h"
#include "VolumePanel.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>

TMainForm::TMainForm(TI2CForm& transport, IFileDialogs& fileDialogs, IDocumentViewer& documents,
                     IMessageBoxes& boxes)
    : transport_(transport), fileDialogs_(fileDialogs), documents_(documents), boxes_(boxes) {
    // Every file the tool reads or writes by name lives in the directory it
    // was started in.
    startDirectory_ = QDir::currentPath();
    RestoreStartDirectory();
    CreateModels();
    BuildWindow();

    if (table_->ReadMapFile(StartFileName(MapFileName))) {
        SetInitialDisplay();
        ShowProblems(QString(), table_->MapFileProblems());
    } else {
        SetComment("ERROR: Reading File 'QMX4600.addr'");
    }
}

TMainForm::~TMainForm() {
    // The panels and the poll refer to the models, so they go first; then
    // the models in the order they were made, the data log (closing its
    // file) last.
    delete takeCentralWidget();
    delete fsDetection_;
    transport_.SetDataLog(nullptr);
    table_.reset();
    bassMan_.reset();
    volume_.reset();
    compression_.reset();
    configControl_.reset();
    dataClocks_.reset();
    eq_.reset();
    loudness_.reset();
    mixers_.reset();
    tone_.reset();
    gainForm_.reset();
    dataLog_.reset();
}

void TMainForm::CreateModels() {
    table_ = std::make_unique<TConfigDataUnit>();
    table_->SetBus(&transport_);
    bassMan_ = std::make_unique<TBassMan>();
    volume_ = std::make_unique<TVolume>(*table_);
    compression_ = std::make_unique<TCompression>(*table_);
    configControl_ = std::make_unique<TConfigControl>(*table_);
    dataClocks_ = std::make_unique<TDataClocks>(*table_, transport_);
    eq_ = std::make_unique<TEQ>(*table_);
    loudness_ = std::make_unique<TLoudness>(*table_);
    mixers_ = std::make_unique<TMixers>(*table_);
    tone_ = std::make_unique<TTone>(*table_);
    gainForm_ = std::make_unique<TGainForm>(*table_, transport_, *this);
    dataLog_ = std::make_unique<TDataLog>();
    transport_.SetDataLog(dataLog_.get());
}

QString TMainForm::InStartDirectory(const QString& fileName) const {
    return QFile::decodeName(QByteArray::fromStdString(StartFileName(fileName)));
}

std::string TMainForm::StartFileName(const QString& fileName) const {
    return DataFilePath(LocalFileName(startDirectory_), LocalFileName(fileName));
}

void TMainForm::RestoreStartDirectory() {
    QDir::setCurrent(startDirectory_);
}

void TMainForm::ShowMessage(const std::string& text) {
    boxes_.ShowMessage(this, QString::fromStdString(text));
}

void TMainForm::SetComment(const QString& text) {
    strip_.HelpfulCommentsLabel->setText(text);
}

void TMainForm::HideBlockPanels() {
    for (QWidget* panel : blockPanels_)
        panel->hide();
    initialImagePanel_->hide();
}

void TMainForm::ShowPanel(QWidget* panel) {
    HideBlockPanels();
    panel->show();
    panel->raise();
    AdjustToSampleRateMode();
    RefreshAll();
}

void TMainForm::VolumesuiButtonClick() {
    ShowPanel(panelVolume_);
}
void TMainForm::TonesuiButtonClick() {
    ShowPanel(panelTone_);
}
void TMainForm::LoudnesssuiButtonClick() {
    ShowPanel(panelLoudness_);
}
void TMainForm::DRCsuiButtonClick() {
    ShowPanel(panelDRC_);
}
void TMainForm::EQsuiButtonClick() {
    ShowPanel(panelBiquad_);
}
void TMainForm::ConfigControlsuiButtonClick() {
    ShowPanel(panelConfigControl_);
}
void TMainForm::DataClockControlsuiButtonClick() {
    ShowPanel(panelClockControl_);
}
void TMainForm::MixersuiButtonClick() {
    ShowPanel(panelMixer_);
    UpdateGainIndicators();
}
void TMainForm::BassMansuiButtonClick() {
    ShowPanel(panelBassManagement_);
    UpdateGainIndicators();
}

void TMainForm::DisplayImagesuiButtonClick() {
    HideBlockPanels();
}

// Double-clicking the block diagram shows the rules the panels follow;
// double-clicking the rules hides them again.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == displayImage_) {
            logicMemo_->show();
            logicMemo_->raise();
            return true;
        }
        if (watched == logicMemo_->viewport()) {
            logicMemo_->hide();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::StopFsPoll() {
    fsDetection_->StopFsPoll();
}
void TMainForm::ResumeFsPoll() {
    fsDetection_->ResumeFsPoll();
}
