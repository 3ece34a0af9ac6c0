#include "DecimalHexRow.h"

#include "ByteEdit.h"
#include "Conversions.h"
#include "HandlerGuard.h"

#include <QLabel>
#include <QLineEdit>

#include <array>
#include <span>
#include <string>

namespace {

constexpr int LabelHeight = 16;
constexpr int RowPitch = 24;
const char* const ColumnLabels[] = {"31:24", "23:16", "15:8", "7:0"};

template <size_t N> std::array<std::string, N> EditTexts(const std::vector<ByteEdit*>& edits) {
    std::array<std::string, N> texts;
    for (size_t i = 0; i < N; ++i)
        texts[i] = ByteEditText(edits[i]->Value());
    return texts;
}

template <size_t N>
void ShowTexts(const std::array<std::string, N>& texts, const std::vector<ByteEdit*>& edits) {
    for (size_t i = 0; i < N; ++i)
        edits[i]->setText(QString::fromStdString(texts[i]));
}

} // namespace

DecimalHexRow::DecimalHexRow(QLineEdit* decimal, std::vector<ByteEdit*> edits, QObject* parent)
    : QObject(parent), decimal_(decimal), edits_(std::move(edits)), changeAction_([this] { TextToBytes(); }) {
    ConnectGuarded(decimal_, &QLineEdit::textChanged, this, [this] {
        if (changeAction_)
            changeAction_();
    });
}

void DecimalHexRow::TextToBytes() {
    const std::string text = decimal_->text().toStdString();
    if (edits_.size() == 4) {
        std::array<std::string, 4> texts;
        TextToByteEdits4(text, texts);
        ShowTexts<4>(texts, edits_);
    } else if (edits_.size() == 8) {
        std::array<std::string, 8> texts;
        TextToByteEdits8(text, texts);
        ShowTexts<8>(texts, edits_);
    }
}

void DecimalHexRow::BytesToText() {
    std::string text;
    if (edits_.size() == 4)
        ByteEditsToText4(EditTexts<4>(edits_), text);
    else if (edits_.size() == 8)
        ByteEditsToText8(EditTexts<8>(edits_), text);
    else
        return;
    const QString shown = QString::fromStdString(text);
    // Setting the same text again is no change for the edit, yet the bytes
    // must still follow the text.
    if (decimal_->text() == shown) {
        if (changeAction_)
            changeAction_();
    } else {
        decimal_->setText(shown);
    }
    // A number wider than its field shows from its start.
    if (!decimal_->hasFocus())
        decimal_->setCursorPosition(0);
}

std::vector<uint8_t> DecimalHexRow::Bytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve(edits_.size());
    for (const ByteEdit* edit : edits_)
        bytes.push_back(edit->Value());
    return bytes;
}

void DecimalHexRow::ShowBytes(const std::vector<uint8_t>& bytes) {
    for (size_t i = 0; i < edits_.size(); ++i)
        edits_[i]->SetValue(i < bytes.size() ? bytes[i] : 0);
}

std::vector<ByteEdit*> DecimalHexRow::BuildByteEdits(QWidget* parent, const QStringList& names,
                                                     const QString& what, int x, int y, int pitch) {
    for (int column = 0; column < 4; ++column) {
        auto* label = new QLabel(ColumnLabels[column], parent);
        label->setAlignment(Qt::AlignCenter);
        label->setGeometry(x + column * pitch, y, pitch, LabelHeight);
    }
    std::vector<ByteEdit*> edits;
    for (int i = 0; i < names.size(); ++i) {
        auto* edit = new ByteEdit(parent);
        edit->setObjectName(names[i]);
        if (edit->width() > pitch - 2)
            edit->setFixedWidth(pitch - 2);
        edit->move(x + (i % 4) * pitch + (pitch - edit->width()) / 2, y + LabelHeight + (i / 4) * RowPitch);
        edit->setAccessibleName(QString("%1 byte %2, bits %3").arg(what).arg(i + 1).arg(ColumnLabels[i % 4]));
        edits.push_back(edit);
    }
    return edits;
}

int DecimalHexRow::ByteEditsHeight(int rows) {
    return LabelHeight + rows * RowPitch;
}
