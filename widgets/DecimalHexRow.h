#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class ByteEdit;
class QLineEdit;
class QWidget;

// One fixed-point value shown twice: as a decimal text and as a row of byte
// edits (4 bytes in 5.23, or 8 bytes in 25.23). The two views are scratch
// copies of a register until the panel stores them; neither view writes the
// register table.
//
// Every change of the decimal text runs the row's change action (by default
// filling the byte edits from the text), also when the program sets the text.
// BytesToText writes the bytes' decimal text into the decimal edit and so
// runs the change action too, which normalises the bytes to the value the
// text stands for.
class DecimalHexRow : public QObject {
    Q_OBJECT
public:
    // `edits` holds 4 or 8 byte edits, most significant byte first.
    DecimalHexRow(QLineEdit* decimal, std::vector<ByteEdit*> edits, QObject* parent = nullptr);

    // Replaces the default change action (the panel's own ENTER action).
    void SetChangeAction(std::function<void()> action) { changeAction_ = std::move(action); }

    // Decimal text -> byte edits, truncating and saturating at the format.
    void TextToBytes();
    // Byte edits -> decimal text (eight decimals, single precision), which
    // then runs the change action.
    void BytesToText();
    // The bytes as the edits hold them, each read from its first two
    // characters.
    std::vector<uint8_t> Bytes() const;
    // Shows register bytes in the edits (the decimal text is left alone).
    void ShowBytes(const std::vector<uint8_t>& bytes);

    QLineEdit* Decimal() const { return decimal_; }
    const std::vector<ByteEdit*>& Edits() const { return edits_; }

    // Byte edits with the given object names laid out in rows of four under
    // one row of the column labels "31:24" ... "7:0"; `what` names the value
    // for accessibility ("LG byte 1, bits 31:24").
    // Columns are `pitch` apart; a narrow pitch narrows the edits.
    static std::vector<ByteEdit*> BuildByteEdits(QWidget* parent, const QStringList& names,
                                                 const QString& what, int x, int y, int pitch = DefaultPitch);
    // Width and height the layout of BuildByteEdits takes.
    static int ByteEditsWidth(int pitch = DefaultPitch) { return 4 * pitch; }
    static int ByteEditsHeight(int rows);
    static constexpr int DefaultPitch = 40;

private:
    QLineEdit* decimal_;
    std::vector<ByteEdit*> edits_;
    std::function<void()> changeAction_;
};
