#pragma once

#include "DeviceRig.h"
#include "DisplayStrip.h"
#include "RecordingHooks.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// What a panel with a file list (loudness, DRC) needs around it in a test:
// the simulated device, a start directory of its own, the strip labels it
// reads and writes (automatic Fs detection, comments) and the recorded hooks.
struct FilePanelRig {
    // Writes a file into the start directory.
    void Put(const QString& name, const QByteArray& content) {
        QFile file(QDir(folder.path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir folder;
    DeviceRig rig;
    QLabel autoDetect{"OFF"};
    QLabel comments{"Initialized OK"};
    DisplayStrip strip = [this] {
        DisplayStrip s;
        s.AutoDetectStatusLabel = &autoDetect;
        s.HelpfulCommentsLabel = &comments;
        return s;
    }();
    RecordingHooks hooks{rig};
};
