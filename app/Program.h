#pragma once

#include "IPMBusTransport.h"
#include "TransportWindows.h"

#include <memory>

class IDocumentViewer;
class IFileDialogs;
class IMessageBoxes;
class TACK_ErrorDialogForm;
class TCommandLineForm;
class TConfigCompareForm;
class TFileExistsForm;
class TI2CForm;
class TInitForm;
class TMainForm;
class TWorkingForm;

// What the program is given from outside: how to create the adapter, and
// the dialogs and viewer it talks to the user through.
struct ProgramServices {
    AdapterFactory createAdapter;
    IFileDialogs& fileDialogs;
    IMessageBoxes& messageBoxes;
    IDocumentViewer& documents;
};

// Fixes number formatting program-wide: "." for decimals, "," for thousands,
// whatever the user's regional settings.
void FixNumberFormatting();

// The program's windows and objects, created once in their fixed order; the
// initial device sequence has run when the constructor returns.
class TProgram {
public:
    explicit TProgram(const ProgramServices& services);
    ~TProgram();

    TMainForm& MainForm() { return *main_; }
    TI2CForm& Transport() { return *transport_; }
    TACK_ErrorDialogForm& ErrorDialog() { return *errorDialog_; }
    TWorkingForm& WorkingForm() { return *working_; }
    TCommandLineForm& CommandLine() { return *commandLine_; }
    TFileExistsForm& FileExists() { return *fileExists_; }
    TConfigCompareForm& ConfigCompare() { return *configCompare_; }

private:
    TransportWindows transportUi_;
    std::unique_ptr<TI2CForm> transport_;
    std::unique_ptr<TMainForm> main_;
    std::unique_ptr<TACK_ErrorDialogForm> errorDialog_;
    std::unique_ptr<TWorkingForm> working_;
    std::unique_ptr<TCommandLineForm> commandLine_;
    std::unique_ptr<TFileExistsForm> fileExists_;
    std::unique_ptr<TInitForm> init_;
    std::unique_ptr<TConfigCompareForm> configCompare_;
};
