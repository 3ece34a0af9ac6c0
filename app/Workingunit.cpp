#include "Workingunit.h"

#include "Look.h"
#include "SkinColours.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

TWorkingForm::TWorkingForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      workingLabel_(new QLabel("WORKING", this)) {
    setObjectName("WorkingForm");
    setWindowTitle("WORKING");
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, SkinColours::Navy);
    setPalette(colours);

    workingLabel_->setObjectName("WorkingLabel");
    workingLabel_->setAlignment(Qt::AlignCenter);
    QFont font = workingLabel_->font();
    font.setBold(true);
    font.setPointSize(32);
    font.setLetterSpacing(QFont::PercentageSpacing, 112);
    workingLabel_->setFont(font);
    SetTextColour(workingLabel_, Rgb{255, 214, 10});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 28, 40, 28);
    layout->addWidget(workingLabel_);
}

void TWorkingForm::ShowNow() {
    show();
    raise();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
}

void TWorkingForm::setVisible(bool visible) {
    if (visible && !isVisible()) {
        adjustSize();
        // With its native window made, the frame is known and can be centred.
        create();
        CentreOnScreen(this);
    }
    QWidget::setVisible(visible);
}
