#pragma once

#include <string>
#include <vector>

class IMainWindowHooks;
class QComboBox;

// One kind of data file the panels list from the start directory: the
// wildcard its names match (without regard to case) and the message shown
// when none does.
struct DataFileKind {
    const char* pattern;     // "*.EQ46XX"
    const char* noneMessage; // "No EQ (*.EQ46XX) Files Exist"
};

// The list of one kind of data file, as a block model holds it: at most 200
// names in the order the directory returns them, then sorted without regard
// to case and upper-cased. Plain data, no Qt.
class TDataFileList {
public:
    explicit TDataFileList(DataFileKind kind) : kind_(kind) {}

    // Rebuilds the list from `folder`.
    void Scan(const std::string& folder);
    const std::vector<std::string>& Names() const { return names_; }
    const DataFileKind& Kind() const { return kind_; }

private:
    DataFileKind kind_;
    std::vector<std::string> names_;
};

// Puts a freshly scanned list into its combo box, the same way for every
// panel: when the list is empty the user is told so in a message box (the
// application title as caption) and the combo keeps the items it had;
// otherwise the list becomes the items. Either way the first item, if there
// is one, is selected. Setting the items runs no handler.
void FillDataFileCombo(QComboBox& combo, const TDataFileList& list, IMainWindowHooks& hooks);

// The file a LOAD button opens: the combo's text in the start directory, by
// its exact name, else the one file whose name matches without regard to
// case (the list shows names upper-cased while the files keep their case).
std::string ChosenDataFile(const QComboBox& combo, const std::string& folder);
