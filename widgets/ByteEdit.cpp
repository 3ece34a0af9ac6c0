#include "ByteEdit.h"

#include "Conversions.h"

#include <string>

namespace {
// Room for two digits and the frame, whatever the font.
constexpr int DigitsShown = 3;
} // namespace

ByteEdit::ByteEdit(QWidget* parent) : QLineEdit(parent) {
    setAlignment(Qt::AlignCenter);
    setFixedWidth(fontMetrics().horizontalAdvance(QString(DigitsShown, QLatin1Char('0'))) + 14);
    SetValue(0);
}

uint8_t ByteEdit::ValueOf(const QString& text) {
    // Read character by character: a character outside ASCII is no hex digit
    // and must not be mistaken for the bytes of its encoding.
    std::string field;
    for (const QChar c : text.left(2))
        field += c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?';
    return ByteEditValue(field);
}

void ByteEdit::SetValue(uint8_t value) {
    setText(QString::fromStdString(ByteEditText(value)));
}
