// Writes the program's icon for the desktop menu, once as SVG and once as PNG
// in each usual size, both from one table of shapes so they cannot drift
// apart: a dark panel with the four channels as level bars over a bus line.
//
//   make-icon <output folder>    writes <name>.svg and <name>-<n>.png, <name> being
//                                the program's desktop id, io.qmx4600.ConfigTool

#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cstdio>

namespace {

const QString IconName = "io.qmx4600.ConfigTool";

// One rounded rectangle on a 256-unit square.
struct Shape {
    double x, y, width, height, radius;
    const char* colour;
};

constexpr Shape Shapes[] = {
    {8, 8, 240, 240, 44, "#1d2b3a"},  // the panel
    {40, 188, 176, 12, 6, "#8fa3b8"}, // the bus
    {48, 104, 28, 72, 6, "#4cc36b"},  // channel 1
    {92, 64, 28, 112, 6, "#4cc36b"},  // channel 2
    {136, 88, 28, 88, 6, "#e0b43a"},  // channel 3
    {180, 48, 28, 128, 6, "#e0503a"}, // channel 4
    {40, 212, 176, 12, 6, "#3d6f9e"}, // the PWM outputs
};

QString Svg() {
    QString text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
    for (const Shape& s : Shapes)
        text += QString("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
                    .arg(s.x)
                    .arg(s.y)
                    .arg(s.width)
                    .arg(s.height)
                    .arg(s.radius)
                    .arg(s.colour);
    return text + "</svg>\n";
}

QImage Png(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);
    painter.setPen(Qt::NoPen);
    for (const Shape& s : Shapes) {
        painter.setBrush(QColor(s.colour));
        painter.drawRoundedRect(QRectF(s.x, s.y, s.width, s.height), s.radius, s.radius);
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-icon <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + '/';
    QFile svg(folder + IconName + ".svg");
    bool ok = svg.open(QIODevice::WriteOnly) && svg.write(Svg().toUtf8()) > 0;
    svg.close();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path = folder + IconName + QString("-%1.png").arg(size);
        if (!Png(size).save(path, "png")) {
            std::fprintf(stderr, "make-icon: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    if (!ok)
        std::fprintf(stderr, "make-icon: the icon was not written completely\n");
    return ok ? 0 : 1;
}
