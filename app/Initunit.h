#pragma once

#include <QWidget>

class TI2CForm;
class TMainForm;
class TWorkingForm;

// The start-up window. It is never shown: creating it runs the initial
// device sequence, with the busy window up, before the event loop starts.
class TInitForm : public QWidget {
    Q_OBJECT
public:
    TInitForm(TMainForm& main, TI2CForm& transport, TWorkingForm& working);
};
