#include "RegisterGrid.h"

#include "ByteEdit.h"

#include <QGridLayout>
#include <QLabel>

#include <algorithm>

namespace {

const char* const ColumnHeads[4] = {"(32:24)", "(23:16)", "(15:8)", "(7:0)"};

QString FieldName(const QString& fieldPrefix, int byteIndex) {
    return QStringLiteral("%1Word%2Byte%3").arg(fieldPrefix).arg(byteIndex / 4).arg(byteIndex % 4 + 1);
}

} // namespace

RegisterGrid::RegisterGrid(const QString& fieldPrefix, const QString& headPrefix, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(RowSpacing);
    for (int column = 0; column < 4; ++column) {
        auto* head = new QLabel(ColumnHeads[column], this);
        head->setObjectName(headPrefix + QString::number(column + 1));
        head->setAlignment(Qt::AlignCenter);
        head->setFixedHeight(RowHeight);
        layout->addWidget(head, 0, column);
    }
    for (int n = 0; n < ByteCount; ++n) {
        auto* field = new ByteEdit(this);
        field->setObjectName(FieldName(fieldPrefix, n));
        field->setFixedHeight(RowHeight);
        layout->addWidget(field, 1 + n / 4, n % 4);
        fields_[n] = field;
    }
}

void RegisterGrid::MarkRegisterSize(int size) {
    // A style sheet rather than the palette: under the program's skin, which
    // styles the edits with a style sheet, a palette colour is not painted.
    const QString grey = QStringLiteral("background-color: rgb(%1, %2, %3);")
                             .arg(UnusedColour.red())
                             .arg(UnusedColour.green())
                             .arg(UnusedColour.blue());
    for (int n = 0; n < ByteCount; ++n)
        fields_[n]->setStyleSheet(n < size ? QString() : grey);
}

void RegisterGrid::Zero() {
    for (ByteEdit* field : fields_)
        field->setText("00");
}

void RegisterGrid::ShowBytes(std::span<const uint8_t> bytes) {
    const size_t shown = std::min(bytes.size(), static_cast<size_t>(ByteCount));
    for (size_t n = 0; n < shown; ++n)
        fields_[n]->SetValue(bytes[n]);
}

std::array<uint8_t, RegisterGrid::ByteCount> RegisterGrid::Values() const {
    std::array<uint8_t, ByteCount> values{};
    for (int n = 0; n < ByteCount; ++n)
        values[n] = fields_[n]->Value();
    return values;
}
