#pragma once

// The main window as the block panels see it: records each call in one
// timeline with the device writes made before it, and can run the panels'
// own refresh steps where the window would run all of them.

#include "DeviceRig.h"
#include "MainWindowHooks.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class RecordingHooks : public IMainWindowHooks {
public:
    explicit RecordingHooks(DeviceRig& rig) : rig_(rig) {}

    void RefreshAll() override {
        Note("RefreshAll");
        if (onRefresh)
            onRefresh();
    }
    void AdjustToSampleRateMode() override {
        Note("AdjustToSampleRateMode");
        if (onAdjust)
            onAdjust();
    }
    void StopFsPoll() override { Note("StopFsPoll"); }
    void ResumeFsPoll() override { Note("ResumeFsPoll"); }
    void RestoreStartDirectory() override { Note("RestoreStartDirectory"); }
    void OpenDocument(const std::string& fileName) override { Note("document: " + fileName); }
    void ShowMessage(const std::string& text) override { Note("message: " + text); }
    void ShowPanel(QWidget*) override { Note("ShowPanel"); }
    void UpdateGainIndicators() override { Note("UpdateGainIndicators"); }

    // Everything since the last call: hook calls and device writes, in order.
    std::vector<std::string> Take() {
        Flush();
        return std::exchange(timeline_, {});
    }

    // Adds an entry of the test's own, in order with the rest.
    void Note(const std::string& entry) {
        Flush();
        timeline_.push_back(entry);
    }

    std::function<void()> onRefresh;
    std::function<void()> onAdjust;

private:
    void Flush() {
        for (std::string& write : rig_.TakeWrites())
            timeline_.push_back(std::move(write));
    }

    DeviceRig& rig_;
    std::vector<std::string> timeline_;
};
