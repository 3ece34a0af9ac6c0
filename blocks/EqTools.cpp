#include "EqTools.h"

#include "BlockPanel.h"
#include "ByteEdit.h"
#include "Configdataunit.h"
#include "Conversions.h"
#include "Dataclocksunit.h"
#include "EqChart.h"
#include "EqDesignWindow.h"
#include "EqFile.h"
#include "EqPanel.h"
#include "EqResponseView.h"
#include "Equnit.h"
#include "FileDialogs.h"
#include "HandlerGuard.h"
#include "Placement.h"
#include "RadioGroup.h"
#include "TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int Top = BlockPanel::TitleHeight + 2;
const char* const EditStems[5] = {"BQb1Edit", "BQb2Edit", "BQb3Edit", "BQa1Edit", "BQa2Edit"};

QString ChannelName(int channel) {
    return QString("Ch%1").arg(channel + 1);
}

} // namespace

TEqTools::TEqTools(TEqPanel& panel, TConfigDataUnit& table, TEQ& eq, TDataClocks& clocks,
                   const DisplayStrip& strip, IFileDialogs& fileDialogs, const QString& startDirectory)
    : QObject(&panel), panel_(panel), table_(table), eq_(eq), clocks_(clocks), strip_(strip),
      fileDialogs_(fileDialogs), startDirectory_(startDirectory) {
    setObjectName("EQTools");
    const int y = Top + 293;
    const struct {
        const char* name;
        const char* caption;
        QRect place;
        const char* hint;
        void (TEqTools::*click)();
    } buttons[] = {
        {"EQDesignButton", "DESIGN...", QRect(108, y, 68, 22),
         "Design a filter for the selected biquad's edits.", &TEqTools::EQDesignButtonClick},
        {"EQImportButton", "IMPORT...", QRect(179, y, 68, 22),
         "Read a filter list or biquad coefficients into the selected channel.",
         &TEqTools::EQImportButtonClick},
        {"EQSaveButton", "SAVE EQ...", QRect(250, y, 68, 22), "Save the selected channel as an EQ file.",
         &TEqTools::EQSaveButtonClick},
        {"EQResponseViewButton", "VIEW...", QRect(322 + 286 - 54, Top + 2, 52, 18),
         "Open the larger response view.", &TEqTools::EQResponseViewButtonClick},
    };
    for (const auto& b : buttons) {
        QPushButton* button = PlaceButton(&panel_, b.name, b.caption, b.place, b.hint);
        button->setAccessibleName(b.caption);
        ConnectGuarded(button, &QPushButton::clicked, this, b.click);
    }
    ConnectGuarded(panel_.Chart(), &QCustomPlot::mouseDoubleClick, this,
                   &TEqTools::EQResponseViewButtonClick);

    designWindow_ = new TEqDesignWindow(
        [this] {
            return TEqDesignWindow::Target{
                clocks_.GetSampleRate(),
                QString("%1 BQ%2").arg(ChannelName(SelectedChannel())).arg(SelectedBiquad() + 1)};
        },
        [this](const BiquadWords& bytes) { FillEdits(bytes); }, &panel_);
    ConnectGuarded(designWindow_, &TEqDesignWindow::Designed, this, &TEqTools::RefreshResponseView);
    responseView_ = new TEqResponseView(&panel_);
    BuildImportWindow();
}

int TEqTools::SelectedChannel() const {
    return panel_.findChild<RadioGroup*>("EQDAPCHRadioGroup")->ItemIndex();
}

int TEqTools::SelectedBiquad() const {
    return panel_.findChild<RadioGroup*>("EQEQRadioGroup")->ItemIndex();
}

void TEqTools::FillEdits(const BiquadWords& bytes) {
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 4; ++column)
            panel_.findChild<ByteEdit*>(QString("%1%2").arg(EditStems[row]).arg(3 - column))
                ->setText(QString::fromStdString(ByteEditText(bytes[static_cast<size_t>(4 * row + column)])));
}

void TEqTools::EQDesignButtonClick() {
    designWindow_->UpdateTarget();
    designWindow_->show();
    designWindow_->raise();
    designWindow_->activateWindow();
}

// ---- import ----

void TEqTools::BuildImportWindow() {
    importWindow_ = new QWidget(&panel_, Qt::Window);
    importWindow_->setObjectName("EQImportWindow");
    importWindow_->setAccessibleName("Import filters");
    importWindow_->resize(520, 320);
    importText_ = new QPlainTextEdit(importWindow_);
    importText_->setObjectName("EQImportPreviewText");
    importText_->setAccessibleName("What the file holds");
    importText_->setReadOnly(true);
    importWrite_ = new QPushButton("WRITE", importWindow_);
    importWrite_->setObjectName("EQImportWriteButton");
    importWrite_->setAccessibleName("Write the biquads to the device");
    auto* cancel = new QPushButton("CANCEL", importWindow_);
    cancel->setObjectName("EQImportCancelButton");
    cancel->setAccessibleName("Cancel the import");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(importWrite_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(importWindow_);
    layout->addWidget(importText_);
    layout->addLayout(buttons);
    ConnectGuarded(importWrite_, &QPushButton::clicked, this, &TEqTools::EQImportWriteButtonClick);
    ConnectGuarded(cancel, &QPushButton::clicked, this, &TEqTools::EQImportCancelButtonClick);
}

void TEqTools::EQImportButtonClick() {
    const QString name =
        fileDialogs_.GetOpenFileName(&panel_, {"Import Filters", "txt", "*.txt", startDirectory_});
    if (name.isEmpty())
        return;
    importName_ = QFileInfo(name).fileName();
    const std::optional<std::string> text = ReadTextFile(LocalFileName(name));
    if (!text) {
        strip_.HelpfulCommentsLabel->setText("Error Reading " + importName_);
        return;
    }
    importChannel_ = SelectedChannel();
    pendingImport_ = ImportEqText(*text, clocks_.GetSampleRate());

    QStringList lines;
    if (pendingImport_.Ok()) {
        lines << QString("%1 filter(s) for %2 at %3 Hz:")
                     .arg(pendingImport_.filterCount)
                     .arg(ChannelName(importChannel_))
                     .arg(clocks_.GetSampleRate());
        for (size_t i = 0; i < pendingImport_.biquads.size(); ++i) {
            const ImportedBiquad& b = pendingImport_.biquads[i];
            lines << QString("BQ%1: %2%3")
                         .arg(i + 1)
                         .arg(QString::fromStdString(b.description))
                         .arg(b.line > 0 ? QString(" (line %1)").arg(b.line) : QString());
        }
        for (const std::string& warning : pendingImport_.warnings)
            lines << "Warning: " + QString::fromStdString(warning);
        lines << "WRITE sends BQ1 to BQ7 to the device.";
        PreviewOnChart(pendingImport_);
        strip_.HelpfulCommentsLabel->setText("Preview of " + importName_ + " on the chart");
    } else {
        lines << "Nothing can be written from " + importName_ + ":";
        for (const std::string& error : pendingImport_.errors)
            lines << QString::fromStdString(error);
        strip_.HelpfulCommentsLabel->setText(importName_ + ": " +
                                             QString::fromStdString(ProblemSummary(pendingImport_.errors)));
    }
    importText_->setPlainText(lines.join('\n'));
    importWrite_->setEnabled(pendingImport_.Ok());
    importWindow_->setWindowTitle("Import " + importName_ + " into " + ChannelName(importChannel_));
    importWindow_->show();
    importWindow_->raise();
}

void TEqTools::PreviewOnChart(const EqImportResult& result) {
    std::vector<BiquadCoefficients> stored;
    for (const ImportedBiquad& b : result.biquads)
        stored.push_back(StoredCoefficients(b.bytes));
    const FrequencyGrid grid(clocks_.GetSampleRate());
    std::vector<double> db;
    CascadeResponse(grid, stored, db);
    EqChart* chart = panel_.Chart();
    chart->SetFrequencyMaximum(grid.SampleRate() * 0.5);
    chart->SetCurve(grid.Frequencies(), db);
    chart->replot();
}

void TEqTools::EQImportWriteButtonClick() {
    if (!pendingImport_.Ok() || pendingImport_.biquads.size() != TEQ::BiquadCount)
        return;
    for (int i = 0; i < TEQ::BiquadCount; ++i) {
        TEQ::BiquadFields fields;
        const BiquadWords& bytes = pendingImport_.biquads[static_cast<size_t>(i)].bytes;
        for (size_t b = 0; b < fields.size(); ++b)
            fields[b] = ByteEditText(bytes[b]);
        eq_.ApplyBiquad(TEQ::BiquadSubAddress(importChannel_, i), fields);
    }
    strip_.HelpfulCommentsLabel->setText(QString("Imported %1 filter(s) from %2 into %3")
                                             .arg(pendingImport_.filterCount)
                                             .arg(importName_, ChannelName(importChannel_)));
    pendingImport_ = {};
    importWindow_->hide();
    panel_.EQBQCancelsuiButtonClick(); // the edits show what is now stored
}

void TEqTools::EQImportCancelButtonClick() {
    pendingImport_ = {};
    importWindow_->hide();
}

// ---- save and view ----

void TEqTools::EQSaveButtonClick() {
    const int channel = SelectedChannel();
    const QString name =
        fileDialogs_.GetSaveFileName(&panel_, {"Save EQ File", "EQ46XX", "*.EQ46XX", startDirectory_});
    if (name.isEmpty())
        return;
    const QString shown = QFileInfo(name).fileName();
    const SaveOutcome outcome =
        SaveEqFile(table_, LocalFileName(name), channel + 1,
                   {"Saved from " + ChannelName(channel).toStdString() + " at " +
                    std::to_string(clocks_.GetSampleRate()) + " Hz; loads into any channel."});
    if (outcome != SaveOutcome::Saved) {
        strip_.HelpfulCommentsLabel->setText("Error Writing " + shown);
        return;
    }
    strip_.HelpfulCommentsLabel->setText("Saved " + ChannelName(channel) + " as " + shown);
    if (QFileInfo(name).absoluteDir() == QDir(startDirectory_))
        panel_.FillEqFileCombo();
}

void TEqTools::RefreshResponseView() {
    if (!responseView_->isVisible())
        return;
    TEqResponseView::Curves curves;
    curves.sampleRate = clocks_.GetSampleRate();
    curves.selectedChannel = SelectedChannel();
    for (int c = 0; c < TEQ::ChannelCount; ++c)
        for (int i = 0; i < TEQ::BiquadCount; ++i) {
            const std::vector<uint8_t> data = table_.GetData(TEQ::BiquadSubAddress(c, i));
            BiquadWords bytes = AllPassBytes();
            if (data.size() == bytes.size())
                std::copy(data.begin(), data.end(), bytes.begin());
            curves.channels[static_cast<size_t>(c)].push_back(StoredCoefficients(bytes));
        }
    for (const QCPGraphData& point : *panel_.Chart()->Series1()->data()) {
        curves.panelFrequencies.push_back(point.key);
        curves.panelGainDb.push_back(point.value);
    }
    if (designWindow_->LastDesign() && designWindow_->LastSampleRate() == curves.sampleRate) {
        curves.designed = designWindow_->LastDesign()->designed;
        curves.stored = StoredCoefficients(designWindow_->LastDesign()->bytes);
    }
    responseView_->ShowCurves(curves);
}

void TEqTools::EQResponseViewButtonClick() {
    responseView_->show();
    responseView_->raise();
    RefreshResponseView();
}
