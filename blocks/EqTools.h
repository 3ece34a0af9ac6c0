#pragma once

#include "DisplayStrip.h"
#include "EqImport.h"

#include <QObject>
#include <QString>

class IFileDialogs;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class TConfigDataUnit;
class TDataClocks;
class TEQ;
class TEqDesignWindow;
class TEqPanel;
class TEqResponseView;

// The equaliser's design tools, added to the EQ panel beside its own
// controls, which they leave as they are:
//   DESIGN...   the filter designer; it fills the selected biquad's edits,
//               and APPLY writes them as always;
//   IMPORT...   a filter list or coefficient text read into the selected
//               channel: previewed on the chart, written only on WRITE (one
//               register write per biquad, BQ1 to BQ7), never from a text
//               with errors;
//   SAVE EQ...  the selected channel as an EQ file;
//   VIEW...     (or a double click on the chart) the larger response view.
class TEqTools : public QObject {
    Q_OBJECT
public:
    TEqTools(TEqPanel& panel, TConfigDataUnit& table, TEQ& eq, TDataClocks& clocks, const DisplayStrip& strip,
             IFileDialogs& fileDialogs, const QString& startDirectory);

    TEqDesignWindow* DesignWindow() const { return designWindow_; }
    TEqResponseView* ResponseView() const { return responseView_; }
    QWidget* ImportWindow() const { return importWindow_; }

    void EQDesignButtonClick();
    void EQImportButtonClick();
    void EQImportWriteButtonClick();
    void EQImportCancelButtonClick();
    void EQSaveButtonClick();
    void EQResponseViewButtonClick();

private:
    void BuildImportWindow();
    int SelectedChannel() const;
    int SelectedBiquad() const;
    void FillEdits(const BiquadWords& bytes);
    void PreviewOnChart(const EqImportResult& result);
    void RefreshResponseView();

    TEqPanel& panel_;
    TConfigDataUnit& table_;
    TEQ& eq_;
    TDataClocks& clocks_;
    DisplayStrip strip_;
    IFileDialogs& fileDialogs_;
    QString startDirectory_;

    TEqDesignWindow* designWindow_;
    TEqResponseView* responseView_;
    QWidget* importWindow_ = nullptr;
    QPlainTextEdit* importText_ = nullptr;
    QPushButton* importWrite_ = nullptr;
    EqImportResult pendingImport_;
    int importChannel_ = 0;
    QString importName_;
};
