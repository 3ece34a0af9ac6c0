#include "Look.h"
#include "BlockPanel.h"

#include <QApplication>
#include <QImage>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

class SkinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ApplySkin(*qApp); }
};

int PixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y).rgb() == colour.rgb();
    return count;
}

// A status label as the main window has one: the program colours it at run
// time, and what it sets must be what the user sees, on a navy panel and on
// an ordinary window.
TEST_F(SkinTest, TextColourSetByTheProgramIsTheColourShown) {
    const Rgb colours[] = {Colours::Red, Colours::Green, {255, 255, 0}, {0, 0, 0}};
    BlockPanel panel("PanelVolume", "VOLUME CONTROL");
    QWidget window;
    window.resize(300, 80);
    QWidget* parents[] = {&panel, &window};
    for (QWidget* parent : parents) {
        auto* label = new QLabel("OK I2C Error", parent);
        label->setObjectName("LabelStatusUnits");
        QFont font = label->font();
        font.setPixelSize(28);
        font.setBold(true);
        label->setFont(font);
        label->setGeometry(10, 40, 280, 36);
        parent->show();
        for (const Rgb colour : colours) {
            SCOPED_TRACE(testing::Message() << parent->metaObject()->className() << " " << int(colour.red)
                                            << "," << int(colour.green) << "," << int(colour.blue));
            SetTextColour(label, colour);
            EXPECT_EQ(TextColour(label), colour);
            const QImage shown = label->grab().toImage();
            EXPECT_GT(PixelsOf(shown, QColor(colour.red, colour.green, colour.blue)), 20);
        }
    }
}

TEST_F(SkinTest, BlockPanelIsNavyWithItsTitleAtTheTop) {
    BlockPanel panel("PanelTone", "TONE CONTROL");
    panel.show();

    EXPECT_EQ(panel.objectName(), "PanelTone");
    EXPECT_EQ(panel.size(), QSize(BlockPanel::Width, BlockPanel::Height));
    EXPECT_EQ(panel.TitleLabel()->text(), "TONE CONTROL");
    EXPECT_TRUE(panel.TitleLabel()->font().bold());
    EXPECT_LE(panel.TitleLabel()->geometry().bottom(), BlockPanel::TitleHeight);
    const QImage shown = panel.grab().toImage();
    EXPECT_EQ(shown.pixelColor(BlockPanel::Width / 2, BlockPanel::Height - 20), QColor(0, 0, 128));
    const Rgb title = TextColour(panel.TitleLabel());
    EXPECT_GT(int(title.red) + title.green, 400) << "light text on navy";
}

TEST_F(SkinTest, NullLabelIsIgnored) {
    SetTextColour(nullptr, Colours::Red);
    EXPECT_EQ(TextColour(nullptr), Rgb{});
}

} // namespace
