// The equaliser's design tools on the EQ panel, driven as a user drives them
// against the simulated device: the designer fills the edits and writes
// nothing until APPLY, an import writes one register per biquad only when
// confirmed, SAVE EQ writes a file LOAD reads back, and the response view
// reads out the value under the mouse.

#include "EqTools.h"
#include "ByteEdit.h"
#include "Conversions.h"
#include "Dataclocksunit.h"
#include "DeviceRig.h"
#include "EqChart.h"
#include "EqDesignWindow.h"
#include "EqPanel.h"
#include "EqPanelRig.h"
#include "EqResponseView.h"
#include "Equnit.h"
#include "FileDialogs.h"
#include "RadioGroup.h"
#include "RecordingHooks.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const char* const Stems[] = {"BQb1Edit", "BQb2Edit", "BQb3Edit", "BQa1Edit", "BQa2Edit"};

template <class T> T* FindIn(const QObject& parent, const QString& name) {
    T* found = parent.findChild<T*>(name);
    if (!found)
        throw std::runtime_error("no control named " + name.toStdString());
    return found;
}

// Answers the file dialogs as the test says, and remembers what was asked.
struct ScriptedFileDialogs : IFileDialogs {
    QString GetOpenFileName(QWidget*, const FileDialogRequest& request) override {
        requests.push_back(request);
        return answer;
    }
    QString GetSaveFileName(QWidget*, const FileDialogRequest& request) override {
        requests.push_back(request);
        return answer;
    }
    QString answer;
    std::vector<FileDialogRequest> requests;
};

std::string Hex(const BiquadWords& bytes) {
    return WriteText(0, std::vector<uint8_t>(bytes.begin(), bytes.end())).substr(4);
}

class EqToolsTest : public ::testing::Test, public EqPanelRig {
protected:
    EqToolsTest() {
        const BiquadWords allPass = AllPassBytes();
        for (int sub = 0x51; sub <= 0x88; ++sub)
            if (rig.table.GetSize(sub) == 20)
                rig.Store(sub, std::vector<uint8_t>(allPass.begin(), allPass.end()));
        panel.AdjustToSampleRate(false);
        hooks.Take();
    }

    QPushButton* Button(const QObject& parent, const char* name) { return FindIn<QPushButton>(parent, name); }
    void Select(int channel, int biquad) {
        FindIn<QRadioButton>(panel, QString("EQDAPCHRadioGroupItem%1").arg(channel))->click();
        FindIn<QRadioButton>(panel, QString("EQEQRadioGroupItem%1").arg(biquad))->click();
    }
    std::string EditBytes() {
        std::string text;
        for (int row = 0; row < 5; ++row)
            for (int column = 0; column < 4; ++column)
                text += (text.empty() ? "" : " ") +
                        FindIn<ByteEdit>(panel, QString("%1%2").arg(Stems[row]).arg(3 - column))
                            ->text()
                            .toStdString();
        return text;
    }
    TEqDesignWindow& Designer() { return *tools.DesignWindow(); }
    void Enter(const char* edit, const QString& text) { FindIn<QLineEdit>(Designer(), edit)->setText(text); }
    void ChooseType(FilterType type) {
        FindIn<QComboBox>(Designer(), "EQDesignTypeComboBox")
            ->setCurrentIndex(static_cast<int>(std::find(AllFilterTypes.begin(), AllFilterTypes.end(), type) -
                                               AllFilterTypes.begin()));
    }
    QString DesignerText(const char* label) { return FindIn<QLabel>(Designer(), label)->text(); }

    ScriptedFileDialogs dialogs;
    TEqTools tools{panel, rig.table, eq, clocks, strip, dialogs, startDir.path()};
};

TEST_F(EqToolsTest, EveryAddedControlHasANameAUserCanReach) {
    for (const char* name : {"EQDesignButton", "EQImportButton", "EQSaveButton", "EQResponseViewButton"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Button(panel, name)->accessibleName().isEmpty());
    }
    Button(panel, "EQDesignButton")->click();
    ASSERT_TRUE(Designer().isVisible());
    for (QWidget* w : Designer().findChildren<QWidget*>()) {
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w) ||
            qobject_cast<QLabel*>(w)) {
            if (w->parentWidget() != &Designer())
                continue; // the parts inside a combo box
            if (qobject_cast<QLabel*>(w) && w->objectName().isEmpty())
                continue; // form captions
            SCOPED_TRACE(w->metaObject()->className());
            EXPECT_FALSE(w->objectName().isEmpty());
            EXPECT_FALSE(w->accessibleName().isEmpty());
        }
    }
}

// FILL BQ puts the designer's words into the selected biquad's edits; the
// device sees nothing until APPLY, which writes exactly those bytes.
TEST_F(EqToolsTest, TheDesignerFillsTheEditsAndOnlyApplyWrites) {
    SetRate(48000);
    Select(1, 4);
    Button(panel, "EQDesignButton")->click();
    EXPECT_EQ(DesignerText("EQDesignTargetLabel"), "Fills Ch2 BQ5 at 48000 Hz (APPLY writes it)");
    ChooseType(FilterType::Peaking);
    Enter("EQDesignFrequencyEdit", "63");
    Enter("EQDesignGainEdit", "-4.5");
    Enter("EQDesignWidthEdit", "2.5");
    Button(Designer(), "EQDesignFillButton")->click();

    const BiquadWords expected = DesignFilter({FilterType::Peaking, 2, 63, -4.5, 2.5}, 48000).bytes;
    EXPECT_EQ(EditBytes(), Hex(expected));
    EXPECT_TRUE(hooks.Take().empty());
    const QuantisationReport report = DesignFilter({FilterType::Peaking, 2, 63, -4.5, 2.5}, 48000).report;
    EXPECT_EQ(DesignerText("EQDesignReportLabel"),
              QString("Filled Ch2 BQ5. Largest deviation after rounding to 5.23: %1 dB (at %2 Hz)")
                  .arg(QString::number(report.maxDeviationDb, 'g', 3))
                  .arg(report.worstFrequency));
    EXPECT_LT(report.maxDeviationDb, 0.05);
    EXPECT_EQ(DesignerText("EQDesignWarningLabel"), "");

    Button(panel, "EQBQApplysuiButton")->click();
    EXPECT_EQ(hooks.Take(), std::vector<std::string>{
                                WriteText(0x5C, std::vector<uint8_t>(expected.begin(), expected.end()))});

    // CANCEL after a fill brings back what is stored.
    Enter("EQDesignGainEdit", "6");
    Button(Designer(), "EQDesignFillButton")->click();
    Button(panel, "EQBQCancelsuiButton")->click();
    EXPECT_EQ(EditBytes(), Hex(expected));
    EXPECT_TRUE(hooks.Take().empty());
}

TEST_F(EqToolsTest, TheDesignerRefusesWhatTheDeviceCannotHoldAndFillsNothing) {
    SetRate(48000);
    Select(0, 0);
    Button(panel, "EQDesignButton")->click();
    const std::string before = EditBytes();
    struct Case {
        FilterType type;
        const char *frequency, *gain, *width;
        QString message;
    };
    const Case cases[] = {
        {FilterType::Peaking, "24000", "3", "1",
         "The frequency must be below half the sample rate (24000 Hz): nothing filled"},
        {FilterType::Notch, "1000", "0", "0", "Q must be above 0: nothing filled"},
        {FilterType::Peaking, "abc", "3", "1", "The frequency is not a number: nothing filled"},
        {FilterType::Peaking, "1000", "3 dB", "1", "The gain is not a number: nothing filled"},
        {FilterType::HighShelf, "5000", "30", "0.7071",
         "b1 = -22.2329 is beyond what the device can hold (-16 to +16); lower the gain: nothing filled"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        ChooseType(c.type);
        Enter("EQDesignFrequencyEdit", c.frequency);
        Enter("EQDesignGainEdit", c.gain);
        Enter("EQDesignWidthEdit", c.width);
        Button(Designer(), "EQDesignFillButton")->click();
        EXPECT_EQ(DesignerText("EQDesignWarningLabel"), c.message);
        EXPECT_EQ(EditBytes(), before);
    }
    EXPECT_TRUE(hooks.Take().empty());
}

// A narrow 10 Hz peak at 192 kHz: its poles are closer to z = 1 than a 5.23
// count, and the stored filter has a pole on the unit circle.
TEST_F(EqToolsTest, TheDesignerWarnsWhenStoringMakesTheFilterUnstable) {
    SetRate(192000);
    Button(panel, "EQDesignButton")->click();
    ChooseType(FilterType::Peaking);
    Enter("EQDesignFrequencyEdit", "10");
    Enter("EQDesignGainEdit", "12");
    Enter("EQDesignWidthEdit", "10");
    Button(Designer(), "EQDesignFillButton")->click();
    EXPECT_EQ(DesignerText("EQDesignWarningLabel"),
              "Warning: Unstable after quantisation to 5.23: a pole lies on or outside the unit circle");
    EXPECT_EQ(EditBytes(), Hex(DesignFilter({FilterType::Peaking, 2, 10, 12, 10}, 192000).bytes));
    // The panel's own pole test agrees once the edits are graphed.
    Button(panel, "EQBQGraphsuiButton")->click();
    EXPECT_EQ(comment.text(), "Warning: Unstable BQ Filter");
    EXPECT_TRUE(hooks.Take().empty());
}

const char* const RoomExport = "Filter Settings file\n"
                               "Room EQ V5.20\n"
                               "Filter  1: ON  PK       Fc   63.0 Hz  Gain  -4.5 dB  Q  2.50\n"
                               "Filter  2: ON  LS       Fc   90.0 Hz  Gain   3.0 dB\n"
                               "Filter  3: OFF PK       Fc  200.0 Hz  Gain   1.0 dB  Q  1.00\n";

TEST_F(EqToolsTest, AnImportIsPreviewedAndWrittenOneBiquadAtATimeOnlyWhenConfirmed) {
    SetRate(48000);
    Select(3, 2);
    dialogs.answer = WriteFile("room.txt", RoomExport);
    Button(panel, "EQImportButton")->click();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].folder, startDir.path());
    QWidget* window = tools.ImportWindow();
    ASSERT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Import room.txt into Ch4");
    EXPECT_TRUE(Button(*window, "EQImportWriteButton")->isEnabled());
    EXPECT_TRUE(FindIn<QPlainTextEdit>(*window, "EQImportPreviewText")
                    ->toPlainText()
                    .startsWith("2 filter(s) for Ch4 at 48000 Hz:\nBQ1: PK 63 Hz -4.5 dB Q 2.5 (line 3)\n"
                                "BQ2: LS 90 Hz 3 dB (line 4)\nBQ3: all-pass\n"));
    // The preview is on the chart; the device has seen nothing.
    EXPECT_EQ(panel.Chart()->Series1()->data()->size(), 24000);
    EXPECT_TRUE(hooks.Take().empty());

    Button(*window, "EQImportWriteButton")->click();
    const EqImportResult expected = ImportFilterList(RoomExport, 48000);
    std::vector<std::string> writes;
    for (int i = 0; i < 7; ++i) {
        const BiquadWords& b = expected.biquads[static_cast<size_t>(i)].bytes;
        writes.push_back(WriteText(static_cast<uint8_t>(0x82 + i), std::vector<uint8_t>(b.begin(), b.end())));
    }
    EXPECT_EQ(hooks.Take(), writes);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(comment.text(), "Imported 2 filter(s) from room.txt into Ch4");
    // The edits show BQ3 as now stored: all-pass.
    EXPECT_EQ(EditBytes(), Hex(AllPassBytes()));
}

TEST_F(EqToolsTest, NothingIsWrittenOnCancelFromAFileWithErrorsOrWhenTheDialogIsCancelled) {
    SetRate(48000);
    dialogs.answer = WriteFile("room.txt", RoomExport);
    Button(panel, "EQImportButton")->click();
    Button(*tools.ImportWindow(), "EQImportCancelButton")->click();
    EXPECT_FALSE(tools.ImportWindow()->isVisible());

    dialogs.answer = WriteFile("bad.txt", "Filter 1: ON PK Fc 63 Hz Gain -4.5 dB Q 2.5\n"
                                          "Filter 2: ON PK Fc 90 Hz Gain 1 dB\n"
                                          "Filter 3: ON XX Fc 90 Hz\n");
    Button(panel, "EQImportButton")->click();
    EXPECT_FALSE(Button(*tools.ImportWindow(), "EQImportWriteButton")->isEnabled());
    EXPECT_EQ(FindIn<QPlainTextEdit>(*tools.ImportWindow(), "EQImportPreviewText")->toPlainText(),
              "Nothing can be written from bad.txt:\nline 2: the width (Q or BW Oct) is missing\n"
              "line 3: unknown filter type \"XX\"");
    EXPECT_EQ(comment.text(), "bad.txt: line 2: the width (Q or BW Oct) is missing (+1 more)");
    Button(*tools.ImportWindow(), "EQImportWriteButton")->click(); // disabled: no effect

    dialogs.answer.clear();
    Button(panel, "EQImportButton")->click();
    dialogs.answer = startDir.filePath("vanished.txt");
    Button(panel, "EQImportButton")->click();
    EXPECT_EQ(comment.text(), "Error Reading vanished.txt");
    EXPECT_TRUE(hooks.Take().empty());
}

TEST_F(EqToolsTest, SaveEqWritesTheSelectedChannelAndLoadReadsItBack) {
    SetRate(48000);
    for (int i = 0; i < 7; ++i)
        rig.Store(0x58 + i, std::vector<uint8_t>(20, static_cast<uint8_t>(0x10 + i)));
    Select(1, 0);
    dialogs.answer = startDir.filePath("Mine.EQ46XX");
    Button(panel, "EQSaveButton")->click();
    EXPECT_EQ(dialogs.requests.back().defaultSuffix, "EQ46XX");
    EXPECT_EQ(comment.text(), "Saved Ch2 as Mine.EQ46XX");
    // Listed at once, and loaded into Ch1 by the panel's own LOAD.
    auto* combo = FindIn<QComboBox>(panel, "EQFileLoadComboBox");
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "MINE.EQ46XX");
    Select(0, 0);
    hooks.Take();
    Button(panel, "EQFileLoadsuiButton")->click();
    std::vector<std::string> expected, writes;
    for (int i = 0; i < 7; ++i)
        expected.push_back(WriteText(static_cast<uint8_t>(0x51 + i), std::vector<uint8_t>(20, 0x10 + i)));
    for (const std::string& entry : hooks.Take()) // the device writes, without the panel's other calls
        if (entry.size() > 3 && entry[2] == ':')
            writes.push_back(entry);
    EXPECT_EQ(writes, expected);

    dialogs.answer = startDir.filePath("no-folder/X.EQ46XX");
    Button(panel, "EQSaveButton")->click();
    EXPECT_EQ(comment.text(), "Error Writing X.EQ46XX");
}

TEST_F(EqToolsTest, TheResponseViewReadsOutTheSelectedChannelUnderTheMouse) {
    SetRate(48000);
    // Ch2 BQ1: a 1 kHz low pass; the read-out is that channel's cascade.
    const FilterSpec lowPass{FilterType::LowPass, 2, 1000, 0, 0.7071};
    const BiquadWords words = DesignFilter(lowPass, 48000).bytes;
    rig.Store(0x58, std::vector<uint8_t>(words.begin(), words.end()));
    Select(1, 0);
    Button(panel, "EQResponseViewButton")->click();
    TEqResponseView* view = tools.ResponseView();
    ASSERT_TRUE(view->isVisible());
    QCustomPlot* plot = view->Plot();
    QStringList names;
    for (int i = 0; i < plot->graphCount(); ++i)
        names << plot->graph(i)->name();
    EXPECT_EQ(names, QStringList({"Ch1 cascade", "Ch2 cascade", "Ch3 cascade", "Ch4 cascade", "Ch2 phase"}));

    const double x = plot->xAxis->coordToPixel(1000);
    const double y = (plot->axisRect()->top() + plot->axisRect()->bottom()) / 2.0;
    QMouseEvent move(QEvent::MouseMove, QPointF(x, y), plot->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &move);
    const std::complex<double> h = BiquadResponse(StoredCoefficients(words), 1000, 48000);
    EXPECT_EQ(FindIn<QLabel>(*view, "EQResponseHoverLabel")->text(),
              QString::asprintf("1000 Hz, %.2f dB, %.1f", MagnitudeDb(h), std::arg(h) * 180 / M_PI) +
                  QChar(0x00B0));
    EXPECT_EQ(FindIn<QLabel>(*view, "EQResponseHoverLabel")->text(),
              QString("1000 Hz, -3.01 dB, -90.0") + QChar(0x00B0));

    // After a design, the view shows it as designed and as stored.
    Button(panel, "EQDesignButton")->click();
    Button(Designer(), "EQDesignFillButton")->click();
    names.clear();
    for (int i = 0; i < plot->graphCount(); ++i)
        names << plot->graph(i)->name();
    EXPECT_TRUE(names.contains("Designed"));
    EXPECT_TRUE(names.contains("Stored (5.23)"));
}

} // namespace
