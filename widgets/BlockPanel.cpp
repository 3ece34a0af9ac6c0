#include "BlockPanel.h"

#include "Accessibility.h"
#include "Look.h"
#include "SkinColours.h"

#include <QLabel>

BlockPanel::BlockPanel(const QString& objectName, const QString& title, QWidget* parent)
    : QFrame(parent), title_(new QLabel(title, this)) {
    EnableAccessibleClicks();
    setObjectName(objectName);
    setFixedSize(Width, Height);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, SkinColours::Navy);
    colours.setColor(QPalette::WindowText, SkinColours::WindowText);
    setPalette(colours);

    title_->setObjectName(objectName + "Title");
    title_->setGeometry(0, 0, Width, TitleHeight);
    title_->setAlignment(Qt::AlignCenter);
    QFont font = title_->font();
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 1.25);
    else
        font.setPixelSize(font.pixelSize() * 5 / 4);
    title_->setFont(font);
    const QColor yellow = SkinColours::Title;
    SetTextColour(title_, Rgb{static_cast<uint8_t>(yellow.red()), static_cast<uint8_t>(yellow.green()),
                              static_cast<uint8_t>(yellow.blue())});
}
