#include "Artwork.h"

#include "SkinColours.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

const QColor Gold{255, 214, 10};
const QColor Sky{111, 156, 255};
const QColor Teal{64, 200, 190};
const QColor Paper{236, 241, 250};
const QColor Faint{176, 190, 216};

QPixmap Canvas(QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(SkinColours::WindowDeep);
    return pixmap;
}

QFont PixelFont(int pixels, bool bold) {
    QFont font;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The largest font up to the given size in which every line of the text fits
// the width, so that no label runs out of its box.
QFont FittingFont(const QString& text, qreal width, int pixels, bool bold) {
    QFont font = PixelFont(pixels, bold);
    for (; pixels > 6; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetricsF metrics(font);
        qreal widest = 0;
        for (const QString& line : text.split('\n'))
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= width)
            break;
    }
    return font;
}

// Content is drawn on a fixed design canvas, scaled evenly into the middle of
// the picture, so that text keeps its proportions at any size.
void FitDesign(QPainter& painter, QSize size, QSizeF design) {
    const qreal scale = std::min(size.width() / design.width(), size.height() / design.height());
    painter.translate((size.width() - design.width() * scale) / 2,
                      (size.height() - design.height() * scale) / 2);
    painter.scale(scale, scale);
}

// A sine wave across the width, as a signal on a scope.
QPainterPath Wave(qreal width, qreal middle, qreal amplitude, qreal periods, qreal phase) {
    QPainterPath path;
    constexpr int Steps = 240;
    for (int i = 0; i <= Steps; ++i) {
        const qreal x = width * i / Steps;
        const qreal y = middle + amplitude * std::sin(2 * std::numbers::pi * periods * i / Steps + phase);
        if (i == 0)
            path.moveTo(x, y);
        else
            path.lineTo(x, y);
    }
    return path;
}

// A pulse train whose duty cycle follows a sine: what a PWM output makes of a tone.
QPainterPath PulseTrain(qreal width, qreal low, qreal high, qreal period) {
    QPainterPath path;
    path.moveTo(0, low);
    for (qreal x = 0; x < width; x += period) {
        const qreal duty = 0.5 + 0.4 * std::sin(2 * std::numbers::pi * x / (period * 16));
        const qreal rise = x + period * (1 - duty) / 2;
        const qreal fall = rise + period * duty;
        path.lineTo(rise, low);
        path.lineTo(rise, high);
        path.lineTo(std::min(fall, width), high);
        path.lineTo(std::min(fall, width), low);
    }
    path.lineTo(width, low);
    return path;
}

void DrawArrow(QPainter& painter, QPointF from, QPointF to) {
    painter.setPen(QPen(Gold, 2));
    painter.drawLine(from, to);
    const QPointF along = to - from;
    const qreal length = std::hypot(along.x(), along.y());
    if (length == 0)
        return;
    const QPointF unit = along / length;
    const QPointF across(-unit.y(), unit.x());
    constexpr qreal Head = 7;
    const QPointF tip = to;
    const QPolygonF head{tip, tip - unit * Head * 1.4 + across * Head * 0.7,
                         tip - unit * Head * 1.4 - across * Head * 0.7};
    painter.setPen(Qt::NoPen);
    painter.setBrush(Gold);
    painter.drawPolygon(head);
}

struct Stage {
    QRectF box;
    QString title;
    QString detail;
    QColor edge;
};

void DrawStage(QPainter& painter, const Stage& stage) {
    QLinearGradient fill(stage.box.topLeft(), stage.box.bottomLeft());
    fill.setColorAt(0, QColor(34, 58, 140));
    fill.setColorAt(1, QColor(12, 24, 84));
    painter.setPen(QPen(stage.edge, 1.6));
    painter.setBrush(fill);
    painter.drawRoundedRect(stage.box, 7, 7);

    const QRectF inner = stage.box.adjusted(4, 6, -4, -4);
    painter.setPen(Paper);
    painter.setFont(FittingFont(stage.title, inner.width(), 13, true));
    const QRectF titleArea(inner.left(), inner.top(), inner.width(),
                           stage.detail.isEmpty() ? inner.height() : 20);
    painter.drawText(titleArea, Qt::AlignHCenter | (stage.detail.isEmpty() ? Qt::AlignVCenter : Qt::AlignTop),
                     stage.title);
    if (stage.detail.isEmpty())
        return;
    painter.setPen(Faint);
    painter.setFont(FittingFont(stage.detail, inner.width(), 11, false));
    painter.drawText(inner.adjusted(0, 22, 0, 0), Qt::AlignHCenter | Qt::AlignTop, stage.detail);
}

void DrawControlNote(QPainter& painter, const QRectF& box, const QString& title, const QString& detail) {
    painter.setPen(QPen(Faint, 1.2, Qt::DashLine));
    painter.setBrush(QColor(255, 255, 255, 10));
    painter.drawRoundedRect(box, 6, 6);
    const QRectF inner = box.adjusted(6, 4, -6, 0);
    painter.setPen(Paper);
    painter.setFont(FittingFont(title, inner.width(), 12, true));
    painter.drawText(inner, Qt::AlignHCenter | Qt::AlignTop, title);
    painter.setPen(Faint);
    painter.setFont(FittingFont(detail, inner.width(), 11, false));
    painter.drawText(inner.adjusted(0, 17, 0, 0), Qt::AlignHCenter | Qt::AlignTop, detail);
}

void FillDeepGradient(QPainter& painter, QSize size) {
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(8, 14, 40));
    sky.setColorAt(0.55, QColor(0, 0, 110));
    sky.setColorAt(1, QColor(10, 46, 110));
    painter.fillRect(QRect(QPoint(0, 0), size), sky);
}

} // namespace

QPixmap StartPicture(QSize size) {
    if (size.isEmpty())
        return {};
    QPixmap pixmap = Canvas(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    FillDeepGradient(painter, size);

    QRadialGradient glow(size.width() * 0.3, size.height() * 0.4, size.width() * 0.6);
    glow.setColorAt(0, QColor(80, 130, 255, 70));
    glow.setColorAt(1, QColor(80, 130, 255, 0));
    painter.fillRect(pixmap.rect(), glow);

    const QSizeF design(614, 347);
    FitDesign(painter, size, design);
    painter.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        painter.setPen(QPen(QColor(120, 190, 255, 90 - 25 * i), 1.6));
        painter.drawPath(Wave(design.width(), 236, 22 - 6 * i, 2.5 + i, i * 1.3));
    }
    painter.setPen(QPen(QColor(255, 214, 10, 110), 1.4));
    painter.drawPath(PulseTrain(design.width(), 318, 294, 14));

    painter.setPen(QColor(0, 0, 0, 120));
    painter.setFont(PixelFont(78, true));
    painter.drawText(QRectF(3, 43, design.width(), 100), Qt::AlignHCenter | Qt::AlignVCenter, "QMX4600");
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 40, design.width(), 100), Qt::AlignHCenter | Qt::AlignVCenter, "QMX4600");

    QLinearGradient rule(120, 0, design.width() - 120, 0);
    rule.setColorAt(0, QColor(255, 214, 10, 0));
    rule.setColorAt(0.5, Gold);
    rule.setColorAt(1, QColor(255, 214, 10, 0));
    painter.fillRect(QRectF(120, 146, design.width() - 240, 2), rule);

    painter.setPen(Gold);
    painter.setFont(PixelFont(24, true));
    painter.drawText(QRectF(0, 154, design.width(), 36), Qt::AlignCenter, "DAP and PWM Configuration Tool");
    painter.setPen(Faint);
    painter.setFont(PixelFont(14, false));
    painter.drawText(QRectF(0, 190, design.width(), 24), Qt::AlignCenter,
                     QStringLiteral("Four DAP channels \u00b7 four PWM outputs \u00b7 I\u00b2C control"));
    return pixmap;
}

QPixmap BlockDiagramPicture(QSize size) {
    if (size.isEmpty())
        return {};
    QPixmap pixmap = Canvas(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient back(0, 0, 0, size.height());
    back.setColorAt(0, QColor(12, 20, 48));
    back.setColorAt(1, QColor(16, 28, 64));
    painter.fillRect(pixmap.rect(), back);

    const QSizeF design(700, 400);
    FitDesign(painter, size, design);

    painter.setPen(Gold);
    painter.setFont(PixelFont(16, true));
    painter.drawText(QRectF(14, 8, 400, 28), Qt::AlignLeft | Qt::AlignVCenter, "QMX4600 SIGNAL FLOW");
    painter.setPen(Faint);
    painter.setFont(PixelFont(11, false));
    painter.drawText(QRectF(286, 8, 400, 28), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("each stage runs on DAP channels 1\u20134"));

    constexpr qreal Width = 112, Height = 78, Top = 48, Bottom = 232;
    const qreal column[] = {14, 150, 286, 422, 558};
    const auto box = [&](int col, qreal top) { return QRectF(column[col], top, Width, Height); };

    const Stage topRow[] = {
        {box(0, Top), "SERIAL INPUTS", QStringLiteral("SDIN1\u2013SDIN4\nCH1\u2013CH8 (A\u2013H)"), Teal},
        {box(1, Top), "INPUT MIXER", "8 inputs into\neach DAP channel", Sky},
        {box(2, Top), "BIQUAD EQ", QStringLiteral("BQ1\u2013BQ7\nper DAP channel"), Sky},
        {box(3, Top), "TONE", "bass and treble", Sky},
        {box(4, Top), "LOUDNESS", "LG, LO, G, O\nloudness filter", Sky},
    };
    const Stage bottomRow[] = {
        {box(4, Bottom), "DRC", "DRC1, DRC2\npre- or post-volume", Sky},
        {box(3, Bottom), "VOLUME", QStringLiteral("master, DAP 1\u20134\nsoft mute"), Sky},
        {box(2, Bottom), "OUTPUT MIXER", "DAP channels\ninto PWM outputs", Sky},
    };
    for (const Stage& stage : topRow)
        DrawStage(painter, stage);
    for (const Stage& stage : bottomRow)
        DrawStage(painter, stage);
    for (int i = 0; i + 1 < 5; ++i)
        DrawArrow(painter, QPointF(topRow[i].box.right() + 2, Top + Height / 2),
                  QPointF(topRow[i + 1].box.left() - 2, Top + Height / 2));
    DrawArrow(painter, QPointF(topRow[4].box.center().x(), topRow[4].box.bottom() + 2),
              QPointF(bottomRow[0].box.center().x(), bottomRow[0].box.top() - 2));
    for (int i = 0; i + 1 < 3; ++i)
        DrawArrow(painter, QPointF(bottomRow[i].box.left() - 2, Bottom + Height / 2),
                  QPointF(bottomRow[i + 1].box.right() + 2, Bottom + Height / 2));

    constexpr qreal PwmHeight = 16, PwmGap = 4.6;
    const qreal mixerLeft = bottomRow[2].box.left();
    for (int output = 0; output < 4; ++output) {
        const QRectF pwm(column[1], Bottom + output * (PwmHeight + PwmGap), Width, PwmHeight);
        DrawArrow(painter, QPointF(mixerLeft - 2, Bottom + Height / 2),
                  QPointF(pwm.right() + 2, pwm.center().y()));
        painter.setPen(QPen(Gold, 1.4));
        painter.setBrush(QColor(60, 48, 8));
        painter.drawRoundedRect(pwm, 4, 4);
        painter.setPen(Paper);
        painter.setFont(PixelFont(11, true));
        painter.drawText(pwm, Qt::AlignCenter, QString("PWM OUT %1").arg(output + 1));
    }

    const QRectF bass(column[1], 152, column[2] + Width - column[1], 56);
    DrawStage(painter, {bass, "BASS MANAGEMENT",
                        QStringLiteral("Ch7, Ch8 \u2192 Ch1, Ch2 \u00b7 Ch1, Ch2 \u2192 Ch8"), Teal});
    const qreal eqMiddle = topRow[2].box.center().x();
    DrawArrow(painter, QPointF(eqMiddle - 16, Top + Height + 2), QPointF(eqMiddle - 16, bass.top() - 2));
    DrawArrow(painter, QPointF(eqMiddle + 16, bass.top() - 2), QPointF(eqMiddle + 16, Top + Height + 2));

    // Ends short of the arrow from the loudness down to the DRC.
    const qreal clocksRight = topRow[4].box.center().x() - 14;
    DrawControlNote(painter, QRectF(column[3], 152, clocksRight - column[3], 56), "CLOCKS AND BANKS",
                    QStringLiteral("serial format \u00b7 Fs detection\ncoefficient banks"));
    DrawControlNote(painter, box(0, Bottom), QStringLiteral("I\u00b2C CONTROL"), "USB adapter\ndevice 0x36");

    DrawArrow(painter, QPointF(14, 362), QPointF(46, 362));
    painter.setPen(Faint);
    painter.setFont(PixelFont(11, false));
    painter.drawText(QRectF(54, 352, 150, 20), Qt::AlignLeft | Qt::AlignVCenter, "audio signal");
    painter.setPen(QPen(Faint, 1.2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(170, 355, 30, 14), 3, 3);
    painter.setPen(Faint);
    painter.drawText(QRectF(208, 352, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, "control, no audio");
    return pixmap;
}

QPixmap PanelBackground(QSize size) {
    if (size.isEmpty())
        return {};
    QPixmap pixmap = Canvas(size);
    QPainter painter(&pixmap);
    QLinearGradient shade(0, 0, 0, size.height());
    shade.setColorAt(0, QColor(28, 36, 56));
    shade.setColorAt(1, QColor(16, 21, 34));
    painter.fillRect(pixmap.rect(), shade);
    constexpr int Grid = 24;
    painter.setPen(QColor(255, 255, 255, 12));
    for (int x = Grid; x < size.width(); x += Grid)
        painter.drawLine(x, 0, x, size.height());
    for (int y = Grid; y < size.height(); y += Grid)
        painter.drawLine(0, y, size.width(), y);
    QRadialGradient light(size.width() / 2.0, 0, size.width() * 0.6);
    light.setColorAt(0, QColor(110, 150, 255, 40));
    light.setColorAt(1, QColor(110, 150, 255, 0));
    painter.fillRect(pixmap.rect(), light);
    return pixmap;
}

QPixmap BottomStrip(QSize size) {
    if (size.isEmpty())
        return {};
    QPixmap pixmap = Canvas(size);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient shade(0, 0, 0, size.height());
    shade.setColorAt(0, QColor(22, 30, 50));
    shade.setColorAt(1, QColor(10, 14, 24));
    painter.fillRect(pixmap.rect(), shade);

    const qreal h = size.height();
    painter.setPen(QPen(QColor(111, 156, 255, 70), 1.2));
    painter.drawPath(PulseTrain(size.width(), h * 0.8, h * 0.35, std::max(6.0, h * 0.45)));
    painter.setPen(QPen(QColor(255, 214, 10, 120), 1.4));
    painter.drawPath(Wave(size.width(), h * 0.58, h * 0.2, size.width() / 160.0, 0));

    QLinearGradient rule(0, 0, size.width(), 0);
    rule.setColorAt(0, QColor(255, 214, 10, 0));
    rule.setColorAt(0.5, Gold);
    rule.setColorAt(1, QColor(59, 125, 221, 0));
    painter.fillRect(QRectF(0, 0, size.width(), std::max(1.0, h * 0.06)), rule);
    return pixmap;
}
