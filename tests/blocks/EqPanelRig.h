#pragma once

#include "Dataclocksunit.h"
#include "DeviceRig.h"
#include "DisplayStrip.h"
#include "EqPanel.h"
#include "Equnit.h"
#include "RecordingHooks.h"

#include <QFile>
#include <QLabel>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

// The equaliser panel on its own against the simulated device: the display
// strip labels it writes, a start directory of its own, and the hooks it
// calls on the main window, recorded.
struct EqPanelRig {
    // Writes a file into the start directory and returns its path.
    QString WriteFile(const QString& name, const std::string& content) {
        QFile file(startDir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write(content.data(), static_cast<qint64>(content.size()));
        return startDir.filePath(name);
    }
    // The device runs at `hertz` from now on, as the clocks have read it.
    void SetRate(int hertz) {
        rig.device->SetSampleRate(hertz);
        clocks.GetRateText();
        rig.device->TakeCalls();
    }

    QTemporaryDir startDir;
    DeviceRig rig;
    TDataClocks clocks{rig.table, rig.bus};
    TEQ eq{rig.table};
    QLabel eqName{"NONE"}, fs{"----"}, comment{"Initialized OK"};
    DisplayStrip strip = [this] {
        DisplayStrip s;
        s.LabelBiquadUnits = &eqName;
        s.LabelFsUnits = &fs;
        s.HelpfulCommentsLabel = &comment;
        return s;
    }();
    RecordingHooks hooks{rig};
    TEqPanel panel{rig.table, eq, clocks, strip, hooks, startDir.path()};
};
