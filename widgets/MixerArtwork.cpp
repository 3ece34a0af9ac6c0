#include "MixerArtwork.h"

#include "SkinColours.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace {

const QColor Wire{236, 241, 250};
const QColor Feed{255, 190, 60};
const QColor BoxEdge{111, 156, 255};
const QColor TextColour{236, 241, 250};

// Lanes of the four channels; channels 7 and 8 split into an upper branch
// through biquads 1-2 (in-line gain) and a lower bypass branch.
struct Lane {
    int channel;
    int y;
    int upper, lower; // branch lanes of channels 7 and 8; 0 otherwise
};
constexpr std::array<Lane, 4> Lanes{{{1, 32, 0, 0}, {2, 72, 0, 0}, {7, 148, 130, 166}, {8, 232, 214, 250}}};

// Taps of the cross-feeds and the summing points.
constexpr int TapX[4] = {75, 120, 165, 210}; // channel 1, 2, 7, 8
constexpr int SumX = 255;
constexpr int SumRadius = 9;
constexpr int SplitX = 272;
constexpr int BranchGainX = 350;
constexpr int MergeX = 382;
constexpr int FeedGainY = 110;
constexpr int BusTo12Y = 52; // gains of channels 7 and 8 into channels 1 and 2
constexpr int BusTo8Y = 196; // gains of channels 1 and 2 into channel 8
constexpr int InputRight = 50;

const Lane& LaneOf(int channel) {
    for (const Lane& lane : Lanes)
        if (lane.channel == channel)
            return lane;
    return Lanes[0];
}

void DrawSum(QPainter& painter, QPointF centre) {
    painter.setPen(QPen(Wire, 1.6));
    painter.setBrush(SkinColours::Navy);
    painter.drawEllipse(centre, SumRadius, SumRadius);
    painter.drawLine(centre + QPointF(-5, 0), centre + QPointF(5, 0));
    painter.drawLine(centre + QPointF(0, -5), centre + QPointF(0, 5));
}

void DrawDot(QPainter& painter, QPointF at, const QColor& colour) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(at, 3, 3);
}

void DrawBox(QPainter& painter, const QRect& box, const QString& text) {
    painter.setPen(QPen(BoxEdge, 1.6));
    painter.setBrush(QColor(20, 40, 120));
    painter.drawRoundedRect(box, 4, 4);
    painter.setPen(TextColour);
    painter.drawText(box, Qt::AlignCenter, text);
}

// A gain point drawn as an amplifier triangle; the panel's button covers it.
void DrawGain(QPainter& painter, QPoint centre, bool pointsRight) {
    painter.setPen(QPen(Wire, 1.4));
    painter.setBrush(QColor(40, 40, 90));
    const int d = pointsRight ? 1 : -1;
    const QPolygon triangle{centre + QPoint(-9 * d, -9), centre + QPoint(-9 * d, 9),
                            centre + QPoint(9 * d, 0)};
    painter.drawPolygon(triangle);
}

void Arrow(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
    painter.setPen(QPen(colour, 1.8));
    painter.drawLine(from, to);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const int d = to.x() >= from.x() ? 1 : -1;
    painter.drawPolygon(QPolygon{to, to + QPoint(-8 * d, -4), to + QPoint(-8 * d, 4)});
}

void Poly(QPainter& painter, std::initializer_list<QPoint> points, const QColor& colour) {
    painter.setPen(QPen(colour, 1.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(QPolygon(points));
}

} // namespace

QImage GainIndicatorImage(GainPicture kind, int pixels) {
    QImage image(pixels, pixels, QImage::Format_RGB32);
    image.fill(SkinColours::Navy);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor fill = kind == GainPicture::Zero  ? QColor(214, 40, 40)
                        : kind == GainPicture::One ? QColor(30, 170, 60)
                                                   : QColor(40, 100, 230);
    const qreal s = pixels;
    painter.setPen(QPen(Qt::white, s / 16));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(s / 32, s / 32, s - s / 16, s - s / 16), s / 6, s / 6);
    // The multiply sign, thick enough to read at 16 pixels.
    painter.setPen(QPen(Qt::white, s / 7, Qt::SolidLine, Qt::RoundCap));
    const qreal a = s * 0.3, b = s * 0.7;
    painter.drawLine(QPointF(a, a), QPointF(b, b));
    painter.drawLine(QPointF(a, b), QPointF(b, a));
    return image;
}

namespace BassManDiagram {

QPoint GainPoint(int subAddress) {
    switch (subAddress) {
    case 0x49:
        return {TapX[0], FeedGainY};
    case 0x4A:
        return {TapX[1], FeedGainY};
    case 0x4B:
        return {TapX[2], FeedGainY};
    case 0x4E:
        return {TapX[3], FeedGainY};
    case 0x4D:
        return {BranchGainX, LaneOf(7).upper};
    case 0x4C:
        return {BranchGainX, LaneOf(7).lower};
    case 0x50:
        return {BranchGainX, LaneOf(8).upper};
    case 0x4F:
        return {BranchGainX, LaneOf(8).lower};
    default:
        return {};
    }
}

QRect GainLabel(int subAddress) {
    const QPoint centre = GainPoint(subAddress);
    const bool above = subAddress == 0x4D || subAddress == 0x50;
    return QRect(centre.x() - 16, above ? centre.y() - 24 : centre.y() + 11, 32, 13);
}

QRect BiquadBox(int channel, int stage) {
    if (channel == 1 || channel == 2)
        return QRect(296, LaneOf(channel).y - 10, 84, 20);
    const Lane& lane = LaneOf(channel);
    return stage == 0 ? QRect(284, lane.upper - 9, 52, 18) : QRect(400, lane.y - 10, 56, 20);
}

int LaneY(int channel) {
    return LaneOf(channel).y;
}

} // namespace BassManDiagram

QImage BassManagementImage(bool threeChannel) {
    using namespace BassManDiagram;
    QImage image(Size, QImage::Format_RGB32);
    image.fill(SkinColours::Navy);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);

    for (const Lane& lane : Lanes) {
        if (threeChannel && lane.channel == 7)
            continue;
        const QRect input(4, lane.y - 10, InputRight - 4, 20);
        DrawBox(painter, input, QString("Ch%1").arg(lane.channel));
        if (lane.channel <= 2) {
            const bool sums = !threeChannel;
            Arrow(painter, {InputRight, lane.y},
                  {sums ? SumX - SumRadius : BiquadBox(lane.channel, 0).left(), lane.y}, Wire);
            if (sums) {
                DrawSum(painter, QPointF(SumX, lane.y));
                Arrow(painter, {SumX + SumRadius, lane.y}, {BiquadBox(lane.channel, 0).left(), lane.y}, Wire);
            }
            DrawBox(painter, BiquadBox(lane.channel, 0), "BQ1-7");
            Arrow(painter, {BiquadBox(lane.channel, 0).right(), lane.y}, {LanesEnd, lane.y}, Wire);
            continue;
        }
        // Channels 7 and 8: (channel 8 sums the cross-feeds first), then
        // biquads 1-2 with their in-line gain beside a bypass gain, merged
        // again before biquads 3-7.
        const bool sums = lane.channel == 8 && !threeChannel;
        if (sums) {
            Arrow(painter, {InputRight, lane.y}, {SumX - SumRadius, lane.y}, Wire);
            DrawSum(painter, QPointF(SumX, lane.y));
            Poly(painter, {{SumX + SumRadius, lane.y}, {SplitX, lane.y}}, Wire);
        } else {
            Poly(painter, {{InputRight, lane.y}, {SplitX, lane.y}}, Wire);
        }
        const QRect stage12 = BiquadBox(lane.channel, 0);
        Poly(painter, {{SplitX, lane.y}, {SplitX, lane.upper}}, Wire);
        Arrow(painter, {SplitX, lane.upper}, {stage12.left(), lane.upper}, Wire);
        DrawBox(painter, stage12, "BQ1-2");
        Poly(painter, {{stage12.right(), lane.upper}, {MergeX, lane.upper}, {MergeX, lane.y - SumRadius}},
             Wire);
        if (!threeChannel) {
            Poly(painter,
                 {{SplitX, lane.y}, {SplitX, lane.lower}, {MergeX, lane.lower}, {MergeX, lane.y + SumRadius}},
                 Wire);
            DrawDot(painter, QPointF(SplitX, lane.y), Wire);
            DrawGain(painter, {BranchGainX, lane.upper}, true);
            DrawGain(painter, {BranchGainX, lane.lower}, true);
        }
        const QRect stage37 = BiquadBox(lane.channel, 1);
        if (threeChannel) {
            // Nothing to merge: straight on into biquads 3-7.
            Poly(painter, {{MergeX, lane.y - SumRadius}, {MergeX, lane.y}}, Wire);
            Arrow(painter, {MergeX, lane.y}, {stage37.left(), lane.y}, Wire);
        } else {
            DrawSum(painter, QPointF(MergeX, lane.y));
            Arrow(painter, {MergeX + SumRadius, lane.y}, {stage37.left(), lane.y}, Wire);
        }
        DrawBox(painter, stage37, "BQ3-7");
        Arrow(painter, {stage37.right(), lane.y}, {LanesEnd, lane.y}, Wire);
    }
    if (threeChannel)
        return image;

    // Cross-feeds: channels 7 and 8 into channels 1 and 2, channels 1 and 2
    // into channel 8, each through its gain.
    const int lane1 = LaneOf(1).y, lane2 = LaneOf(2).y, lane8 = LaneOf(8).y;
    for (int i : {2, 3}) { // channel 7, channel 8
        const int from = LaneOf(i == 2 ? 7 : 8).y;
        DrawDot(painter, QPointF(TapX[i], from), Feed);
        Poly(painter, {{TapX[i], from}, {TapX[i], BusTo12Y}}, Feed);
        DrawGain(painter, {TapX[i], FeedGainY}, true);
    }
    Poly(painter, {{TapX[2], BusTo12Y}, {SumX, BusTo12Y}}, Feed);
    Poly(painter, {{SumX, BusTo12Y}, {SumX, lane1 + SumRadius}}, Feed);
    Poly(painter, {{SumX, BusTo12Y}, {SumX, lane2 - SumRadius}}, Feed);
    DrawDot(painter, QPointF(SumX, BusTo12Y), Feed);
    DrawDot(painter, QPointF(TapX[3], BusTo12Y), Feed);
    for (int i : {0, 1}) { // channel 1, channel 2
        const int from = i == 0 ? lane1 : lane2;
        DrawDot(painter, QPointF(TapX[i], from), Feed);
        Poly(painter, {{TapX[i], from}, {TapX[i], BusTo8Y}}, Feed);
        DrawGain(painter, {TapX[i], FeedGainY}, true);
    }
    Poly(painter, {{TapX[0], BusTo8Y}, {SumX, BusTo8Y}, {SumX, lane8 - SumRadius}}, Feed);
    DrawDot(painter, QPointF(TapX[1], BusTo8Y), Feed);

    font.setBold(false);
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(Feed);
    painter.drawText(QRect(SumX + 14, BusTo12Y - 6, 120, 12), Qt::AlignLeft, "Ch7, Ch8 to Ch1, Ch2");
    painter.drawText(QRect(SumX - 150, BusTo8Y - 13, 120, 12), Qt::AlignRight, "Ch1, Ch2 to Ch8");
    return image;
}
