#include "Fileexistsunit.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

enum class Answer { Yes, No, CloseWindow, Escape };

struct Shown {
    bool modal = false;
    QString fileName;
};

// Answers the question once it is up, and notes what it showed.
void AnswerWhenShown(TFileExistsForm& form, Answer answer, Shown& shown) {
    QTimer::singleShot(0, [&form, answer, &shown] {
        shown.modal = QApplication::activeModalWidget() == &form;
        if (auto* label = form.findChild<QLabel*>("FileNameLabel"))
            shown.fileName = label->text();
        auto* yes = form.findChild<QPushButton*>("YesButton");
        auto* no = form.findChild<QPushButton*>("NoButton");
        switch (answer) {
        case Answer::Yes:
        case Answer::No:
            if (yes && no) {
                QTest::mouseClick(answer == Answer::Yes ? yes : no, Qt::LeftButton);
                return;
            }
            ADD_FAILURE() << "no YES or NO button";
            form.close();
            return;
        case Answer::CloseWindow:
            form.close();
            return;
        case Answer::Escape:
            QTest::keyClick(&form, Qt::Key_Escape);
            return;
        }
    });
}

struct AnswerCase {
    const char* what;
    Answer answer;
    bool replace;
};

class FileExistsAnswerTest : public ::testing::TestWithParam<AnswerCase> {
protected:
    TFileExistsForm form;
};

TEST_P(FileExistsAnswerTest, AsksModallyAndReturnsTheAnswer) {
    Shown shown;
    AnswerWhenShown(form, GetParam().answer, shown);

    const bool replace = form.ConfirmReplace("/home/user/QMX4600BassManOne.cfg");

    EXPECT_EQ(replace, GetParam().replace);
    EXPECT_TRUE(shown.modal);
    EXPECT_EQ(shown.fileName, "/home/user/QMX4600BassManOne.cfg Already Exists,");
    EXPECT_FALSE(form.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Answers, FileExistsAnswerTest,
                         ::testing::Values(AnswerCase{"Yes", Answer::Yes, true},
                                           AnswerCase{"No", Answer::No, false},
                                           AnswerCase{"CloseWindow", Answer::CloseWindow, true},
                                           AnswerCase{"Escape", Answer::Escape, false}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(FileExistsFormTest, StartsAsDesigned) {
    TFileExistsForm form;
    EXPECT_EQ(form.windowTitle(), "Save As");
    ASSERT_NE(form.findChild<QLabel*>("FileNameLabel"), nullptr);
    EXPECT_EQ(form.findChild<QLabel*>("FileNameLabel")->text(), "File Exists");
    EXPECT_TRUE(form.findChild<QLabel*>("FileNameLabel")->wordWrap());
    bool asks = false;
    for (const QLabel* label : form.findChildren<QLabel*>())
        asks = asks || label->text() == "Do You Want to Replace It?";
    EXPECT_TRUE(asks);
    EXPECT_EQ(form.findChild<QPushButton*>("YesButton")->text(), "YES");
    EXPECT_EQ(form.findChild<QPushButton*>("NoButton")->text(), "NO");
}

// One window serves every question: a NO must not carry over to the next.
TEST(FileExistsFormTest, EachQuestionStartsFromYes) {
    TFileExistsForm form;
    Shown first, second;
    AnswerWhenShown(form, Answer::No, first);
    EXPECT_FALSE(form.ConfirmReplace("a.cfg"));
    AnswerWhenShown(form, Answer::CloseWindow, second);
    EXPECT_TRUE(form.ConfirmReplace("b.cfg"));
    EXPECT_EQ(second.fileName, "b.cfg Already Exists,");
}

} // namespace
