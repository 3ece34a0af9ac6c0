#pragma once

#include "MixerArtwork.h"

#include <QPixmap>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QToolButton;
class QWidget;

// One mixing point of the mixer or bass-management panel: a small picture
// button on one gain word of a register. The picture says whether the gain
// is zero, one or anything else; the tooltip names the register and row and
// gives the gain in dB.
struct MixingPoint {
    QToolButton* button = nullptr;
    int subAddress = 0;
    int offset = 0;           // byte offset of the word in the register
    bool sourceCoded = false; // output-mixer word: bits 31:28 select the source
    QString rowName;
};

// What a gain word shows: the source code (when there is one) is cleared in
// a copy first; 00 80 00 00 is one, all zero is zero, anything else other.
GainPicture KindOfWord(const std::vector<uint8_t>& bytes, int offset, bool sourceCoded);
// "off", "0 dB", or the gain in dB ("-6.02 dB"; "inverted" for a negative gain).
QString GainText(const std::vector<uint8_t>& bytes, int offset, bool sourceCoded);

// The three indicator pictures, read from the start directory by their file
// names ("GreenMultiply.BMP" ...; found without regard to case) the first
// time one is needed. A picture that cannot be read raises an error naming
// the file.
class TGainPictures {
public:
    explicit TGainPictures(QString startDirectory) : startDirectory_(std::move(startDirectory)) {}
    static const char* FileName(GainPicture kind);
    const QPixmap& Picture(GainPicture kind);

private:
    QString startDirectory_;
    std::array<std::optional<QPixmap>, 3> loaded_;
};

// A mixing-point button: 22 x 22 at `centre`, 16-pixel picture, flat.
QToolButton* MakeMixingPointButton(QWidget* parent, const QString& name, const QString& accessibleName,
                                   QPoint centre);

// Sets the button's picture and tooltip from the register bytes.
void ShowGainIndicator(const MixingPoint& point, const std::vector<uint8_t>& bytes, TGainPictures& pictures);

// The three legend buttons ("ZERO", "ONE", "OTHER") with their captions,
// laid out in a row from `origin`; named <prefix>ZeroSpeedButton and so on.
std::array<QToolButton*, 3> MakeGainLegend(QWidget* parent, const QString& prefix, QPoint origin);
void ShowGainLegend(const std::array<QToolButton*, 3>& legend, TGainPictures& pictures);
