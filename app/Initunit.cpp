#include "Initunit.h"

#include "I2cunit.h"
#include "Mainunit.h"
#include "Workingunit.h"

TInitForm::TInitForm(TMainForm& main, TI2CForm& transport, TWorkingForm& working) {
    setObjectName("InitForm");
    working.show();
    transport.OpenAdapter();
    main.ResyncFromDevice();
    main.RefreshAll();
    working.close();
    main.RestoreStartDirectory();
    main.ResumeFsPoll();
}
