#pragma once

#include <QSlider>

// A vertical track bar with its minimum at the top, as the device's level
// controls are drawn. Its position changing, whoever moves it, emits Change.
class TrackBar : public QSlider {
    Q_OBJECT
public:
    TrackBar(int minimum, int maximum, int pageSize, int tickFrequency, int position,
             QWidget* parent = nullptr);

    int Position() const { return value(); }
    void SetPosition(int position) { setValue(position); }

signals:
    void Change(int position);
};
