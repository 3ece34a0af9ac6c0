#include "Ackerrordialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The dialog belongs to a main window in the corner of the screen; it still
// comes up in the middle of the screen.
class ErrorDialogTest : public ::testing::Test {
protected:
    ErrorDialogTest() {
        mainWindow.setGeometry(10, 10, 300, 200);
        mainWindow.show();
    }

    QWidget mainWindow;
    TACK_ErrorDialogForm dialog{&mainWindow};
};

TEST_F(ErrorDialogTest, ListsWhatToCheckLineByLine) {
    const char* lines[] = {
        "The I2C Command sent was not acknowledged by the Device.",
        "Check the \"STATUS\" window for either an I2C Error or USB Error.",
        "",
        "          1) For I2C Error: ",
        "               Verify the Device is Powered On.",
        "               Verify proper Connection to USB Board.",
        "          2) For USB Error",
        "               Verify USB status in Status Window.",
        "  ",
        "Press the RESET button to see if communication is resumed.",
    };
    auto* list = dialog.findChild<QListWidget*>("ErrorListBox");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), static_cast<int>(std::size(lines)));
    for (int i = 0; i < list->count(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(list->item(i)->text(), lines[i]);
    }
    bool headed = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        headed = headed || label->text() == "COMMUNICATION ERROR";
    EXPECT_TRUE(headed);
}

// The failing transfer goes on while the dialog is up: showing it returns at
// once, and it stays above the main window.
TEST_F(ErrorDialogTest, ShowsWithoutBlockingOnTopInTheMiddleOfTheScreen) {
    dialog.show();

    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.windowModality(), Qt::NonModal);
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QSize frame = dialog.frameGeometry().size() - dialog.geometry().size();
    const QPoint offCentre = dialog.geometry().center() - dialog.screen()->availableGeometry().center();
    // Centred before the window system adds its frame.
    EXPECT_LE(offCentre.manhattanLength(), frame.width() + frame.height() + 2);
}

TEST_F(ErrorDialogTest, CloseHidesItAndItShowsAgain) {
    auto* close = dialog.findChild<QPushButton*>("CloseButton");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), "CLOSE");

    dialog.show();
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    dialog.show();
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
