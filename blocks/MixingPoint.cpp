#include "MixingPoint.h"

#include "Conversions.h"
#include "DataFiles.h"

#include <QFile>
#include <QLabel>
#include <QToolButton>

#include <cstdio>
#include <stdexcept>

namespace {

std::array<uint8_t, 4> Word(const std::vector<uint8_t>& bytes, int offset, bool sourceCoded) {
    std::array<uint8_t, 4> word{};
    for (size_t i = 0; i < 4; ++i) {
        const size_t at = static_cast<size_t>(offset) + i;
        word[i] = at < bytes.size() ? bytes[at] : 0;
    }
    if (sourceCoded)
        word[0] &= 0x0F;
    return word;
}

} // namespace

GainPicture KindOfWord(const std::vector<uint8_t>& bytes, int offset, bool sourceCoded) {
    const std::array<uint8_t, 4> word = Word(bytes, offset, sourceCoded);
    if (word == std::array<uint8_t, 4>{0x00, 0x80, 0x00, 0x00})
        return GainPicture::One;
    if (word == std::array<uint8_t, 4>{0, 0, 0, 0})
        return GainPicture::Zero;
    return GainPicture::Other;
}

QString GainText(const std::vector<uint8_t>& bytes, int offset, bool sourceCoded) {
    switch (KindOfWord(bytes, offset, sourceCoded)) {
    case GainPicture::Zero:
        return "off";
    case GainPicture::One:
        return "0 dB";
    case GainPicture::Other:
        break;
    }
    const std::array<uint8_t, 4> word = Word(bytes, offset, sourceCoded);
    const double db = Fixed523ToDb(word);
    // Bit 27 is the sign of the 28-bit gain.
    const bool negative = (word[0] & 0x08) != 0;
    char text[48];
    std::snprintf(text, sizeof text, "%.2f dB%s", db, negative ? " inverted" : "");
    return text;
}

const char* TGainPictures::FileName(GainPicture kind) {
    switch (kind) {
    case GainPicture::Zero:
        return "RedMultiply.BMP";
    case GainPicture::One:
        return "GreenMultiply.BMP";
    case GainPicture::Other:
        break;
    }
    return "BlueMultiply.BMP";
}

const QPixmap& TGainPictures::Picture(GainPicture kind) {
    std::optional<QPixmap>& slot = loaded_[static_cast<size_t>(kind)];
    if (!slot) {
        const std::string path =
            DataFilePath(QFile::encodeName(startDirectory_).toStdString(), FileName(kind));
        QPixmap picture;
        if (!picture.load(QFile::decodeName(QByteArray::fromStdString(path))))
            throw std::runtime_error("Cannot read the picture " + path);
        slot = picture;
    }
    return *slot;
}

QToolButton* MakeMixingPointButton(QWidget* parent, const QString& name, const QString& accessibleName,
                                   QPoint centre) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAccessibleName(accessibleName);
    button->setAutoRaise(true);
    button->setIconSize(QSize(16, 16));
    button->setGeometry(centre.x() - 11, centre.y() - 11, 22, 22);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void ShowGainIndicator(const MixingPoint& point, const std::vector<uint8_t>& bytes, TGainPictures& pictures) {
    point.button->setIcon(QIcon(pictures.Picture(KindOfWord(bytes, point.offset, point.sourceCoded))));
    const QString address = QString("%1").arg(point.subAddress, 2, 16, QLatin1Char('0')).toUpper();
    point.button->setToolTip(
        QString("0x%1 %2: %3").arg(address, point.rowName, GainText(bytes, point.offset, point.sourceCoded)));
}

std::array<QToolButton*, 3> MakeGainLegend(QWidget* parent, const QString& prefix, QPoint origin) {
    const struct {
        const char* name;
        const char* caption;
    } entries[] = {{"ZeroSpeedButton", "ZERO"}, {"OneSpeedButton", "ONE"}, {"OtherSpeedButton", "OTHER"}};
    std::array<QToolButton*, 3> legend{};
    for (int i = 0; i < 3; ++i) {
        const QPoint at = origin + QPoint(i * 64, 0);
        legend[static_cast<size_t>(i)] =
            MakeMixingPointButton(parent, prefix + entries[i].name,
                                  QString("%1 gain picture").arg(entries[i].caption), at + QPoint(11, 11));
        auto* label = new QLabel(entries[i].caption, parent);
        label->setGeometry(at.x() + 24, at.y() + 3, 42, 16);
    }
    return legend;
}

void ShowGainLegend(const std::array<QToolButton*, 3>& legend, TGainPictures& pictures) {
    const GainPicture kinds[] = {GainPicture::Zero, GainPicture::One, GainPicture::Other};
    for (size_t i = 0; i < 3; ++i)
        legend[i]->setIcon(QIcon(pictures.Picture(kinds[i])));
}
