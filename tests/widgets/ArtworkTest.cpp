#include "Artwork.h"

#include <QImage>

#include <gtest/gtest.h>

#include <set>

namespace {

struct Picture {
    const char* name;
    QPixmap (*paint)(QSize);
};

const Picture Pictures[] = {{"StartPicture", StartPicture},
                            {"BlockDiagramPicture", BlockDiagramPicture},
                            {"PanelBackground", PanelBackground},
                            {"BottomStrip", BottomStrip}};

int DistinctColours(const QImage& image) {
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

// Share of pixels light enough to be lettering on the dark ground.
double LightShare(const QImage& image) {
    long light = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            light += image.pixelColor(x, y).lightness() > 200;
    return double(light) / (double(image.width()) * image.height());
}

TEST(ArtworkTest, PaintsAPictureOfTheSizeAsked) {
    const QSize sizes[] = {{614, 347}, {833, 401}, {856, 30}, {60, 30}};
    for (const Picture& picture : Pictures)
        for (const QSize size : sizes) {
            SCOPED_TRACE(testing::Message() << picture.name << " " << size.width() << "x" << size.height());
            const QPixmap pixmap = picture.paint(size);
            ASSERT_FALSE(pixmap.isNull());
            EXPECT_EQ(pixmap.size(), size);
            EXPECT_GT(DistinctColours(pixmap.toImage()), 8);
        }
}

struct LetteringCase {
    Picture picture;
    QSize size;
    double minimumLight, maximumLight;
};

// The start picture and the block diagram carry light lettering on a dark
// ground; the background and the strip stay dark, so that labels over them
// and beside them remain readable.
TEST(ArtworkTest, LetteringWhereThereShouldBeAndQuietElsewhere) {
    const LetteringCase cases[] = {
        {Pictures[0], {614, 347}, 0.02, 0.2},  {Pictures[1], {614, 347}, 0.005, 0.1},
        {Pictures[1], {833, 401}, 0.005, 0.1}, {Pictures[2], {833, 401}, 0.0, 0.0},
        {Pictures[3], {856, 30}, 0.0, 0.0},
    };
    for (const LetteringCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.name << " " << c.size.width() << "x" << c.size.height());
        const double light = LightShare(c.picture.paint(c.size).toImage());
        EXPECT_GE(light, c.minimumLight);
        EXPECT_LE(light, c.maximumLight);
    }
}

TEST(ArtworkTest, EmptySizeGivesNoPicture) {
    const QSize sizes[] = {{0, 0}, {-5, 40}, {100, 0}};
    for (const Picture& picture : Pictures)
        for (const QSize size : sizes) {
            SCOPED_TRACE(picture.name);
            EXPECT_TRUE(picture.paint(size).isNull());
        }
}

} // namespace
