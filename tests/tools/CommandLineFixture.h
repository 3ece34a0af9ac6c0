#pragma once

// The register command window over a real transport and a simulated device,
// with the main window, the file dialogs and the overwrite question answered
// by fakes that note what was asked of them.

#include "Commandline.h"
#include "Configdataunit.h"
#include "FileDialogs.h"
#include "I2cunit.h"
#include "MainWindowHooks.h"
#include "ScriptedOverwriteQuestion.h"
#include "SimulatedQmx4600.h"

#include <QLineEdit>
#include <QString>

#include <deque>
#include <initializer_list>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Hooks, transfers and dialogs in the order they happened.
using EventLog = std::vector<std::string>;

class RecordingHooks : public IMainWindowHooks {
public:
    explicit RecordingHooks(EventLog& log) : log_(log) {}
    void RefreshAll() override { log_.push_back("RefreshAll"); }
    void AdjustToSampleRateMode() override { log_.push_back("AdjustToSampleRateMode"); }
    void StopFsPoll() override { log_.push_back("StopFsPoll"); }
    void ResumeFsPoll() override { log_.push_back("ResumeFsPoll"); }
    void RestoreStartDirectory() override { log_.push_back("RestoreStartDirectory"); }
    void OpenDocument(const std::string& fileName) override { log_.push_back("document: " + fileName); }
    void ShowMessage(const std::string& text) override { log_.push_back("message: " + text); }
    void ShowPanel(QWidget*) override { log_.push_back("ShowPanel"); }

private:
    EventLog& log_;
};

// Passes every transfer on to the transport and notes it ("read 0x10").
class LoggingBus : public IRegisterBus {
public:
    LoggingBus(IRegisterBus& inner, EventLog& log) : inner_(inner), log_(log) {}
    void I2CWrite(uint8_t deviceAddress, uint8_t subAddress, int count, const uint8_t* bytes) override;
    void I2CRead(uint8_t deviceAddress, uint8_t subAddress, int count, uint8_t* buffer) override;
    bool IsTransferOk() const override { return inner_.IsTransferOk(); }

private:
    IRegisterBus& inner_;
    EventLog& log_;
};

// Answers file dialogs from a script; an exhausted script cancels.
class ScriptedDialogs : public IFileDialogs {
public:
    explicit ScriptedDialogs(EventLog& log) : log_(log) {}
    QString GetOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString GetSaveFileName(QWidget* parent, const FileDialogRequest& request) override;

    std::deque<QString> answers;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;

private:
    QString Answer();
    EventLog& log_;
};

class QuietTransportUi : public ITransportUi {
public:
    void SetBusStatus(const std::string& text, Rgb) override { status = text; }
    void ShowCommunicationError() override {}
    HrCheckAnswer AskHrCheck(const std::string&) override { return HrCheckAnswer::No; }
    std::string status;
};

// A map with the sizes the delivered map lacks: 3 bytes, longer than the
// grid, and none at all.
inline constexpr std::string_view OddSizesMap = "#3 0x03 3 !r_three\n"
                                                "#4 0x04 48 !r_long\n"
                                                "#5 0x05 0 !r_empty\n"
                                                "#16 0x10 1 !r_one\n";

class CommandLineWindow {
public:
    // The delivered register map unless a map text is given.
    explicit CommandLineWindow(std::optional<std::string_view> mapText = std::nullopt);

    template <class T = QWidget> T* Find(const QString& name) const {
        T* widget = window.findChild<T*>(name);
        if (!widget)
            throw std::runtime_error("no control named " + name.toStdString());
        return widget;
    }
    QLineEdit* Edit(const QString& name) const { return Find<QLineEdit>(name); }
    void Type(const QString& name, const QString& text) const { Edit(name)->setText(text); }
    void Click(const QString& name) const;
    QString Text(const QString& name) const;
    // Byte n of the write or read grid.
    QLineEdit* WriteField(int n) const;
    QLineEdit* ReadField(int n) const;
    std::string Message() const;
    // The device calls since the last look, the connect and reset of
    // start-up left out.
    std::vector<SimulatedQmx4600::Call> TakeCalls() { return device->TakeCalls(); }

    bool skin;
    EventLog log;
    QuietTransportUi ui;
    TConfigDataUnit table;
    SimulatedQmx4600* device = nullptr; // owned by the transport
    std::unique_ptr<TI2CForm> transport;
    LoggingBus bus;
    RecordingHooks hooks;
    ScriptedDialogs dialogs;
    TCommandLineForm window;
};

std::string DeliveredMapFile();
std::vector<uint8_t> Bytes(std::initializer_list<int> values);
// Distinct, recognisable bytes: first, first + step, ...
std::vector<uint8_t> Sequence(int count, int first, int step = 1);
std::string ReadWholeFile(const std::string& fileName);
void WriteWholeFile(const std::string& fileName, const std::string& text);

// Both grids: the first `size` fields in the normal colour, the rest grey.
void ExpectPainted(const CommandLineWindow& w, int size);
// The read grid holds the bytes from field 0 on (at most 40), "00" after them.
void ExpectReadGridShows(const CommandLineWindow& w, const std::vector<uint8_t>& bytes);
