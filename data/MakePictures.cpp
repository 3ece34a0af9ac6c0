// Writes the pictures the tool reads from its start directory: the three
// gain indicators as BMP files and the two bass-management diagrams as JPEG
// files, all painted by the tool's own artwork code.
//
//   make-pictures <output folder>

#include "MixerArtwork.h"

#include <QGuiApplication>
#include <QImageWriter>
#include <QString>

#include <cstdio>

namespace {

bool Save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (writer.write(image))
        return true;
    std::fprintf(stderr, "make-pictures: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-pictures <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + '/';
    bool ok = Save(GainIndicatorImage(GainPicture::One), folder + "GreenMultiply.BMP", "bmp");
    ok = Save(GainIndicatorImage(GainPicture::Zero), folder + "RedMultiply.BMP", "bmp") && ok;
    ok = Save(GainIndicatorImage(GainPicture::Other), folder + "BlueMultiply.BMP", "bmp") && ok;
    if (!QImageWriter::supportedImageFormats().contains("jpeg")) {
        std::fprintf(stderr, "make-pictures: no JPEG encoder in this Qt (the qjpeg image format plugin of "
                             "libqt6gui6, built on libjpeg-turbo, is missing)\n");
        return 1;
    }
    ok = Save(BassManagementImage(false), folder + "QMX4600BassMan4Ch.jpg", "jpeg", 95) && ok;
    ok = Save(BassManagementImage(true), folder + "QMX4600BassMan3Ch.jpg", "jpeg", 95) && ok;
    return ok ? 0 : 1;
}
