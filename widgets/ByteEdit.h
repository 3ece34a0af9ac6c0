#pragma once

#include <QLineEdit>

#include <cstdint>

// An edit field holding one register byte as two hexadecimal digits. Its
// value is read from the first two characters (a single digit is the high
// nibble, anything that is not a hex digit counts as 0) and shown as two
// lower-case digits.
class ByteEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit ByteEdit(QWidget* parent = nullptr);

    uint8_t Value() const { return ValueOf(text()); }
    // The byte any field text stands for, read by the same rule.
    static uint8_t ValueOf(const QString& text);
    void SetValue(uint8_t value);
};
