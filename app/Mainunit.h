#pragma once

#include "Compressionunit.h"
#include "Configcontrolunit.h"
#include "Configdataunit.h"
#include "Dataclocksunit.h"
#include "Datalog.h"
#include "DisplayStrip.h"
#include "Equnit.h"
#include "HandlerGuard.h"
#include "Loudnessunit.h"
#include "Bassmanunit.h"
#include "Mixersunit.h"
#include "MainWindowHooks.h"
#include "Toneunit.h"
#include "TransportUi.h"
#include "Volumeunit.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class BlockPanel;
class TFsDetection;
class IDocumentViewer;
class IFileDialogs;
class IMessageBoxes;
class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TClockControlPanel;
class TDrcPanel;
class TLoudnessPanel;
class TConfigControlPanel;
class TEqPanel;
class TMixerPanel;
class TBassManPanel;
class TGainForm;
class TI2CForm;
class TTonePanel;
class TVolumePanel;

// The main window: a panel area showing one block panel at a time, chosen by
// the navigation buttons, and the display strip with the device's state
// below it. It owns the register table, the block models and the data log.
class TMainForm : public QMainWindow, public IMainWindowHooks {
    Q_OBJECT
public:
    static constexpr const char* MapFileName = "QMX4600.addr";
    static constexpr const char* InitFileName = "QMX4600Init.cfg";
    static constexpr const char* TempFileName = "QMX4600TempFile.cfg";
    static constexpr const char* UsersGuideName = "QMX4600GUI_OI.PDF";

    TMainForm(TI2CForm& transport, IFileDialogs& fileDialogs, IDocumentViewer& documents,
              IMessageBoxes& boxes);
    ~TMainForm() override;

    TConfigDataUnit& Table() { return *table_; }
    TDataLog& DataLog() { return *dataLog_; }
    const DisplayStrip& Strip() const { return strip_; }
    const QString& StartDirectory() const { return startDirectory_; }
    // The gain entry window, made with the models and kept for the program's life.
    TGainForm& GainForm() { return *gainForm_; }
    // The register command window, shown from the Tools menu.
    void SetRegisterWindow(QWidget* window) { registerWindow_ = window; }
    // The configuration compare window, shown from the Tools menu.
    void SetCompareWindow(QWidget* window) { compareWindow_ = window; }

    // --- start-up, reset and shutdown ---
    void SetInitialDisplay();
    void ResyncFromDevice();
    void ShowBusStatus();

    // --- IMainWindowHooks ---
    void RefreshAll() override;
    void AdjustToSampleRateMode() override;
    void StopFsPoll() override;
    void ResumeFsPoll() override;
    void RestoreStartDirectory() override;
    void OpenDocument(const std::string& fileName) override;
    void ShowMessage(const std::string& text) override;

    void ShowPanel(QWidget* panel) override;
    // The pictures and tooltips of every mixing point of the mixer and
    // bass-management panels, from the register table. A picture file that
    // cannot be read is shown in the error box; the points after it keep
    // their pictures and the caller goes on.
    void UpdateGainIndicators() override;

private slots:
    void VolumesuiButtonClick();
    void TonesuiButtonClick();
    void LoudnesssuiButtonClick();
    void DRCsuiButtonClick();
    void EQsuiButtonClick();
    void ConfigControlsuiButtonClick();
    void DataClockControlsuiButtonClick();
    void MixersuiButtonClick();
    void BassMansuiButtonClick();
    void DisplayImagesuiButtonClick();
    void RESETsuiButtonClick();
    void REINITsuiButtonClick();
    void ExitsuiButtonClick();
    void exitClick();
    void ConfigFileLClick();
    void ConfigFileSClick();
    void SelectDataLoggerClick();
    void SelectDeBugGUIClick();
    void ConfigCompareClick();
    void Au();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateModels();
    void BuildWindow();
    void BuildPanelArea(QWidget* central);
    void BuildNavigation();
    void BuildDisplayStrip(QWidget* central);
    void BuildMenus();
    void HideBlockPanels();
    void SetComment(const QString& text);
    // The first problem a reader found, and how many more, in the comment label.
    void ShowProblems(const QString& prefix, const std::vector<std::string>& problems);
    void ShowStatus(const QString& text, Rgb colour);
    void WriteSoftMute(uint8_t value);
    // The data-file lists of the start directory (DRC, loudness, EQ, in
    // this order), built at the first refresh and by RESET and REINIT.
    void FillFileLists();
    // Connects a handler of the window through the guard every panel uses:
    // an error it raises ends that action and is shown in the error box.
    template <class Sender, class Signal, class Handler>
    void ConnectGuarded(Sender* sender, Signal signal, Handler handler) {
        ::ConnectGuarded(sender, signal, this, [this, handler] { std::invoke(handler, this); });
    }
    // A data file of the start directory: its exact name, else the one file
    // whose name matches without regard to case.
    QString InStartDirectory(const QString& fileName) const;
    // The same, as the register table opens it.
    std::string StartFileName(const QString& fileName) const;

    TI2CForm& transport_;
    IFileDialogs& fileDialogs_;
    IDocumentViewer& documents_;
    IMessageBoxes& boxes_;
    QString startDirectory_;

    std::unique_ptr<TConfigDataUnit> table_;
    std::unique_ptr<TVolume> volume_;
    std::unique_ptr<TCompression> compression_;
    std::unique_ptr<TConfigControl> configControl_;
    std::unique_ptr<TDataClocks> dataClocks_;
    std::unique_ptr<TEQ> eq_;
    std::unique_ptr<TLoudness> loudness_;
    std::unique_ptr<TBassMan> bassMan_;
    std::unique_ptr<TMixers> mixers_;
    std::unique_ptr<TTone> tone_;
    std::unique_ptr<TGainForm> gainForm_;
    std::unique_ptr<TDataLog> dataLog_;

    QWidget* mainTVPanel_ = nullptr;
    QLabel* initialImagePanel_ = nullptr;
    QLabel* displayImage_ = nullptr;
    QPlainTextEdit* logicMemo_ = nullptr;
    TVolumePanel* panelVolume_ = nullptr;
    TClockControlPanel* panelClockControl_ = nullptr;
    TTonePanel* panelTone_ = nullptr;
    TLoudnessPanel* panelLoudness_ = nullptr;
    TDrcPanel* panelDRC_ = nullptr;
    TEqPanel* panelBiquad_ = nullptr;
    TConfigControlPanel* panelConfigControl_ = nullptr;
    TMixerPanel* panelMixer_ = nullptr;
    TBassManPanel* panelBassManagement_ = nullptr;
    std::array<QWidget*, 9> blockPanels_{};
    TFsDetection* fsDetection_ = nullptr;
    QWidget* registerWindow_ = nullptr;
    QWidget* compareWindow_ = nullptr;
    DisplayStrip strip_;
    bool firstRefresh_ = true;
};
