#include "RegisterGrid.h"

#include "ByteEdit.h"

#include <QGridLayout>
#include <QLabel>
#include <QPalette>

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
    for (int n = 0; n < ByteCount; ++n) {
        if (n < size) {
            // An empty palette sets no role, so the field takes the window's
            // normal colours again.
            fields_[n]->setPalette(QPalette());
        } else {
            QPalette grey;
            grey.setColor(QPalette::Base, UnusedColour);
            fields_[n]->setPalette(grey);
        }
    }
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
