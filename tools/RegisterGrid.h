#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <span>

class ByteEdit;

// One register shown as ten 32-bit words of four byte fields each, most
// significant byte first, the order of the bytes on the bus: byte n of the
// register sits in row n / 4, column n % 4. The four column heads name the
// bits of a word. Fields beyond the register's size are painted grey so the
// user sees how much of the grid the device will take.
class RegisterGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int ByteCount = 40;
    static constexpr int WordCount = ByteCount / 4;
    // Height of the head row and of each word row, so that row labels set
    // beside the grid line up with its words.
    static constexpr int RowHeight = 22;
    static constexpr int RowSpacing = 2;
    static inline const QColor UnusedColour{128, 128, 128};

    // `fieldPrefix` gives the field names ("WriteData" -> WriteDataWord0Byte1
    // ...), `headPrefix` those of the column heads ("WriteByteLabel" ->
    // WriteByteLabel1 ...).
    RegisterGrid(const QString& fieldPrefix, const QString& headPrefix, QWidget* parent = nullptr);

    // The first `size` fields get the normal background, the others grey.
    void MarkRegisterSize(int size);
    void Zero();
    // Shows bytes from field 0 on; bytes beyond the grid are not shown.
    void ShowBytes(std::span<const uint8_t> bytes);
    std::array<uint8_t, ByteCount> Values() const;

private:
    std::array<ByteEdit*, ByteCount> fields_{};
};
