#include "ByteEdit.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct ValueCase {
    const char* text;
    int value;
};

class ByteEditValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ByteEditValueTest, ReadsTheFirstTwoCharacters) {
    ByteEdit edit;
    edit.setText(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(edit.Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, ByteEditValueTest,
                         ::testing::Values(ValueCase{"5", 0x50}, ValueCase{"1g", 0x10}, ValueCase{"", 0x00},
                                           ValueCase{"ff", 0xff}, ValueCase{"A0", 0xa0},
                                           ValueCase{"abc", 0xab}, ValueCase{" 7", 0x07},
                                           ValueCase{"zz", 0x00},
                                           // Not the bytes of the encoding: 'é' is one character, no digit.
                                           ValueCase{"\xc3\xa9"
                                                     "5",
                                                     0x05}));

TEST(ByteEditTest, ShowsTwoLowerCaseDigits) {
    const int values[] = {0x00, 0x0a, 0x50, 0xab, 0xff};
    const char* shown[] = {"00", "0a", "50", "ab", "ff"};
    ByteEdit edit;
    for (size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(shown[i]);
        edit.SetValue(static_cast<uint8_t>(values[i]));
        EXPECT_EQ(edit.text(), shown[i]);
        EXPECT_EQ(edit.Value(), values[i]);
    }
}

TEST(ByteEditTest, SignalsAsAnEditDoes) {
    ByteEdit edit;
    edit.show();
    edit.setFocus();
    QSignalSpy changed(&edit, &QLineEdit::textChanged);
    QSignalSpy finished(&edit, &QLineEdit::editingFinished);

    edit.SetValue(0x3c);
    edit.SetValue(0x3c);
    edit.selectAll();
    QTest::keyClicks(&edit, "7F");
    QTest::keyClick(&edit, Qt::Key_Return);

    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed[0][0].toString(), "3c");
    EXPECT_EQ(changed[2][0].toString(), "7F");
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(edit.Value(), 0x7f);
}

} // namespace
