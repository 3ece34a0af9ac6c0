// Builds the equaliser data delivered beside the program: one EQ file per
// curve and sample rate ("JAZZ48.EQ46XX"), each made by the tool's own filter
// designer from the curve's short list of filters, and the document
// "QMX4600EQ.PDF" that the EQ EXAMPLES button opens: what the EQ files are,
// their record layout, and each curve's response drawn by the tool's own
// response chart.
//
// Usage: make-eq-files <QMX4600.addr> <output folder> [<chart folder>]
// With a chart folder, each curve's chart is also written there as a PNG
// file, to look at without a PDF viewer.

#include "EqChart.h"
#include "EqCurves.h"
#include "EqFile.h"
#include "Equnit.h"

#include <QApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QPixmap>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int ChartRate = 48000;

QString Html(const std::string& text) {
    return QString::fromStdString(text).toHtmlEscaped();
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string FilterLine(const FilterSpec& f) {
    std::string text = std::string(FilterTypeName(f.type)) + (f.order == 1 ? " (first order)" : "") + ", " +
                       Number(f.frequency) + " Hz";
    if (HasGain(f.type))
        text += ", " + std::string(f.gainDb > 0 ? "+" : "") + Number(f.gainDb) + " dB";
    if (f.order == 2)
        text += f.widthKind == WidthKind::Q ? ", Q " + Number(f.width) : ", " + Number(f.width) + " octaves";
    return text;
}

// The curve's response at 48 kHz from the stored words, as the EQ panel's
// Graph EQ draws it after LOAD.
QImage ChartOf(const DeliveredCurve& curve) {
    std::vector<BiquadCoefficients> biquads;
    for (const BiquadWords& words : DeliveredBiquads(curve, ChartRate))
        biquads.push_back(StoredCoefficients(words));
    const FrequencyGrid grid(ChartRate);
    std::vector<double> gainDb;
    CascadeResponse(grid, biquads, gainDb);

    EqChart chart;
    chart.SetCurve(grid.Frequencies(), gainDb);
    chart.SetFrequencyMaximum(ChartRate / 2.0);
    chart.SetGainMaximum(12);
    chart.SetGainMinimum(-24);
    return chart.toPixmap(760, 380, 2.0).toImage();
}

bool WriteEqFiles(TConfigDataUnit& table, const std::string& folder) {
    for (const DeliveredCurve& curve : DeliveredCurves())
        for (const DeliveredRate& rate : DeliveredRates) {
            const std::array<BiquadWords, 7> biquads = DeliveredBiquads(curve, rate.sampleRate);
            for (int i = 0; i < TEQ::BiquadCount; ++i)
                table.SetData(TEQ::BiquadSubAddress(0, i), biquads[static_cast<size_t>(i)]);
            std::vector<std::string> comments = {std::string(curve.eqName) + " at " +
                                                 Number(rate.sampleRate / 1000.0) +
                                                 " kHz: " + curve.description};
            for (size_t i = 0; i < curve.filters.size(); ++i)
                comments.push_back("BQ" + std::to_string(i + 1) + ": " + FilterLine(curve.filters[i]));
            comments.push_back("Q1 .. Q7 are BQ1 .. BQ7 of the DAP channel the file is loaded into.");
            const std::string name = folder + "/" + DeliveredFileName(curve, rate);
            if (SaveEqFile(table, name, 1, comments) != SaveOutcome::Saved) {
                std::fprintf(stderr, "cannot write %s\n", name.c_str());
                return false;
            }
        }
    return true;
}

QString DocumentHtml(std::vector<std::pair<QString, QImage>>& images) {
    QString html = R"(<h1>QMX4600 Equaliser Examples</h1>
<p>Each DAP channel of the QMX4600 filters its signal through seven biquads (BQ1 to BQ7), second-order
sections the device runs as</p>
<p align="center"><i>y[n] = b0&middot;x[n] + b1&middot;x[n&minus;1] + b2&middot;x[n&minus;2] + a1&middot;y[n&minus;1]
+ a2&middot;y[n&minus;2]</i></p>
<p>An EQ file (extension <b>.EQ46XX</b>) holds the seven biquads of one channel. The files in the folder the tool
starts in are listed on the EQ panel; choose a DAP channel, pick a file and press <b>LOAD</b>: the seven biquads are
stored and sent to the device, and the display shows the curve's name. The same file loads into any channel.</p>

<h2>Record layout</h2>
<p>An EQ file is a configuration file of the tool with keyed records. A line starting with <b>/</b> or <b>!</b> is a
comment (the tool writes each register's name as a <b>!</b> line before its record). A record is a key, one space,
and the register's 20 bytes as pairs of hexadecimal digits, most significant byte first:</p>
<pre>!r_ch1_bq[1]
Q1 00 80 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 </pre>
<table border="1" cellpadding="4" cellspacing="0">
<tr><th>Key</th><th>Register</th></tr>
<tr><td>Q1 ... Q7</td><td>BQ1 ... BQ7 of the chosen channel: Ch1 0x51-0x57, Ch2 0x58-0x5E, Ch3 0x7B-0x81,
Ch4 0x82-0x88</td></tr>
<tr><td>Xhh</td><td>the register at sub-address hh, whatever the channel</td></tr>
</table>
<p>The 20 bytes are five coefficients of 4 bytes each, in the order b0, b1, b2, a1, a2. Each is a 5.23
fixed-point number: the low 28 bits are a two's-complement count of 2<sup>&minus;23</sup>, so 00 80 00 00 is 1.0
and FF 80 00 00 is &minus;1.0; the range is &minus;16 to just under +16. a1 and a2 carry the sign under which the
device adds them (the equation above), the opposite of the usual textbook form. The pass-through (all-pass)
biquad is b0 = 1.0 and everything else 0.</p>

<h2>Making your own</h2>
<p>On the EQ panel, <b>DESIGN...</b> turns a filter (peaking, shelf, low or high pass, band pass, notch,
all-pass; frequency, gain, Q or bandwidth) into the selected biquad's bytes at the device's current sample rate
and tells how far storing it in 5.23 moves its response; <b>IMPORT...</b> reads a filter list exported by a
room-measurement program or a text of biquad coefficients into the channel; <b>SAVE EQ...</b> writes the
selected channel as an EQ file. Nothing reaches the device before APPLY or the import's confirmation.</p>

<h2>The delivered curves</h2>
<p>Each curve comes as five files, one per sample rate, named after the rate: for example COUNTRY32, COUNTRY44
(44.1 kHz), COUNTRY48, COUNTRY96 and COUNTRY192 (.EQ46XX). Load the file of the rate the device runs at, so the
filters sit at the frequencies given below. The charts show the curves at 48 kHz, from the stored words.</p>
)";
    for (const DeliveredCurve& curve : DeliveredCurves()) {
        const QString image = QString("chart-%1.png").arg(curve.filePrefix);
        images.emplace_back(image, ChartOf(curve));
        html += QString("<h3 style=\"page-break-before: always\">%1 (%2..EQ46XX)</h3><p>%3</p><ul>")
                    .arg(Html(curve.eqName), Html(curve.filePrefix), Html(curve.description));
        for (size_t i = 0; i < curve.filters.size(); ++i)
            html += QString("<li>BQ%1: %2</li>").arg(i + 1).arg(Html(FilterLine(curve.filters[i])));
        html += QString("<li>BQ%1 to BQ7: all-pass</li></ul>").arg(curve.filters.size() + 1);
        html += QString("<p align=\"center\"><img src=\"%1\" width=\"560\"></p>").arg(image);
    }
    return html;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s <QMX4600.addr> <output folder> [<chart folder>]\n", argv[0]);
        return 2;
    }
    TConfigDataUnit table;
    if (!table.ReadMapFile(argv[1])) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    // A curve that the device could not hold, or that storing makes
    // unstable, is a fault of the table: stop the build.
    for (const DeliveredCurve& curve : DeliveredCurves())
        for (const DeliveredRate& rate : DeliveredRates)
            for (const FilterSpec& filter : curve.filters) {
                const FilterDesign design = DesignFilter(filter, rate.sampleRate);
                if (!design.error.empty() || !design.warnings.empty()) {
                    std::fprintf(stderr, "%s at %d Hz, %s: %s%s\n", curve.filePrefix, rate.sampleRate,
                                 FilterLine(filter).c_str(), design.error.c_str(),
                                 design.warnings.empty() ? "" : design.warnings.front().c_str());
                    return 1;
                }
            }
    const std::string folder = argv[2];
    if (!WriteEqFiles(table, folder))
        return 1;

    QTextDocument document;
    document.setDefaultFont(QFont("DejaVu Sans", 10));
    std::vector<std::pair<QString, QImage>> images;
    document.setHtml(DocumentHtml(images));
    for (const auto& [name, image] : images) {
        document.addResource(QTextDocument::ImageResource, QUrl(name), image);
        if (argc == 4)
            image.save(QString::fromLocal8Bit(argv[3]) + "/" + name);
    }
    QPdfWriter pdf(QString::fromStdString(folder + "/QMX4600EQ.PDF"));
    pdf.setTitle("QMX4600 Equaliser Examples");
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    document.print(&pdf);
    return 0;
}
