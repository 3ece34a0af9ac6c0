#include "TrackBar.h"

TrackBar::TrackBar(int minimum, int maximum, int pageSize, int tickFrequency, int position, QWidget* parent)
    : QSlider(Qt::Vertical, parent) {
    setRange(minimum, maximum);
    setSingleStep(1);
    setPageStep(pageSize);
    setTickInterval(tickFrequency);
    setTickPosition(QSlider::TicksBothSides);
    // The minimum sits at the top; the keys and the wheel follow the picture,
    // so "up" moves the thumb up, towards the minimum.
    setInvertedAppearance(true);
    setInvertedControls(true);
    // The style draws the ticks a shade darker than the window colour, which
    // on a navy panel would hide them; a light window colour keeps them seen.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(210, 230, 255));
    setPalette(colours);
    setValue(position);
    connect(this, &QSlider::valueChanged, this, &TrackBar::Change);
}
